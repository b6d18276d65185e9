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
# The profile functions of a Chinese Windows write GBK with CRLF; so does this.
printf '[网络配置]\r\n服务器路径=127.0.0.1\r\n[系统配置]\r\n开机自动运行=0\r\n校时间隔=30\r\n' |
  iconv -f UTF-8 -t GBK >"$run_dir/配置.INI"

if [[ -n ${DISPLAY:-} ]]; then
  exec "$repo/scripts/sandbox.sh" --display "$repo/scripts/wine-desktop.sh" "$run_dir/LanTimeSync.exe"
fi
screenshot=$run_dir/screenshot.png
"$repo/scripts/sandbox.sh" "$repo/scripts/show-and-shoot.sh" "$run_dir/LanTimeSync.exe" "$screenshot"
echo "No DISPLAY: the program ran on a private X server; its screenshot is $screenshot"
