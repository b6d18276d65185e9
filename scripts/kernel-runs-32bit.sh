#!/usr/bin/env bash
# Exits 0 where the kernel starts 32-bit x86 programs, 1 where it does not
# (a kernel built without that support). It asks by starting one: a static
# i386 program of 96 bytes that only exits, so nothing needs to be installed
# first, unlike the 32-bit loader, which comes with the i386 libraries.
set -euo pipefail

exe=$(mktemp)
trap 'rm -f "$exe"' EXIT
# A 52-byte ELF header, one program header: the whole file loaded read and
# execute at 0x08048000, and the code at its entry 0x08048054:
# mov ebx, 0; mov eax, 1 (exit); int 0x80.
{
  printf '%b' '\x7fELF\x01\x01\x01' '\x00\x00\x00\x00\x00\x00\x00\x00\x00' # 32-bit, LSB
  printf '%b' '\x02\x00' '\x03\x00' '\x01\x00\x00\x00'                   # executable, i386
  printf '%b' '\x54\x80\x04\x08' '\x34\x00\x00\x00' '\x00\x00\x00\x00'   # entry, phoff, shoff
  printf '%b' '\x00\x00\x00\x00' '\x34\x00' '\x20\x00' '\x01\x00'         # flags, sizes, 1 phdr
  printf '%b' '\x00\x00' '\x00\x00' '\x00\x00'                             # no sections
  printf '%b' '\x01\x00\x00\x00' '\x00\x00\x00\x00'                       # PT_LOAD, offset 0
  printf '%b' '\x00\x80\x04\x08' '\x00\x80\x04\x08'                       # vaddr, paddr
  printf '%b' '\x60\x00\x00\x00' '\x60\x00\x00\x00'                       # filesz, memsz: 96
  printf '%b' '\x05\x00\x00\x00' '\x00\x10\x00\x00'                       # R+X, align
  printf '%b' '\xbb\x00\x00\x00\x00' '\xb8\x01\x00\x00\x00' '\xcd\x80'     # the code
} >"$exe"
chmod +x "$exe"
"$exe" 2>/dev/null || exit 1
