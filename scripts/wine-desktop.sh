#!/usr/bin/env bash
# Runs a Windows exe on a Wine virtual desktop that has a taskbar with a
# notification area, so that tray icons really get added (and can be checked).
#
#   scripts/wine-desktop.sh <exe> [args...]
#
# Meant to run inside scripts/sandbox.sh; started outside it, it starts the
# sandbox itself first. The exe's stdout/stderr go to this terminal and its
# exit code (modulo 256, as for any Unix process) becomes this script's.
# When the exe ends, every other Wine process of the prefix is ended too,
# including the desktop and anything the exe started and left behind.
#
# Environment: LTS_DESKTOP_SIZE (default 800x600).
#
# How: `wine explorer /desktop=NAME,WxH prog.exe` would start prog on such a
# desktop, but then wine returns explorer's exit code, not prog's. Instead the
# prefix is told (HKCU\Software\Wine\AppDefaults\<exe>\Explorer, "Desktop")
# to put this exe on the desktop NAME for the time of the run, the desktop is
# started beforehand, and the exe runs as a plain `wine exe` with its own
# console and exit code. Processes it starts with CreateProcess inherit that
# desktop.
set -euo pipefail

readonly self=$(readlink -f "${BASH_SOURCE[0]}")
readonly scripts=$(dirname "$self")
readonly desktop=lts-e2e
readonly size=${LTS_DESKTOP_SIZE:-800x600}
readonly startup_timeout_s=60

if (($# == 0)); then
  echo "usage: scripts/wine-desktop.sh <exe> [args...]" >&2
  exit 2
fi

if [[ ${LTS_SANDBOX_NETNS:-} != ready ]]; then
  exec "$scripts/sandbox.sh" "$self" "$@"
fi
# sandbox.sh checked this already; checked again because this script is the
# one that starts the exe, and a wrongly set marker must not get past it.
if ip -o link | awk -F': ' '{ sub(/@.*/, "", $2); if ($2 != "lo") bad = 1 } END { exit !bad }'; then
  echo "wine-desktop.sh: refusing to run outside a loopback-only network namespace" >&2
  exit 3
fi
[[ -n ${WINEPREFIX:-} && -n ${DISPLAY:-} ]] ||
  { echo "wine-desktop.sh: WINEPREFIX/DISPLAY not set (run via scripts/sandbox.sh)" >&2; exit 1; }

exe=$1
shift
[[ -f $exe ]] || { echo "wine-desktop.sh: no such file: $exe" >&2; exit 2; }

app_key=
exe_pid=

# Ends the desktop and everything left on it, and unties the exe from the
# desktop again, so that a plain `wine <exe>` later behaves as it always did.
# Only the value is removed: the key may hold other per-exe settings.
end_wine() {
  local rc=$?
  wineserver -k 2>/dev/null || true
  [[ -n $exe_pid ]] && wait "$exe_pid" 2>/dev/null
  if [[ -n $app_key ]]; then
    wine reg delete "$app_key" /v Desktop /f >/dev/null 2>&1 || true
  fi
  wineserver -w 2>/dev/null || true
  exit "$rc"
}
trap end_wine EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

register_desktop() {
  app_key="HKCU\\Software\\Wine\\AppDefaults\\$(basename "$exe")\\Explorer"
  printf '%s\n' \
    "[HKEY_CURRENT_USER\\Software\\Wine\\AppDefaults\\$(basename "$exe")\\Explorer]" \
    "\"Desktop\"=\"$desktop\"" '' \
    '[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops]' \
    "\"$desktop\"=\"$size\"" | "$scripts/wine-reg-import.sh"
}

# The desktop's taskbar comes up a moment after its first process. Started
# first, it is practically always there before the exe runs; e2e_main.cpp
# still waits for it, as the desktop's X window shows a little before it.
start_desktop() {
  wine explorer "/desktop=$desktop,$size" >/dev/null 2>&1 &
  timeout "$startup_timeout_s" xdotool search --sync --name "^$desktop - " >/dev/null ||
    { echo "wine-desktop.sh: the virtual desktop did not appear" >&2; exit 1; }
}

register_desktop
start_desktop

# Background and wait, so that a signal ends the run at once (see sandbox.sh).
set +e
wine "$exe" "$@" <&0 &
exe_pid=$!
wait "$exe_pid"
rc=$?
exe_pid=
set -e
exit "$rc"
