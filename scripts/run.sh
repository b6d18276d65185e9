#!/usr/bin/env bash
# Builds the program and starts it under Wine, in the loopback-only sandbox,
# from build/run/ with a 配置.INI that points at 127.0.0.1, so the address box
# turns green. With DISPLAY set the window appears there until it is closed;
# without one it runs on a private Xvfb and a screenshot is written.
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$repo/scripts/install-deps.sh"
"$repo/scripts/build.sh" wine

run_dir=$repo/build/run
rm -rf "$run_dir"
mkdir -p "$run_dir"
cp "$repo/build/$("$repo/scripts/wine-arch.sh")/bin/LanTimeSync.exe" "$run_dir/"
# The settings file as the program's first save writes it, from the one copy
# the end-to-end tests fill in too. The profile functions of a Chinese
# Windows write GBK with CRLF; so does this.
sed -e 's/<address>/127.0.0.1/' -e 's/<autostart>/0/' -e 's/<interval>/30/' -e 's/$/\r/' \
  "$repo/tests/e2e/settings_file.ini" | iconv -f UTF-8 -t GBK >"$run_dir/配置.INI"

if [[ -n ${DISPLAY:-} ]]; then
  exec "$repo/scripts/sandbox.sh" --display "$repo/scripts/wine-desktop.sh" "$run_dir/LanTimeSync.exe"
fi
screenshot=$run_dir/screenshot.png
"$repo/scripts/sandbox.sh" "$repo/scripts/show-and-shoot.sh" "$run_dir/LanTimeSync.exe" "$screenshot"
echo "No DISPLAY: the program ran on a private X server; its screenshot is $screenshot"
