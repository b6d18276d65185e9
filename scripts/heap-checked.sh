#!/usr/bin/env bash
# Runs a Windows exe under Wine's heap checker: tail and free checking, so
# that a write into freed memory fails HeapValidate and is reported on stderr.
#
#   scripts/heap-checked.sh <exe> [args...]
#
# Meant to run inside scripts/sandbox.sh; started outside it, it starts the
# sandbox itself first. The checker is set for the exe's file name in the
# prefix and stays set: it only affects programs of that name.
set -euo pipefail

readonly self=$(readlink -f "${BASH_SOURCE[0]}")
readonly scripts=$(dirname "$self")

if (($# == 0)); then
  echo "usage: scripts/heap-checked.sh <exe> [args...]" >&2
  exit 2
fi
if [[ ${LTS_SANDBOX_NETNS:-} != ready ]]; then
  exec "$scripts/sandbox.sh" "$self" "$@"
fi

exe=$1
shift
[[ -f $exe ]] || { echo "heap-checked.sh: no such file: $exe" >&2; exit 2; }

# 0x830: tail checking, free checking, validate all.
printf '%s\n' \
  "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Image File Execution Options\\$(basename "$exe")]" \
  '"GlobalFlag"=dword:00000830' | "$scripts/wine-reg-import.sh"

WINEDEBUG=err+heap exec wine "$exe" "$@"
