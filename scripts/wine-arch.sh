#!/usr/bin/env bash
# Prints the Windows flavour that Wine can run on this machine: win32 where
# the kernel runs 32-bit Linux programs (and so Wine's 32-bit loader), win64
# where it was built without that support and only 64-bit Wine starts.
# The product ships as the 32-bit exe; the 64-bit build of the same sources
# stands in for it under Wine only on kernels of the second kind.
set -euo pipefail

# The 32-bit dynamic loader (installed with wine32) asks the kernel exactly
# that question, without starting anything of Wine outside the sandbox.
if /lib/ld-linux.so.2 --version >/dev/null 2>&1; then
  echo win32
else
  echo win64
fi
