#!/usr/bin/env bash
# Installs everything the build and the tests need on a bare Debian 12 machine.
# Runs as root and non-interactively (CI, fresh developer machines). When all of
# it is already there it returns within a second: apt-get update is slow and
# needs the network, so it only runs when something is actually missing.
set -euo pipefail

if [[ $(id -u) -ne 0 ]]; then
  echo "install-deps.sh: must run as root" >&2
  exit 1
fi

export DEBIAN_FRONTEND=noninteractive

packages=(
  cmake ninja-build g++ libgtest-dev libgmock-dev googletest librapidcheck-dev
  g++-mingw-w64-i686 mingw-w64-i686-dev g++-mingw-w64-x86-64 mingw-w64-x86-64-dev
  wine wine64
  xvfb xdotool x11-utils imagemagick
  nftables iproute2 util-linux
  locales fonts-wqy-zenhei fonts-wqy-microhei
)

is_installed() {
  [[ $(dpkg-query -W -f='${db:Status-Abbrev}' "$1" 2>/dev/null) == ii* ]]
}

# wine32 is the only i386 package, and of use only where the kernel can start
# 32-bit programs at all (the same question scripts/wine-arch.sh asks).
runs_32bit=0
if /lib/ld-linux.so.2 --version >/dev/null 2>&1; then
  runs_32bit=1
fi
((runs_32bit)) && packages+=(wine32:i386)

missing=()
for p in "${packages[@]}"; do
  is_installed "$p" || missing+=("$p")
done

need_update=0
if ((runs_32bit)) && ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
  need_update=1
fi

if ((${#missing[@]})); then
  echo "install-deps.sh: installing ${missing[*]}"
  need_update=1
fi

if ((need_update)); then
  apt-get update -q
fi
if ((${#missing[@]})); then
  # Recommends would drag in a full desktop stack with wine; none of it is used.
  apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# Wine reads the Chinese locale from the Unix one: without a generated
# zh_CN.UTF-8 the tests would silently run with code page 1252.
if ! locale -a 2>/dev/null | grep -qix 'zh_CN\.utf-\?8'; then
  if grep -q '^# *zh_CN.UTF-8 UTF-8' /etc/locale.gen; then
    sed -i 's/^# *\(zh_CN.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  elif ! grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen; then
    echo 'zh_CN.UTF-8 UTF-8' >>/etc/locale.gen
  fi
  locale-gen
fi
