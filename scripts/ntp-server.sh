#!/usr/bin/env bash
# Runs a command beside a real NTP server: chronyd, answering SNTP on
# 127.0.0.123 inside the sandbox's loopback-only network namespace.
#
#   scripts/ntp-server.sh <command...>
#
# Meant to run inside scripts/sandbox.sh; started outside it, it starts the
# sandbox itself first. chronyd runs with -x, so it never touches this
# machine's clock, with a configuration of its own (no command port, its pid
# file and log under build/chrony), and is stopped when the command ends,
# whatever happens. Only the end-to-end tests of the SNTP route ask that
# address; the others find no server there.
set -euo pipefail

readonly self=$(readlink -f "${BASH_SOURCE[0]}")
readonly scripts=$(dirname "$self")
readonly repo=$(dirname "$scripts")
readonly address=127.0.0.123
readonly startup_timeout_s=10

if (($# == 0)); then
  echo "usage: scripts/ntp-server.sh <command...>" >&2
  exit 2
fi
if [[ ${LTS_SANDBOX_NETNS:-} != ready ]]; then
  exec "$scripts/sandbox.sh" "$self" "$@"
fi
# sandbox.sh checked this already; checked again because a server started
# outside the namespace would answer the whole network.
if ip -o link | awk -F': ' '{ sub(/@.*/, "", $2); if ($2 != "lo") bad = 1 } END { exit !bad }'; then
  echo "ntp-server.sh: refusing to run outside a loopback-only network namespace" >&2
  exit 3
fi
command -v chronyd >/dev/null || { echo "ntp-server.sh: chronyd not found (scripts/install-deps.sh)" >&2; exit 1; }

readonly state=$repo/build/chrony
mkdir -p "$state"
cat >"$state/chrony.conf" <<EOF
bindaddress $address
port 123
allow 127.0.0.0/8
local stratum 10
cmdport 0
bindcmdaddress /
pidfile $state/chronyd.pid
EOF

chronyd_pid=
command_pid=
stop() {
  local rc=$?
  [[ -n $command_pid ]] && kill -TERM "$command_pid" 2>/dev/null
  if [[ -n $chronyd_pid ]]; then
    kill "$chronyd_pid" 2>/dev/null || true
    wait "$chronyd_pid" 2>/dev/null || true
  fi
  exit "$rc"
}
trap stop EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# -n keeps it in the foreground of its own job, so that its process id is
# the one to stop; -u root, since the namespace's files are root's.
chronyd -x -n -u root -f "$state/chrony.conf" >"$state/chronyd.log" 2>&1 &
chronyd_pid=$!
for ((waited = 0; waited < startup_timeout_s * 10; ++waited)); do
  ss -Huln "src $address:123" | grep -q . && break
  kill -0 "$chronyd_pid" 2>/dev/null || break
  sleep 0.1
done
if ! ss -Huln "src $address:123" | grep -q .; then
  echo "ntp-server.sh: chronyd did not start listening on $address:123" >&2
  cat "$state/chronyd.log" >&2
  exit 1
fi

set +e
"$@" <&0 &
command_pid=$!
wait "$command_pid"
rc=$?
command_pid=
set -e
exit "$rc"
