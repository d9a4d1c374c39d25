#!/usr/bin/env bash
# The scripts' view of the machine: which Windows targets it can execute and
# which target a program file was built for, and wine-run refusing a 32-bit
# program where 32-bit code cannot run, before it starts anything.
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# A program file with nothing but the headers that name its processor.
pe_file() {
  local path=$1 machine=$2
  python3 - "$path" "$machine" <<'PY'
import struct, sys
data = bytearray(256)
data[0:2] = b"MZ"
struct.pack_into("<I", data, 0x3C, 0x80)
data[0x80:0x84] = b"PE\0\0"
struct.pack_into("<H", data, 0x84, int(sys.argv[2], 16))
open(sys.argv[1], "wb").write(data)
PY
}
pe_file "$tmp/x86.exe" 14c
pe_file "$tmp/x64.exe" 8664
pe_file "$tmp/arm.exe" aa64
printf 'not a program' >"$tmp/text.exe"

# shellcheck source=scripts/arch.sh
source "$root/scripts/arch.sh"
for c in "x86.exe x86" "x64.exe x64"; do
  set -- $c
  got=$(translit_pe_arch "$tmp/$1") || got="(failed)"
  [ "$got" = "$2" ] || fail "translit_pe_arch $1 gave $got, not $2"
done
for f in arm.exe text.exe missing.exe; do
  if got=$(translit_pe_arch "$tmp/$f"); then fail "translit_pe_arch $f gave $got instead of failing"; fi
done

# Pretending: no 32-bit code, with the reason saying that it is pretended.
if (TRANSLIT_NO_X86=1 translit_runs_x86); then fail "TRANSLIT_NO_X86=1 still reports 32-bit code"; fi
reason=$(TRANSLIT_NO_X86=1 bash -c "source '$root/scripts/arch.sh'; translit_runs_x86; translit_no_x86_reason")
[[ $reason == *TRANSLIT_NO_X86=1* ]] || fail "the pretended reason is '$reason'"

# The probe agrees with Wine's own 32-bit loader wherever that is installed:
# it starts exactly where 32-bit code runs.
if [ -x /usr/lib/wine/wine ]; then
  if /usr/lib/wine/wine --version >/dev/null 2>&1; then loader=yes; else loader=no; fi
  if translit_runs_x86; then probe=yes; else probe=no; fi
  [ "$probe" = "$loader" ] || fail "the probe says $probe, Wine's 32-bit loader says $loader"
fi

# wine-run refuses a 32-bit program at once, naming the 64-bit build.
out=$(TRANSLIT_NO_X86=1 TRANSLIT_BUILD="$tmp/build" "$root/scripts/wine-run" "$tmp/x86.exe" 2>&1)
status=$?
[ $status -eq 1 ] || fail "wine-run ended with $status for a 32-bit program without 32-bit code"
[[ $out == *"32-bit program"*"build/win64"* ]] || fail "wine-run said: $out"
[ ! -e "$tmp/build/wineprefix" ] || fail "wine-run made a 32-bit prefix it cannot use"

[ $failures -eq 0 ] && echo "arch: all checks passed"
exit $((failures > 0))
