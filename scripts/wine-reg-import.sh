#!/usr/bin/env bash
# Imports registry lines, given as UTF-8 on stdin without the header, into the
# Wine prefix of the sandbox it runs in.
#
# Version 5 .reg files are UTF-16, so Chinese names survive; REGEDIT4 would be
# read in the ANSI code page (936 here).
set -euo pipefail

reg=$(mktemp /tmp/lts-import.XXXXXX.reg)
trap 'rm -f "$reg"' EXIT
{
  printf '\xff\xfe'
  { printf 'Windows Registry Editor Version 5.00\n\n'; cat; } |
    sed 's/$/\r/' | iconv -f UTF-8 -t UTF-16LE
} >"$reg"
wine regedit /S "Z:${reg//\//\\}"
