#!/usr/bin/env bash
# Starts the real notarium with a document under a virtual display, with launch-bench as its small
# window manager, and measures from outside what a person waits for (bench/LaunchBench.cpp): the first window, the
# title with the file name, painted and answering, the longest unanswered ping and peak memory.
#
#   scripts/launch-bench.sh [BUILD] [--runs N]
#
# BUILD is a Release build folder with notarium and launch-bench (default build-bench). It covers
# a document of one empty note and bench/out/large.nmd (made by scripts/bench.sh), next to `cat` of
# each file for scale. Needs xvfb (the Debian package).
set -euo pipefail
cd "$(dirname "$0")/.."

build=build-bench
runs=5
while [ $# -gt 0 ]; do
  case "$1" in
    --runs) runs="$2"; shift 2 ;;
    *) build="$1"; shift ;;
  esac
done
command -v Xvfb >/dev/null || { echo "launch-bench needs Xvfb (apt-get install xvfb)" >&2; exit 2; }
[ -x "$build/notarium" ] && [ -x "$build/bench/launch-bench" ] \
  || { echo "build notarium and launch-bench in $build first" >&2; exit 2; }

work=$(mktemp -d)
display_pid=""
cleanup() {
  [ -n "$display_pid" ] && kill "$display_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# A free display number.
number=90
while [ -e "/tmp/.X$number-lock" ] || [ -e "/tmp/.X11-unix/X$number" ]; do number=$((number + 1)); done
Xvfb ":$number" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
display_pid=$!
export DISPLAY=":$number"
for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X$number" ] && break; sleep 0.05; done
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 0700 "$XDG_RUNTIME_DIR"

# One empty note: the document node, the paper folder and one memo with no text.
empty="$work/empty.nmd"
printf 'Notarium Data File\r\nVersion 1.10\r\n\r\n::CurrentNode::\r\n1\r\n\r\n::Bookmarks::\r\nnil\r\n\r\n::Page::\r\n0\r\nempty\r\n4\r\n4\r\nTRUE\r\nbegin{{\r\n}}end\r\n\r\n::Page::\r\n1\r\nnote\r\n1\r\n1\r\nFALSE\r\nbegin{{\r\n}}end\r\n\r\n::Page::\r\n0\r\nPaper Folder\r\n0\r\n0\r\nTRUE\r\nbegin{{\r\n}}end\r\n' >"$empty"

for file in "$empty" bench/out/large.nmd; do
  [ -s "$file" ] || { echo "== $file is missing (scripts/bench.sh makes it)"; continue; }
  echo "== $(basename "$file"): $(stat -c %s "$file") bytes, best and median of $runs warm starts"
  "$build/bench/launch-bench" --runs "$runs" "$PWD/$build/notarium" "$(realpath "$file")"
  start=$(date +%s%N); cat "$file" >/dev/null; end=$(date +%s%N)
  printf '%-40s %7.1f ms\n' "cat of the file, for scale" "$(echo "($end - $start) / 1000000" | bc -l)"
done
