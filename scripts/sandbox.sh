#!/usr/bin/env bash
# The only way the project starts Wine (and so the product).
#
#   scripts/sandbox.sh [--display] <command...>
#
# Runs <command> inside a private network namespace that has nothing but
# loopback, with a display, a 32-bit Chinese Wine prefix and the environment
# the end-to-end tests expect. The product probes its server (by default a LAN
# address) twice a second; on these machines not one packet may leave
# 127.0.0.0/8, so the namespace is not optional and is checked, not assumed.
#
# --display   use the caller's X display ($DISPLAY) instead of a private Xvfb,
#             to watch a run. Only local (unix socket) displays work: TCP
#             displays are unreachable from inside the namespace.
#
# Environment:
#   LTS_WINEPREFIX  prefix to use (default <repo>/build/wine-prefix-<arch>,
#                   arch as scripts/wine-arch.sh prints it); created on first
#                   use, reused afterwards.
#   LTS_WINEDEBUG   WINEDEBUG for the command (default -all).
#   LTS_WINEARCH    win32 or win64 (default: what scripts/wine-arch.sh prints),
#                   to run the 64-bit build where the 32-bit one runs too.
#
# Exit code: the command's; 3 when the network is not loopback-only; 4 when
# a packet went to an address outside 127.0.0.0/8; 2 for usage errors; 1 when
# the sandbox itself could not be set up.
set -euo pipefail

readonly self=$(readlink -f "${BASH_SOURCE[0]}")
readonly repo=$(dirname "$(dirname "$self")")
readonly marker=LTS_SANDBOX_NETNS

die() {
  echo "sandbox.sh: $*" >&2
  exit 1
}

# shellcheck source=scripts/sandboxed.sh
source "$(dirname "$self")/sandboxed.sh"

use_real_display=0
if [[ ${1:-} == --display ]]; then
  use_real_display=1
  shift
