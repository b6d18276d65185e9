#!/usr/bin/env bash
# Runs a command beside SNTP servers inside the sandbox's loopback-only
# network namespace: a real one, chronyd, on 127.0.0.123, and the scripted
# ones that break one rule each (tests/bad_sntp_servers.h, built by
# `scripts/build.sh native`).
#
#   scripts/sntp-servers.sh <command...>
#
# Meant to run inside scripts/sandbox.sh; started outside it, it starts the
# sandbox itself first. chronyd runs with -x, so it never touches this
# machine's clock, with a configuration of its own (no command port, its pid
# file and logs under build/sntp-servers). Both are stopped when the command ends,
# whatever happens. Only the end-to-end tests of the SNTP route ask these
# addresses; the others find no server on port 123.
set -euo pipefail

readonly self=$(readlink -f "${BASH_SOURCE[0]}")
readonly scripts=$(dirname "$self")
readonly repo=$(dirname "$scripts")
readonly address=127.0.0.123
readonly startup_timeout_s=10

if (($# == 0)); then
  echo "usage: scripts/sntp-servers.sh <command...>" >&2
  exit 2
fi
if [[ ${LTS_SANDBOX_NETNS:-} != ready ]]; then
  exec "$scripts/sandbox.sh" "$self" "$@"
fi
# sandbox.sh checked this already; checked again because a server started
# outside the namespace would answer the whole network.
# shellcheck source=scripts/sandboxed.sh
source "$scripts/sandboxed.sh"
only_loopback_or_refuse sntp-servers.sh
command -v chronyd >/dev/null || { echo "sntp-servers.sh: chronyd not found (scripts/install-deps.sh)" >&2; exit 1; }
readonly bad_servers=$repo/build/native/bin/bad_sntp_server
[[ -x $bad_servers ]] || { echo "sntp-servers.sh: $bad_servers missing (scripts/build.sh native)" >&2; exit 1; }

readonly state=$repo/build/sntp-servers
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
bad_servers_pid=
command_pid=
stop() {
  local rc=$? pid
  [[ -n $command_pid ]] && kill -TERM "$command_pid" 2>/dev/null
  for pid in $chronyd_pid $bad_servers_pid; do
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
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
  echo "sntp-servers.sh: chronyd did not start listening on $address:123" >&2
  cat "$state/chronyd.log" >&2
  exit 1
fi

"$bad_servers" >"$state/bad_sntp_server.log" 2>&1 &
bad_servers_pid=$!
for ((waited = 0; waited < startup_timeout_s * 10; ++waited)); do
  grep -q listening "$state/bad_sntp_server.log" && break
  kill -0 "$bad_servers_pid" 2>/dev/null || break
  sleep 0.1
done
if ! grep -q listening "$state/bad_sntp_server.log"; then
  echo "sntp-servers.sh: the scripted SNTP servers did not start listening" >&2
  cat "$state/bad_sntp_server.log" >&2
  exit 1
fi

run_then_exit "$@"
