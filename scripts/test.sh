#!/usr/bin/env bash
# Builds everything and runs every test: the native unit tests, the checks of
# the exe itself and of the build under an MSVC front end, then the end-to-end
# tests and the benchmark under Wine in the loopback-only sandbox. This is
# what CI runs.
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$repo"

scripts/install-deps.sh
scripts/build.sh all
# The shipped exe is the 32-bit one; Wine runs the flavour this machine can.
wine_build=build/$(scripts/wine-arch.sh)

ctest --test-dir build/native --output-on-failure
scripts/check-exe.sh build/win32/bin/LanTimeSync.exe
# The 64-bit build, made where Wine needs it, is held to its own limits.
if [[ -f build/win64/bin/LanTimeSync.exe ]]; then
  scripts/check-exe.sh --64 build/win64/bin/LanTimeSync.exe
fi
# What Visual Studio would make of the build: every source through the MSVC
# front end, no option cl.exe would refuse.
scripts/msvc-check.sh

scripts/sandbox.sh scripts/heap-checked.sh "$wine_build/bin/echo_heap_test.exe"
scripts/sandbox.sh scripts/heap-checked.sh "$wine_build/bin/command_test.exe"
scripts/sandbox.sh scripts/heap-checked.sh "$wine_build/bin/sntp_heap_test.exe"
scripts/sandbox.sh scripts/heap-checked.sh "$wine_build/bin/logon_task_test.exe"
# chronyd and the scripted SNTP servers beside them, for the SNTP route.
scripts/sandbox.sh scripts/sntp-servers.sh scripts/wine-desktop.sh "$wine_build/bin/e2e_tests.exe"
# As an ordinary user, whose file permissions Wine keeps: the program
# installed in a protected folder, and in a folder of the user's own.
scripts/sandbox.sh scripts/as-user.sh --protect 'C:\Program Files\LanTimeSync' \
  --put "$wine_build/bin/LanTimeSyncForTests.exe" --user-folder 'C:\e2e' \
  scripts/wine-desktop.sh "$wine_build/bin/protected_folder_test.exe"
# The installer's story installs into the prefix and needs administrator
# rights: as root, in a prefix of its own, so that no other test finds the
# program installed.
LTS_WINEPREFIX="$repo/build/wine-prefix-installer-$(scripts/wine-arch.sh)" \
  scripts/sandbox.sh scripts/wine-desktop.sh "$wine_build/bin/installer_test.exe"
# The window as the tests last saw it, for anyone to look at.
if [[ -f $wine_build/window.bmp ]]; then
  convert "$wine_build/window.bmp" "$wine_build/window.png"
  echo "screenshot of the window: $wine_build/window.png"
fi

scripts/sandbox.sh scripts/wine-desktop.sh "$wine_build/bin/window_responsiveness_bench.exe"
# What the program costs at rest against a floor program that does only its
# idle work; figures, not a test.
scripts/sandbox.sh scripts/wine-desktop.sh "$wine_build/bin/idle_cost_bench.exe"
