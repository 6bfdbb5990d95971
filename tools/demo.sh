#!/usr/bin/env bash
# Plays a backup and a failing restore with the simulator and films the
# screen around the progress window: screenshots and animated GIFs.
#   tools/demo.sh BIN_FOLDER OUT_FOLDER   (run by ./dev.sh demo, inside the Wine session)
set -euo pipefail
bin=$1
out=$2

sim() { "$WINELOADER" "$bin/kestrel-sim.exe" "$@"; }

# The window is centred; film a box around the screen's centre.
read -r width height < <(xdpyinfo | awk '/dimensions:/ { split($2, d, "x"); print d[1], d[2] }')
box_w=420 box_h=300
crop="${box_w}x${box_h}+$(( (width - box_w) / 2 ))+$(( (height - box_h) / 2 ))"

rm -rf "$out"
mkdir -p "$out/frames"
play() {  # job, extra demo arguments...
  local job=$1 n=0 pid
  shift
  sim reset >/dev/null
  sim demo "$job" --interval 120 --timeout 3 "$@" >"$out/$job.log" 2>&1 &
  pid=$!
  while kill -0 "$pid" 2>/dev/null; do
    import -window root -crop "$crop" +repage "$out/frames/$job-$(printf %03d "$n").png" 2>/dev/null || true
    n=$((n + 1))
    sleep 0.1
  done
  wait "$pid" || true
  local frames=("$out/frames/$job"-*.png)
  if [ ${#frames[@]} -gt 0 ] && [ -f "${frames[0]}" ]; then
    convert -delay 10 -loop 0 "${frames[@]}" "$out/$job.gif"
    cp "${frames[$(( ${#frames[@]} / 3 ))]}" "$out/$job-progress.png"
    cp "${frames[$(( ${#frames[@]} - 4 > 0 ? ${#frames[@]} - 4 : 0 ))]}" "$out/$job-done.png"
  fi
  printf '%s: %s frames\n' "$job" "$n"
  sed 's/^/  /' "$out/$job.log"
}

play backup
play restore --fail
echo "screenshots and GIFs in $out"
