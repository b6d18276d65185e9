#!/usr/bin/env bash
# Prints the Windows flavour that Wine runs on this machine: win32 where the
# kernel starts 32-bit programs and the 32-bit Wine (wine32) is installed,
# win64 elsewhere: a kernel without 32-bit support, or a set-up that could not
# install wine32 (scripts/install-deps.sh then falls back to 64-bit Wine).
# The product ships as the 32-bit exe; the 64-bit build of the same sources
# stands in for it under Wine only on machines of the second kind.
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# Debian's 32-bit Wine loader, the one its wine script prefers when present.
readonly wine32_loader=/usr/lib/wine/wine

if [[ -x $wine32_loader ]] && "$repo/scripts/kernel-runs-32bit.sh"; then
  echo win32
else
  echo win64
fi