fi
if (($# == 0)); then
  echo "usage: scripts/sandbox.sh [--display] <command...>" >&2
  exit 2
fi

# The marker says how far we are: unset in the first pass, "1" once inside
# the new namespace, "ready" for commands run by a finished sandbox. It is
# only a hint: the interface check below is what counts, every time.

# Called from within a sandbox: it is all set up already, and a second Xvfb,
# prefix lock and wineserver -k would only get in the way (or deadlock).
if [[ ${!marker:-} == ready ]]; then
  only_loopback_or_refuse sandbox.sh
  exec "$@"
fi

# First pass: enter a fresh namespace.
if [[ ${!marker:-} != 1 ]]; then
  command -v unshare >/dev/null || die "unshare not found (scripts/install-deps.sh)"
  args=()
  ((use_real_display)) && args+=(--display)
  export "$marker=1"
  # No --fork: the sandbox keeps this process id, so a signal meant for it
  # (Ctrl-C, a CI time-out) reaches the tear-down below. unshare --fork would
  # ignore SIGTERM itself and leave the child running.
  exec unshare --net "$self" "${args[@]}" "$@"
fi

only_loopback_or_refuse sandbox.sh
ip link set lo up

# 127.0.0.9 plays a server that never answers (the probe waits its full time
# out), 127.0.0.10 a host that is down behind a router (an ICMP error at once),
# 127.0.0.11 a server that answers the echo but not SNTP (the question waits
# its full time). Whatever leaves for an address outside 127.0.0.0/8 is
# counted, and a count above 0 fails the run at its end.
# Deleted first in case the namespace was not a fresh one.
nft delete table ip lts_sandbox 2>/dev/null || true
nft -f - <<'EOF'
table ip lts_sandbox {
  counter egress {}
  chain in {
    type filter hook input priority 0; policy accept;
    ip daddr 127.0.0.9 icmp type echo-request drop
    ip daddr 127.0.0.10 icmp type echo-request reject with icmp type host-unreachable
    ip daddr 127.0.0.11 udp dport 123 drop
  }
  chain out {
    type filter hook output priority 0; policy accept;
    ip daddr != 127.0.0.0/8 counter name egress
  }
}
EOF

egress_packets() {
  nft list counter ip lts_sandbox egress | awk '$1 == "packets" { print $2 }'
}

xvfb_pid=
command_pid=
prefix_lock_fd=
cleanup() {
  local rc=$?
  # Only set while the command runs, i.e. when a signal cut it short.
  [[ -n $command_pid ]] && kill -TERM "$command_pid" 2>/dev/null
  # wineserver -k ends every Wine process of the prefix, including a virtual
  # desktop's explorer that would otherwise outlive the command (and a wine
  # that the command waits for, so that it can finish).
  if [[ -n ${WINEPREFIX:-} && -d ${WINEPREFIX:-} ]]; then
    wineserver -k 2>/dev/null || true
    [[ -n $command_pid ]] && wait "$command_pid" 2>/dev/null
    wineserver -w 2>/dev/null || true
  fi
  if [[ -n $xvfb_pid ]]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
  local left
  left=$(egress_packets)
  if [[ $left != 0 ]]; then
    echo "sandbox.sh: ${left:-an unknown number of} packets went to addresses outside 127.0.0.0/8" >&2
    rc=4
  fi
  exit "$rc"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

start_xvfb() {
  local fifo display
  fifo=$(mktemp -u /tmp/lts-xvfb.XXXXXX)
  mkfifo "$fifo"
  # -displayfd lets Xvfb pick a free display number itself (no race with other
  # sandboxes) and tells us which one once it accepts connections.
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fifo" \
    >/tmp/lts-xvfb.$$.log 2>&1 &
  xvfb_pid=$!
  if ! read -r -t 30 display <"$fifo"; then
    rm -f "$fifo"
    cat /tmp/lts-xvfb.$$.log >&2 || true
    die "Xvfb did not start"
  fi
  rm -f "$fifo" /tmp/lts-xvfb.$$.log
  export DISPLAY=":$display"
}

if ((use_real_display)) && [[ -n ${DISPLAY:-} ]]; then
  :
else
  start_xvfb
fi

WINEARCH=${LTS_WINEARCH:-$("$repo/scripts/wine-arch.sh")}
export WINEARCH
export WINEPREFIX=${LTS_WINEPREFIX:-$repo/build/wine-prefix-$WINEARCH}
[[ $WINEARCH == win64 ]] && export PATH="$repo/scripts/wine64:$PATH"
export LANG=zh_CN.UTF-8
export LC_ALL=zh_CN.UTF-8
export WINEDEBUG=-all
# winemenubuilder would write menu entries and file associations into the
# host's home; mono/gecko would pop up install dialogs nobody can click.
readonly quiet_overrides="winemenubuilder.exe=d;mscoree=;mshtml="

locale -a 2>/dev/null | grep -qix 'zh_CN\.utf-\?8' ||
  die "locale zh_CN.UTF-8 missing (scripts/install-deps.sh)"

# One run at a time per prefix: two runs would share one wineserver, and the
# tear-down of one would kill the other's processes.
mkdir -p "$(dirname "$WINEPREFIX")"
exec {prefix_lock_fd}>"$WINEPREFIX.lock"
flock "$prefix_lock_fd"

# A wineserver left over from an earlier run (or started outside any sandbox)
# would host this run's processes next to ones in another namespace.
if [[ -d $WINEPREFIX ]]; then
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
fi

WINEDLLOVERRIDES=$quiet_overrides "$repo/scripts/wine-prefix.sh" ||
  die "could not make the Wine prefix $WINEPREFIX"

export WINEDEBUG=${LTS_WINEDEBUG:--all}
# net.exe=n: a test net.exe copied into system32 runs instead of Wine's
# built-in one, which does not implement "net time"; schtasks.exe=n the same
# for the stand-in schtasks.exe, as Wine's drops a task's run level and
# actions.
export WINEDLLOVERRIDES="net.exe=n;schtasks.exe=n;$quiet_overrides"
export "$marker=ready"

run_then_exit "$@"
