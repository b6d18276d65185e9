#!/usr/bin/env bash
# Checks that the product is what users get: a small PE GUI program that
# needs nothing but Windows' own DLLs, 32-bit as shipped.
#
#   scripts/check-exe.sh <path to LanTimeSync.exe>
#   scripts/check-exe.sh --64 <path to the 64-bit LanTimeSync.exe>
set -euo pipefail

# Every byte is loaded at each start, and on a system that cannot map the
# exe's sections from the file, such as Wine for 512-byte file steps, each
# byte is a byte of every running copy's memory. The limits leave room for a
# feature; a library pulled in by one careless include (the C++ file system
# library alone adds 850 KiB, printf's formatting or a threads library tens)
# crosses them.
bits=32 magic=010b max_bytes=520000 objdump=i686-w64-mingw32-objdump
if [[ ${1:-} == --64 ]]; then
  bits=64 magic=020b max_bytes=450000 objdump=x86_64-w64-mingw32-objdump
  shift
fi
readonly bits magic max_bytes objdump
exe=${1:?usage: scripts/check-exe.sh [--64] <exe>}
headers=$("$objdump" -p "$exe")
failed=0
fail() {
  echo "check-exe.sh: $*" >&2
  failed=1
}

grep -q "^Magic[[:space:]]*$magic" <<<"$headers" || fail "not a $bits-bit image"
grep -q '^Subsystem[[:space:]]*00000002' <<<"$headers" || fail "not a Windows GUI program"

size=$(stat -c %s "$exe")
((size <= max_bytes)) || fail "$size bytes, more than $max_bytes: what pulled in so much?"

system_dlls='^(advapi32|comctl32|gdi32|iphlpapi|kernel32|msvcrt|ole32|oleaut32|shell32|user32|ws2_32)\.dll$'
while read -r dll; do
  grep -qiE "$system_dlls" <<<"$dll" || fail "imports $dll, which Windows does not provide"
done < <(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$headers")

((failed == 0)) &&
  echo "check-exe.sh: $exe is a $bits-bit GUI program importing only system DLLs, $size bytes" \
    "(at most $max_bytes)"
exit "$failed"
