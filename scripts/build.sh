#!/usr/bin/env bash
# Builds the native unit tests (build/native) and the Windows programs
# (build/win32): the product, the end-to-end tests and the benchmark.
#
#   scripts/build.sh [native|win32|all]     (default: all)
#
# LTS_WARNINGS_AS_ERRORS=OFF relaxes -Werror for local experiments; CI keeps it.
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
what=${1:-all}
werror=${LTS_WARNINGS_AS_ERRORS:-ON}

configure_and_build() {
  local dir=$1
  shift
  cmake -S "$repo" -B "$repo/build/$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DLTS_WARNINGS_AS_ERRORS="$werror" "$@" >/dev/null
  cmake --build "$repo/build/$dir"
}

case $what in
  native | all) configure_and_build native ;;&
  win32 | all) configure_and_build win32 -DCMAKE_TOOLCHAIN_FILE="$repo/cmake/mingw-i686.cmake" ;;
  native | win32 | all) ;;
  *)
    echo "usage: scripts/build.sh [native|win32|all]" >&2
    exit 2
    ;;
esac
