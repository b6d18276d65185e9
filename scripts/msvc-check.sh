#!/usr/bin/env bash
# Checks that the build takes an MSVC front end, as a Visual Studio user's
# CMake configures it: configures the project with clang-cl standing in for
# cl.exe (cmake/msvc-check/, over the mingw-w64 headers), compiles every
# translation unit and the resource script, and fails on
#   - any compile error,
#   - any option in the generated build files that cl.exe or link.exe would
#     refuse or ignore (clang-cl itself accepts GCC's quietly),
#   - any compile command without /utf-8, or without the static runtime.
# Nothing is linked: there is no MSVC runtime here. What this cannot see:
# the MSVC STL, cl.exe's own diagnostics and link.exe.
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$repo/build/msvc-check

cmake -S "$repo" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$repo/cmake/msvc-check/toolchain.cmake" \
  -DLTS_WARNINGS_AS_ERRORS=ON >/dev/null

# Every compile edge, with its rule and its per-target FLAGS, and every
# link edge's LINK_FLAGS, as "kind<TAB>output<TAB>flags".
edges=$(awk '
  /^build / {
    out = $2; sub(/:$/, "", out); rule = $3
    kind = rule ~ /^(C|CXX)_COMPILER__/ ? "compile" : rule ~ /^RC_COMPILER__/ ? "rc" : rule ~ /_LINKER__/ ? "link" : ""
    if (kind != "") printf "%s\t%s\t", kind, out
    next
  }
  kind != "" && /^  FLAGS = / && kind != "link" { sub(/^  FLAGS = /, ""); print; kind = "" }
  kind == "link" && /^  LINK_FLAGS = / { sub(/^  LINK_FLAGS = /, ""); print; kind = "" }
  kind != "" && /^$/ { print ""; kind = "" }
' "$build/build.ninja")

# Options of GCC and GNU ld: cl.exe refuses -W<word> (D8021) and ignores
# -f, -m, -O3, -s, -static, -std=; link.exe ignores the GNU ones (LNK4044).
# -Wall is refused too: cl.exe would read it as its own /Wall, every warning
# including those off by default.
readonly gnu_option='^-(W[a-z]|f[a-z]|m[a-z]|O[0-9sg]?$|s$|static|shared|std=|pedantic|pthread|l[a-z]|g$)'

failures=0
fail() {
  echo "msvc-check: $*" >&2
  failures=$((failures + 1))
}
stop_on_failures() {
  if ((failures)); then
    echo "msvc-check: FAILED ($failures problems)" >&2
    exit 1
  fi
}

compiles=0
resource_scripts=0
while IFS=$'\t' read -r kind out flags; do
  [[ -n $kind ]] || continue
  for option in $flags; do
    [[ $option =~ $gnu_option ]] && fail "$out: $option is a GCC option that cl.exe or link.exe would refuse or ignore"
  done
  case $kind in
    compile)
      compiles=$((compiles + 1))
      [[ " $flags " =~ \ [-/]utf-8\  ]] || fail "$out: compiled without /utf-8"
      [[ " $flags " =~ \ [-/]MT\  ]] || fail "$out: compiled without the static runtime (/MT)"
      ;;
    rc) resource_scripts=$((resource_scripts + 1)) ;;
  esac
done <<<"$edges"
((compiles > 0 && resource_scripts > 0)) ||
  fail "found $compiles compile commands and $resource_scripts resource scripts in $build/build.ninja"

# Before compiling for minutes what is wrong already.
stop_on_failures

# Compiles everything; the links are empty stand-ins (see the toolchain file).
if ! ninja -C "$build" -k 0 >"$build/compile.log"; then
  grep -v '^\[' "$build/compile.log" >&2
  fail "compile errors (above; all of it in $build/compile.log)"
fi

stop_on_failures
echo "msvc-check: $compiles sources and $resource_scripts resource script compile with the MSVC front end; no GCC option, /utf-8 and /MT everywhere"
