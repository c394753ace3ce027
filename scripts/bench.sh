#!/usr/bin/env bash
# Builds the Release benchmark tools, generates a large data file once and measures reading and
# writing it, next to plain `cat` and `cp` of the same file for scale, then the window in-process
# and the start of the real program from outside (scripts/launch-bench.sh).
#
#   scripts/bench.sh [--runs N] [--regenerate] [-- notarium-gen options]
#
# The file is bench/out/large.nmd (git-ignored); generator options after "--" (for example
# --nodes 20000 --bytes 10M --seed 7) only matter when the file is (re)generated.
set -euo pipefail
cd "$(dirname "$0")/.."

runs=5
regenerate=0
gen_args=()
while [ $# -gt 0 ]; do
  case "$1" in
    --runs) runs="$2"; shift 2 ;;
    --regenerate) regenerate=1; shift ;;
    --) shift; gen_args=("$@"); break ;;
    *) echo "usage: scripts/bench.sh [--runs N] [--regenerate] [-- notarium-gen options]" >&2; exit 2 ;;
  esac
done

build=build-bench
out=bench/out
file="$out/large.nmd"

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DNOTARIUM_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" --target notarium-gen datafile-bench search-bench export-bench window-bench notarium-cli \
  notarium launch-bench

mkdir -p "$out"
if [ "$regenerate" -eq 1 ] || [ ! -s "$file" ]; then
  echo "== generating $file"
  "$build/bench/notarium-gen" "$file" "${gen_args[@]}"
fi

echo
echo "== datafile-bench (in-process, best of $runs)"
"$build/bench/datafile-bench" "$file" --runs "$runs"

echo
echo "== search-bench"
"$build/bench/search-bench" "$file"

echo
echo "== export-bench"
"$build/bench/export-bench" "$file"

echo
echo "== window-bench (offscreen)"
"$build/bench/window-bench" "$file" 2>/dev/null

echo
echo "== shell tools on the same file, for scale"
copy="$out/large.copy.nmd"
if command -v hyperfine >/dev/null 2>&1; then
  hyperfine --warmup 2 --runs "$runs" --style basic \
    "cat '$file' > /dev/null" \
    "cp '$file' '$copy'" \
    "$build/src/cli/notarium-cli check '$file'"
else
  # Without hyperfine: the best wall time of several runs, measured the same way for both.
  best_ms() {
    local best=""
    for _ in $(seq "$runs"); do
      local start end ms
      start=$(date +%s%N)
      bash -c "$1"
      end=$(date +%s%N)
      ms=$(( (end - start) / 1000000 ))
      if [ -z "$best" ] || [ "$ms" -lt "$best" ]; then best=$ms; fi
    done
    printf '%-50s best %6s ms of %s runs (hyperfine not installed; includes starting a shell)\n' "$1" "$best" "$runs"
  }
  best_ms "cat '$file' > /dev/null"
  best_ms "cp '$file' '$copy'"
fi
rm -f "$copy"

echo
echo "== launch-bench: the real program started with a document, seen from the display server"
if command -v Xvfb >/dev/null 2>&1; then
  scripts/launch-bench.sh "$build" --runs "$runs"
else
  echo "(Xvfb is not installed: apt-get install xvfb)"
fi
