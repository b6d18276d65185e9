#!/usr/bin/env bash
# Makes the Wine prefix $WINEPREFIX as the sandbox wants it, unless a run
# made it before: a Chinese Windows's fonts mapped to the WenQuanYi ones.
#
#   scripts/wine-prefix.sh
#
# Run by scripts/sandbox.sh for its own prefix, and by scripts/as-user.sh as
# the ordinary user for that user's, with the sandbox's environment
# (WINEPREFIX, WINEARCH, PATH, WINEDLLOVERRIDES). Wine cannot make a prefix
# it does not own: the folder is made (or left) by whoever may, and only what
# is in it is made anew here.
set -euo pipefail

readonly scripts=$(dirname "$(readlink -f "${BASH_SOURCE[0]}")")

die() {
  echo "wine-prefix.sh: $*" >&2
  exit 1
}

if ip -o link | awk -F': ' '{ sub(/@.*/, "", $2); if ($2 != "lo") bad = 1 } END { exit !bad }'; then
  die "refusing to run outside a loopback-only network namespace"
fi
[[ -n ${WINEPREFIX:-} ]] || die "WINEPREFIX not set"

# A Chinese Windows has these faces; Wine has none of them and would draw
# their text with a thin fallback that breaks some glyphs. Wine's own
# replacement table sends them to the installed WenQuanYi faces. Wine derives
# its user-interface (message) font from "MS Shell Dlg"; on a Chinese Windows
# that font is Microsoft YaHei UI, so the substitute says so.
map_chinese_fonts() {
  local face
  {
    echo '[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]'
    for face in SimSun 宋体 NSimSun 新宋体 SimHei 黑体; do
      echo "\"$face\"=\"WenQuanYi Zen Hei\""
    done
    for face in 'Microsoft YaHei' 'Microsoft YaHei UI' 微软雅黑; do
      echo "\"$face\"=\"WenQuanYi Micro Hei\""
    done
    echo
    echo '[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes]'
    echo '"MS Shell Dlg"="Microsoft YaHei UI"'
  } | "$scripts/wine-reg-import.sh"
}

# Named after the set-up it stands for: a prefix made by an older set-up
# has another stamp and is made anew.
readonly ready_stamp="$WINEPREFIX/.lts-prefix-ready-fonts"
[[ -f $ready_stamp ]] && exit 0

echo "wine-prefix.sh: creating Wine prefix $WINEPREFIX" >&2
started=$SECONDS
mkdir -p "$WINEPREFIX"
find "$WINEPREFIX" -mindepth 1 -delete
wineboot -i >/dev/null 2>&1 || die "wineboot -i failed"
# wineboot returns before the prefix's registry is flushed to disk; a prefix
# used (or killed) before that is half made.
wineserver -w
[[ -f $WINEPREFIX/system.reg && -d $WINEPREFIX/drive_c/windows/system32 ]] ||
  die "wineboot left an incomplete prefix"
map_chinese_fonts || die "could not map the Chinese fonts"
wineserver -w
touch "$ready_stamp"
echo "wine-prefix.sh: prefix ready in $((SECONDS - started)) s" >&2
