#!/usr/bin/env bash
# Makes the installer package from installer/LanTimeSync.wxs.
#
#   installer/make-package.sh <x86|x64> <version> <exe> <actions dll> <icon> <package.msi>
#
# wixl (0.101, Debian 12) ignores the code page the source asks for and
# writes a table string that is not ASCII as empty, or crashes on it. So the
# source names the product, the publisher and the shortcut in ASCII, and
# msibuild gives them their Chinese names afterwards, in a database set to
# code page 936 (Simplified Chinese), which holds them.
set -euo pipefail

(($# == 6)) || { echo "usage: $0 <x86|x64> <version> <exe> <actions dll> <icon> <package.msi>" >&2; exit 2; }
arch=$1 version=$2 exe=$3 actions=$4 icon=$5 package=$6
source=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/LanTimeSync.wxs

readonly product_name=局域网时间同步软件
readonly publisher='LanTimeSync 开发组'
readonly newer_installed="这台电脑上已经装有更新版本的${product_name}，安装没有进行。"

# wixl takes source files only by paths relative to the .wxs.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$source" "$work/package.wxs"
cp "$exe" "$work/program.exe"
cp "$actions" "$work/actions.dll"
cp "$icon" "$work/app.ico"
(cd "$work" && wixl -a "$arch" -D Version="$version" -D ExeFile=program.exe \
  -D ActionsDll=actions.dll -D IconFile=app.ico -o package.msi package.wxs)

printf '\r\n\r\n936\t_ForceCodepage\r\n' >"$work/codepage.idt"
msibuild "$work/package.msi" -i "$work/codepage.idt"
msibuild "$work/package.msi" -q "UPDATE \`Property\` SET \`Value\`='$product_name' WHERE \`Property\`='ProductName'"
msibuild "$work/package.msi" -q "UPDATE \`Property\` SET \`Value\`='$publisher' WHERE \`Property\`='Manufacturer'"
msibuild "$work/package.msi" -q "UPDATE \`Shortcut\` SET \`Name\`='LTS|$product_name' WHERE \`Shortcut\`='StartMenu'"
msibuild "$work/package.msi" -q "UPDATE \`LaunchCondition\` SET \`Description\`='$newer_installed' WHERE \`Condition\`='NOT WIX_DOWNGRADE_DETECTED'"
mv "$work/package.msi" "$package"
