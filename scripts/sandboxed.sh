# Sourced by the scripts that start something inside scripts/sandbox.sh's
# network namespace: the check that it has nothing but loopback, and the way
# each of them runs its command.

non_loopback_links() {
  ip -o link | awk -F': ' '{ sub(/@.*/, "", $2); if ($2 != "lo") print $2 }'
}

# Exits 3 where the namespace has more than loopback: what runs here would
# reach the network. $1 names the caller in the message.
only_loopback_or_refuse() {
  local others
  others=$(non_loopback_links)
  if [[ -n $others ]]; then
    echo "$1: refusing to run: network interfaces other than lo are" \
      "present ($(echo $others | tr ' ' ',')). Wine and the product may only" \
      "run in a loopback-only network namespace." >&2
    exit 3
  fi
}

# Runs the command and exits with its code. In the background with wait,
# because bash runs a trap only after the foreground command has ended: a
# SIGTERM would otherwise wait for the tests. The caller's trap ends
# $command_pid while it is set. stdin is passed on explicitly (a background
# job would get /dev/null), so `scripts/sandbox.sh bash` gives an
# interactive shell in the sandbox.
run_then_exit() {
  local rc
  set +e
  "$@" <&0 &
  command_pid=$!
  wait "$command_pid"
  rc=$?
  command_pid=
  set -e
  exit "$rc"
}
