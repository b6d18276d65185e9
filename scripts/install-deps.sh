#!/usr/bin/env bash
# Installs everything the build and the tests need on a bare Debian 12 machine.
# Runs as root and non-interactively (CI, fresh developer machines). When all of
# it is already there it returns within a second: apt-get update is slow and
# needs the network, so it only runs when something is actually missing.
# Its last line says which Wine it set up (scripts/wine-arch.sh).
set -euo pipefail

if [[ $(id -u) -ne 0 ]]; then
  echo "install-deps.sh: must run as root" >&2
  exit 1
fi

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export DEBIAN_FRONTEND=noninteractive

packages=(
  cmake ninja-build g++ libgtest-dev libgmock-dev googletest librapidcheck-dev
  g++-mingw-w64-i686 mingw-w64-i686-dev g++-mingw-w64-x86-64 mingw-w64-x86-64-dev
  wine wine64
  clang-tools-14 lld-14 llvm-14
  wixl msitools
  xvfb xdotool x11-utils imagemagick
  nftables iproute2 util-linux
  locales fonts-wqy-zenhei fonts-wqy-microhei
)

is_installed() {
  [[ $(dpkg-query -W -f='${db:Status-Abbrev}' "$1" 2>/dev/null) == ii* ]]
}

apt_install() {
  # Recommends would drag in a full desktop stack with wine; none of it is used.
  apt-get install -y -q --no-install-recommends "$@"
}

missing=()
for p in "${packages[@]}"; do
  is_installed "$p" || missing+=("$p")
done

# wine32, the only i386 package, is of use only where the kernel starts 32-bit
# programs. It is installed on its own, and where it cannot be (its index
# unreadable, or lagging behind the amd64 one that its Multi-Arch: same
# libraries must match version for version), the Wine tests run the 64-bit
# build instead: scripts/wine-arch.sh says win64 without wine32.
kernel_runs_32bit=0
"$repo/scripts/kernel-runs-32bit.sh" && kernel_runs_32bit=1
want_wine32=0
((kernel_runs_32bit)) && ! is_installed wine32:i386 && want_wine32=1

if ((${#missing[@]} || want_wine32)); then
  added_i386=0
  if ((want_wine32)) && ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
    added_i386=1
  fi
  echo "install-deps.sh: installing ${missing[*]}$( ((want_wine32)) && echo ' wine32:i386')"
  # An index that cannot be read (a mirror in mid-sync) need not matter: the
  # others may hold all that is needed, and where they do not, apt-get install
  # fails with its own message.
  apt-get update -q || echo "install-deps.sh: apt-get update could not read every index; going on with those it read"
  ((${#missing[@]} == 0)) || apt_install "${missing[@]}"
  if ((want_wine32)) && ! apt_install wine32:i386 && ((added_i386)); then
    # Nothing of i386 is installed: without the architecture, later apt-get
    # updates on this machine do not stumble over its index either.
    dpkg --remove-architecture i386 || true
  fi
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

# chrony's chronyd is the NTP server of the end-to-end tests, which start it
# themselves inside the loopback-only namespace, with -x so that it never
# sets this machine's clock (scripts/sntp-servers.sh). Its package would start
# the service at once and at every boot: a policy-rc.d that refuses every
# start stands for the install (one already there is left as it is), and
# the service is disabled where systemd runs.
readonly policy_rc=/usr/sbin/policy-rc.d
made_policy_rc=0
remove_made_policy_rc() {
  ((made_policy_rc)) && rm -f "$policy_rc"
  made_policy_rc=0
}
if ! is_installed chrony; then
  if [[ ! -e $policy_rc ]]; then
    printf '#!/bin/sh\n# Made by install-deps.sh for the install of chrony.\nexit 101\n' >"$policy_rc"
    chmod 755 "$policy_rc"
    made_policy_rc=1
    trap remove_made_policy_rc EXIT
  fi
  echo "install-deps.sh: installing chrony without starting its service"
  apt_install chrony || { apt-get update -q || true; apt_install chrony; }
  remove_made_policy_rc
  if [[ -d /run/systemd/system ]]; then
    systemctl disable chrony.service >/dev/null 2>&1 || true
  fi
fi

if [[ $("$repo/scripts/wine-arch.sh") == win32 ]]; then
  echo "install-deps.sh: Wine: 32- and 64-bit (wine32, wine64); the Wine tests run the 32-bit build"
elif ((kernel_runs_32bit)); then
  echo "install-deps.sh: Wine: 64-bit only, as wine32:i386 could not be installed (above); the Wine tests fall back to the 64-bit build"
else
  echo "install-deps.sh: Wine: 64-bit only (wine64), as this kernel cannot start 32-bit programs; the Wine tests run the 64-bit build"
fi
