#!/usr/bin/env bash
# Inside the sandbox, on its private X server: starts a Windows program on the
# virtual desktop, waits until the screen shows the green of an answering
# server, saves a screenshot, and ends the program.
#
#   scripts/show-and-shoot.sh <exe> <screenshot.png>
set -euo pipefail

scripts=$(dirname "$(readlink -f "${BASH_SOURCE[0]}")")
exe=${1:?usage: show-and-shoot.sh <exe> <png>}
png=${2:?usage: show-and-shoot.sh <exe> <png>}
readonly timeout_s=60

"$scripts/wine-desktop.sh" "$exe" &
program=$!

# Share of the screen in pure green (#00FF00): the address box and captions.
green_share() {
  import -window root "$png" 2>/dev/null &&
    convert "$png" -fill black +opaque '#00FF00' -fill white -opaque '#00FF00' \
      -colorspace Gray -format '%[fx:mean]' info:
}

shown=0
for ((i = 0; i < timeout_s * 2; i++)); do
  share=$(green_share || echo 0)
  if awk -v s="$share" 'BEGIN { exit !(s > 0.005) }'; then
    shown=1
    break
  fi
  sleep 0.5
done

kill "$program" 2>/dev/null || true
wait "$program" 2>/dev/null || true
((shown)) || { echo "show-and-shoot.sh: the window did not turn green within ${timeout_s} s" >&2; exit 1; }
