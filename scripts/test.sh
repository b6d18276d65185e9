#!/usr/bin/env bash
# Builds everything and runs every test: the native unit tests, the checks of
# the exe itself, then the end-to-end tests and the benchmark under Wine in
# the loopback-only sandbox. This is what CI runs.
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$repo"

scripts/install-deps.sh
scripts/build.sh all

ctest --test-dir build/native --output-on-failure
scripts/check-exe.sh build/win32/bin/LanTimeSync.exe

scripts/sandbox.sh scripts/wine-desktop.sh build/win32/bin/e2e_tests.exe
# The window as the tests last saw it, for anyone to look at.
if [[ -f build/win32/window.bmp ]]; then
  convert build/win32/window.bmp build/win32/window.png
  echo "screenshot of the window: build/win32/window.png"
fi

scripts/sandbox.sh scripts/wine-desktop.sh build/win32/bin/timer1_blocking_bench.exe
