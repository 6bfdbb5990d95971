#!/usr/bin/env bash
# Reads the import tables and header flags of the built programs and DLLs
# (objdump -p) and checks how they bind: the engine and device libraries by
# ordinal only, the strings library by its three names, no MinGW runtime DLL,
# ASLR and DEP on every PE.
#   check-pe.sh OBJDUMP BINDIR
set -u
objdump=$1
bin=$2
failures=0
checks=0

fail() { printf 'FAIL %s\n' "$*"; failures=$((failures + 1)); }
pass() { checks=$((checks + 1)); }

# Import entries of one DLL: "ordinal <n>" or "name <symbol>", one per line.
imports_of() {  # file dll
  "$objdump" -p "$1" | awk -v dll="$2" '
    /DLL Name:/ { inside = (tolower($3) == tolower(dll)); next }
    inside && /^[ \t]*$/ { inside = 0 }
    inside && /^[ \t]*[0-9a-f]+[ \t]/ {
      if ($3 == "<none>") print "ordinal " $2; else print "name " $3
    }'
}

check_hardening() {  # file
  local f=$1 flags
  flags=$("$objdump" -p "$f" | awk '/DllCharacteristics/ { print $2 }')
  if (( (0x$flags & 0x40) && (0x$flags & 0x100) )); then pass; else fail "$f: DllCharacteristics $flags lacks DYNAMIC_BASE or NX_COMPAT"; fi
  if "$objdump" -p "$f" | grep 'DLL Name' | grep -qiE 'libstdc|libgcc|winpthread'; then
    fail "$f imports a MinGW runtime DLL"
  else
    pass
  fi
}

check_ordinal_only() {  # file dll allowed-ordinals...
  local f=$1 dll=$2 named entry ord
  shift 2
  named=$(imports_of "$f" "$dll" | grep -v '^ordinal ' || true)
  if [ -n "$named" ]; then fail "$f imports $dll by name: $named"; else pass; fi
  # 64-bit objdump pads ordinals with zeros.
  for entry in $(imports_of "$f" "$dll" | awk '$1 == "ordinal" { print $2 + 0 }'); do
    ord=" $entry "
    if [[ " $* " == *"$ord"* ]]; then pass; else fail "$f imports $dll ordinal $entry, which it does not export"; fi
  done
}

shopt -s nullglob
pes=("$bin"/*.exe "$bin"/*.dll)
[ ${#pes[@]} -gt 0 ] || { fail "no programs in $bin"; }
for f in "${pes[@]}"; do
  check_hardening "$f"
  check_ordinal_only "$f" Kestrel32.dll 2 4 5 6 8 9
  check_ordinal_only "$f" KestrelSDK.dll 2 3
done

animation=$bin/QuillonAnimations.exe
if [ -f "$animation" ]; then
  glossa=$(imports_of "$animation" Glossa.dll | sort | tr '\n' ' ')
  expected="name InitAPStringW name LanguageType name TerminateAPStringW "
  if [ "$glossa" = "$expected" ]; then pass; else fail "$animation imports from Glossa.dll: '$glossa', expected '$expected'"; fi
else
  fail "$animation is missing"
fi

echo "$checks passed, $failures failed"
[ "$failures" -eq 0 ]
