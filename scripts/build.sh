#!/usr/bin/env bash
# Builds the native unit tests (build/native) and the Windows programs
# (build/win32, or build/win64 for the 64-bit build): the product, its
# installer (bin/LanTimeSync.msi, made by wixl and msibuild), the end-to-end
# tests and the benchmark. The shipped installer is build/win32's, around the
# 32-bit exe; build/win64's holds the 64-bit exe, for the tests on a Wine
# that runs only 64-bit programs.
#
#   scripts/build.sh [native|win32|win64|wine|all]     (default: all)
#
# wine: the flavour that Wine runs on this machine (scripts/wine-arch.sh).
# all: native, win32, and win64 too where Wine needs it.
#
# LTS_WARNINGS_AS_ERRORS=OFF relaxes -Werror for local experiments; CI keeps it.
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
what=${1:-all}
wine_arch=$("$repo/scripts/wine-arch.sh")
[[ $what == wine ]] && what=$wine_arch
werror=${LTS_WARNINGS_AS_ERRORS:-ON}

configure_and_build() {
  local dir=$1
  shift
  cmake -S "$repo" -B "$repo/build/$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DLTS_WARNINGS_AS_ERRORS="$werror" "$@" >/dev/null
  cmake --build "$repo/build/$dir"
}

build_windows() {
  configure_and_build "$1" -DCMAKE_TOOLCHAIN_FILE="$repo/cmake/$2.cmake"
}

case $what in
  native) configure_and_build native ;;
  win32) build_windows win32 mingw-i686 ;;
  win64) build_windows win64 mingw-x86_64 ;;
  all)
    configure_and_build native
    build_windows win32 mingw-i686
    [[ $wine_arch == win32 ]] || build_windows win64 mingw-x86_64
    ;;
  *)
    echo "usage: scripts/build.sh [native|win32|win64|wine|all]" >&2
    exit 2
    ;;
esac
