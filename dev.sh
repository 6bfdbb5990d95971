#!/usr/bin/env bash
# ./dev.sh setup | build | test | demo | art
#   setup  install what the build and the tests need (Debian 12, as root)
#   build  configure and build: build/bin (32-bit, shipped) and build/x64/bin (64-bit, tested)
#   test   setup, build, then every test under a private Wine prefix and Xvfb display
#   demo   setup, build, then a backup and a restore driven by the simulator;
#          screenshots and an animated GIF go to out/demo/
#   art    regenerate the skin pictures and icons (animation/img, *.ico) and out/art/
#   run    CMD...  run a command inside the private Wine session (e.g. ctest -R agent)
# KESTREL_BUILD=dir puts the build (and its Wine prefix) somewhere other than build/.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
build=${KESTREL_BUILD:-$root/build}
x64_build=$build/x64
host_build=$build/host

log() { printf '== %s\n' "$*" >&2; }

# Debian packages: the MinGW-w64 cross compilers (posix threads) for the
# shipped 32-bit programs and for the 64-bit test build, 64-bit Wine, a
# virtual display, CMake, GoogleTest sources, ImageMagick for screenshots,
# cairo for the art generator, icoutils to check icons.
packages=(g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
          binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
          wine wine64 xvfb cmake make g++ pkg-config googletest imagemagick
          libcairo2-dev fonts-dejavu-core icoutils x11-utils)

as_root() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }

cmd_setup() {
  local missing=() p
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || missing+=("$p")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    log "installing: ${missing[*]}"
    as_root apt-get update -qq
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
  fi
}

configure() {  # dir toolchain
  [ -f "$1/CMakeCache.txt" ] || cmake -S "$root" -B "$1" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/$2.cmake" >/dev/null
}

cmd_build() {
  configure "$build" mingw-i686
  configure "$x64_build" mingw-x86_64
  cmake --build "$build" -j"$(nproc)"
  cmake --build "$x64_build" -j"$(nproc)"
  cmake -S "$root/tools/artgen" -B "$host_build" >/dev/null
  cmake --build "$host_build" -j"$(nproc)"
}

# --- the private Wine session -------------------------------------------
xvfb_pid=
wine=/usr/lib/wine/wine64
wine_env() {
  export WINEPREFIX=$build/wineprefix WINEARCH=win64 WINEDEBUG=-all WINELOADER=$wine
  export WINEDLLOVERRIDES="mscoree,mshtml="
}

start_display() {
  local n=91
  while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  export DISPLAY=":$n"
  local i
  for i in $(seq 100); do
    [ -e "/tmp/.X11-unix/X$n" ] && return 0
    sleep 0.05
  done
  log "Xvfb did not start on $DISPLAY"; return 1
}

# Settings of the private prefix; bump prefix_version when they change.
prefix_version=2
configure_prefix() {
  # No crash dialog: a crashing test must fail, not wait for a click.
  "$wine" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
  # Unmanaged X windows: with no window manager on the private display, Wine
  # would wait 2 s for one each time a visible window is hidden.
  "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
  wineserver -w
}

start_wine() {
  wine_env
  local marker=$WINEPREFIX/.kestrel-ready
  if [ ! -f "$marker" ]; then
    log "making the Wine prefix (once)"
    rm -rf "$WINEPREFIX"
    "$wine" wineboot -i >/dev/null 2>&1 || true
    wineserver -w
  fi
  if [ "$(cat "$marker" 2>/dev/null)" != "$prefix_version" ]; then
    configure_prefix
    echo "$prefix_version" >"$marker"
  fi
  # Keep one wineserver for the whole run and boot the session detached from
  # our output, so that no Wine service holds a pipe of the test runner open.
  wineserver -p
  setsid "$wine" wineboot </dev/null >/dev/null 2>&1 || true
}

stop_session() {
  if [ -n "${WINEPREFIX:-}" ]; then wineserver -k >/dev/null 2>&1 || true; fi
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; fi
}

cmd_test() {
  cmd_setup
  cmd_build
  trap stop_session EXIT
  start_display
  start_wine
  local rc=0
  ctest --test-dir "$host_build" --output-on-failure || rc=1
  ctest --test-dir "$x64_build" --output-on-failure -j2 || rc=1
  return $rc
}

cmd_demo() {
  cmd_setup
  cmd_build
  trap stop_session EXIT
  if [ -z "${DISPLAY:-}" ]; then start_display; fi
  start_wine
  mkdir -p "$root/out/demo"
  "$root/tools/demo.sh" "$x64_build/bin" "$root/out/demo"
}

cmd_run() {
  trap stop_session EXIT
  start_display
  start_wine
  "$@"
}

cmd_art() {
  cmake -S "$root/tools/artgen" -B "$host_build" >/dev/null
  cmake --build "$host_build" -j"$(nproc)" --target artgen
  "$host_build/artgen" "$root"
}

case "${1:-}" in
  setup) cmd_setup ;;
  build) cmd_setup; cmd_build ;;
  test)  cmd_test ;;
  demo)  cmd_demo ;;
  art)   cmd_art ;;
  run)   shift; cmd_run "$@" ;;
  *) sed -n '2,10p' "$0" | sed 's/^# \{0,1\}//'; exit 2 ;;
esac
