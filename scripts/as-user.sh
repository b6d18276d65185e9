#!/usr/bin/env bash
# Runs a command as an ordinary Unix user under Wine, where file permissions
# hold: as root, Wine lets every process write every file, so no folder is
# ever protected. Here a folder such as Program Files really is: the user's
# Windows programs can read it, but neither write nor delete in it.
#
#   scripts/as-user.sh [--protect FOLDER [--put FILE]...] [--user-folder FOLDER]...
#                      <command...>
#
# Meant to run inside scripts/sandbox.sh; started outside it, it starts the
# sandbox itself first, so that all of this happens in its loopback-only
# network namespace.
#
# FOLDER is a Windows path on C: ('C:\Program Files\LanTimeSync').
# --protect      FOLDER, made if missing, and every folder above it up to C:\
#                are owned by root: FOLDER 555, the ones above 755, what is in
#                FOLDER root's too (files 644), as Program Files is on Windows.
# --put FILE     FILE (a Unix path) is copied into the protected folder, whose
#                earlier content is removed first; repeat for more files.
#                Without --put, the folder keeps what it holds, for instance
#                what an installer run by an earlier call put there.
# --user-folder  FOLDER, made if missing, belongs to the user: a folder made
#                under C:\ by that user, as Windows lets any signed-in user.
# Each run first gives back to the user what an earlier run protected, so a
# run without --protect finds the prefix as the user made it.
#
# The command runs as the user, in this folder, with the sandbox's display,
# language and Wine settings (the stand-in net.exe and schtasks.exe run in
# place of Wine's own once copied into system32, which is the user's), and:
#   WINEPREFIX            the user's own prefix
#   LTS_PROTECTED_FOLDER  FOLDER as given to --protect (unset without it)
# It may be scripts/wine-desktop.sh <exe> to run a test exe with a taskbar.
#
# Environment:
#   LTS_TEST_USER        the user (default lts-user), made with useradd -m
#                        when missing.
#   LTS_USER_WINEPREFIX  that user's prefix (default <repo>/build/
#                        wine-prefix-<arch>-<user>), made by the user on first
#                        use as the sandbox makes its own, and kept for later
#                        runs.
#
# Exit code: the command's; 2 for usage errors; 1 when the user or the prefix
# could not be set up.
set -euo pipefail

readonly self=$(readlink -f "${BASH_SOURCE[0]}")
readonly scripts=$(dirname "$self")
readonly repo=$(dirname "$scripts")

die() {
  echo "as-user.sh: $*" >&2
  exit 1
}
usage() {
  echo "usage: scripts/as-user.sh [--protect FOLDER [--put FILE]...] [--user-folder FOLDER]..." \
    "<command...>" >&2
  exit 2
}

if [[ ${LTS_SANDBOX_NETNS:-} != ready ]]; then
  exec "$scripts/sandbox.sh" "$self" "$@"
fi
# shellcheck source=scripts/sandboxed.sh
source "$scripts/sandboxed.sh"
only_loopback_or_refuse as-user.sh
((EUID == 0)) || die "must start as root, to make the user and protect the folder"

protect=
puts=()
user_folders=()
while (($#)); do
  case $1 in
    --protect) (($# >= 2)) || usage; protect=$2; shift 2 ;;
    --put) (($# >= 2)) || usage; puts+=("$(readlink -f "$2")"); shift 2 ;;
    --user-folder) (($# >= 2)) || usage; user_folders+=("$2"); shift 2 ;;
    --) shift; break ;;
    -*) usage ;;
    *) break ;;
  esac
done
(($#)) || usage
((${#puts[@]} == 0)) || [[ -n $protect ]] || usage

readonly user=${LTS_TEST_USER:-lts-user}
readonly prefix=${LTS_USER_WINEPREFIX:-$repo/build/wine-prefix-$WINEARCH-$user}
readonly drive_c=$prefix/drive_c
readonly protected_list=$prefix/.lts-protected

# C:\a\b as the Unix path in the prefix; only drive C is the prefix's own,
# and C:\ itself is no folder to hand over.
unix_path_of() {
  local windows=$1
  [[ ${windows:0:3} == [Cc]:\\ ]] || die "not a folder on C:\\: $windows"
  windows=${windows:3}
  windows=${windows%\\}
  [[ -n $windows && ! $windows =~ (^|\\)\.\.?(\\|$) ]] || die "not a folder under C:\\: $1"
  echo "$drive_c/${windows//\\//}"
}

as_user() {
  runuser -u "$user" -- env -u XDG_RUNTIME_DIR PATH="$PATH" WINEPREFIX="$prefix" "$@"
}

id "$user" >/dev/null 2>&1 || useradd -m "$user" || die "could not make the user $user"

# One run at a time per prefix, as for the sandbox's own.
mkdir -p "$(dirname "$prefix")"
exec {lock_fd}>"$prefix.lock"
flock "$lock_fd"

command_pid=
cleanup() {
  local rc=$?
  # Only set while the command runs, i.e. when a signal cut it short.
  [[ -n $command_pid ]] && kill -TERM "$command_pid" 2>/dev/null
  as_user wineserver -k 2>/dev/null || true
  as_user wineserver -w 2>/dev/null || true
  exit "$rc"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# What an earlier run protected, given back (a run cut short included: the
# list is written before the folders change hands): the folder with what it
# holds, then the folders above it.
if [[ -f $protected_list ]]; then
  mapfile -t chain <"$protected_list"
  if [[ -d ${chain[0]} ]]; then
    chown -R "$user:" "${chain[0]}"
    chmod -R u+w "${chain[0]}"
  fi
  for above in "${chain[@]:1}"; do
    [[ -d $above ]] && chown "$user:" "$above" && chmod 755 "$above"
  done
  rm -f "$protected_list"
fi
mkdir -p "$prefix"
chown "$user:" "$prefix"
as_user "$scripts/wine-prefix.sh" || die "could not make the Wine prefix $prefix"

for folder in "${user_folders[@]}"; do
  folder=$(unix_path_of "$folder")
  mkdir -p "$folder"
  chown "$user:" "$folder"
done

if [[ -n $protect ]]; then
  folder=$(unix_path_of "$protect")
  as_user mkdir -p "$folder"
  if ((${#puts[@]})); then
    find "$folder" -mindepth 1 -delete
    cp -- "${puts[@]}" "$folder/"
  fi
  # The folder itself, then the ones above it up to drive_c.
  chain=("$folder")
  above=$folder
  while [[ $above != "$drive_c" ]]; do
    above=$(dirname "$above")
    chain+=("$above")
  done
  printf '%s\n' "${chain[@]}" >"$protected_list"
  chown -R root:root "$folder"
  find "$folder" -mindepth 1 -type f -exec chmod 644 {} +
  chmod 555 "$folder"
  for above in "${chain[@]:1}"; do
    chown root:root "$above"
    chmod 755 "$above"
  done
  export LTS_PROTECTED_FOLDER=$protect
fi

run_then_exit as_user "$@"
