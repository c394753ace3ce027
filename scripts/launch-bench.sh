#!/usr/bin/env bash
# Starts the real notarium with a document under a virtual display, with launch-bench as its small
# window manager, and measures from outside what a person waits for (bench/LaunchBench.cpp): the first window, the
# title with the file name, painted and answering, the longest unanswered ping and peak memory.
#
#   scripts/launch-bench.sh [BUILD] [--runs N] [--openbox]
#
# launch-bench is the display's window manager, a minimal one without frames, because the answers
# to _NET_WM_PING reach the window manager alone. With --openbox the display gets openbox instead,
# as a desktop would have it; the bench then watches the windows but cannot see the answers.
# BUILD is a Release build folder with notarium and launch-bench (default build-bench). It covers
# a document of one empty note and bench/out/large.nmd (made by scripts/bench.sh), next to `cat` of
# each file for scale. Needs xvfb (the Debian package).
set -euo pipefail
cd "$(dirname "$0")/.."

build=build-bench
runs=5
openbox=0
while [ $# -gt 0 ]; do
  case "$1" in
    --runs) runs="$2"; shift 2 ;;
    --openbox) openbox=1; shift ;;
    *) build="$1"; shift ;;
  esac
done
command -v Xvfb >/dev/null || { echo "launch-bench needs Xvfb (apt-get install xvfb)" >&2; exit 2; }
[ -x "$build/notarium" ] && [ -x "$build/bench/launch-bench" ] \
  || { echo "build notarium and launch-bench in $build first" >&2; exit 2; }

work=$(mktemp -d)
display_pid=""
wm_pid=""
cleanup() {
  [ -n "$wm_pid" ] && kill "$wm_pid" 2>/dev/null || true
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
if [ "$openbox" = 1 ]; then
  command -v openbox >/dev/null || { echo "--openbox needs openbox (apt-get install openbox)" >&2; exit 2; }
  openbox >/dev/null 2>&1 &
  wm_pid=$!
  # openbox is ready once it lists its (empty) client list on the root window.
  if command -v xprop >/dev/null; then
    for _ in $(seq 100); do
      xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
      sleep 0.05
    done
  else
    sleep 1
  fi
fi

# One empty note: the document node, the paper folder and one memo with no text.
empty="$work/empty.nmd"
printf 'Notarium Data File\r\nVersion 1.10\r\n\r\n::CurrentNode::\r\n1\r\n\r\n::Bookmarks::\r\nnil\r\n\r\n::Page::\r\n0\r\nempty\r\n4\r\n4\r\nTRUE\r\nbegin{{\r\n}}end\r\n\r\n::Page::\r\n1\r\nnote\r\n1\r\n1\r\nFALSE\r\nbegin{{\r\n}}end\r\n\r\n::Page::\r\n0\r\nPaper Folder\r\n0\r\n0\r\nTRUE\r\nbegin{{\r\n}}end\r\n' >"$empty"

for file in "$empty" bench/out/large.nmd; do
  [ -s "$file" ] || { echo "== $file is missing (scripts/bench.sh makes it)"; continue; }
  echo "== $(basename "$file"): $(stat -c %s "$file") bytes, best and median of $runs warm starts"
  "$build/bench/launch-bench" --runs "$runs" "$(realpath "$build/notarium")" "$(realpath "$file")"
  start=$(date +%s%N); cat "$file" >/dev/null; end=$(date +%s%N)
  printf '%-40s %7.1f ms\n' "cat of the file, for scale" "$(echo "($end - $start) / 1000000" | bc -l)"
done
