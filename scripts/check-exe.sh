#!/usr/bin/env bash
# Checks that the product is what users get: a small 32-bit PE GUI program
# that needs nothing but Windows' own DLLs.
#
#   scripts/check-exe.sh <path to LanTimeSync.exe>
set -euo pipefail

exe=${1:?usage: scripts/check-exe.sh <exe>}
# Twice today's size: a library pulled in by one careless include (the C++
# file system library alone adds 850 KiB) crosses it, a feature does not.
readonly max_bytes=$((1024 * 1024))
headers=$(i686-w64-mingw32-objdump -p "$exe")
failed=0
fail() {
  echo "check-exe.sh: $*" >&2
  failed=1
}

grep -q '^Magic[[:space:]]*010b' <<<"$headers" || fail "not a 32-bit (PE32) image"
grep -q '^Subsystem[[:space:]]*00000002' <<<"$headers" || fail "not a Windows GUI program"

size=$(stat -c %s "$exe")
((size <= max_bytes)) || fail "$size bytes, more than $max_bytes: what pulled in so much?"

system_dlls='^(advapi32|comctl32|gdi32|iphlpapi|kernel32|msvcrt|ole32|oleaut32|shell32|user32|ws2_32)\.dll$'
while read -r dll; do
  grep -qiE "$system_dlls" <<<"$dll" || fail "imports $dll, which Windows does not provide"
done < <(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$headers")

((failed == 0)) &&
  echo "check-exe.sh: $exe is a 32-bit GUI program importing only system DLLs, $size bytes"
exit "$failed"
