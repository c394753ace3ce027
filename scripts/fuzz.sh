#!/usr/bin/env bash
# Bounded libFuzzer run of every fuzz target (tests/fuzz/fuzz_<name>.cpp).
#
#   scripts/fuzz.sh [SECONDS] [--merge] [NAME...]
#
# Builds the targets with clang, libFuzzer, AddressSanitizer and UBSan in build-fuzz, then runs
# each one for SECONDS (default 60) on a scratch copy of tests/fuzz/corpus/<name>; the inputs it
# finds go to build-fuzz/work/<name>/new, never into the corpus. A crash, leak, timeout or
# out-of-memory input is copied into tests/fuzz/corpus/<name>/, where the normal test run replays
# it, and the script exits with status 1. With --merge, the new inputs that add coverage are merged
# into the corpus as well. NAME (for example datafile) limits the run to those targets.
set -euo pipefail
cd "$(dirname "$0")/.."

usage() { echo "usage: scripts/fuzz.sh [SECONDS] [--merge] [NAME...]" >&2; exit 2; }
seconds=60
merge=0
only=()
for arg in "$@"; do
  case "$arg" in
    --merge) merge=1 ;;
    -*|'') usage ;;
    *[!0-9]*)
      [ -f "tests/fuzz/fuzz_$arg.cpp" ] || { echo "no fuzz target tests/fuzz/fuzz_$arg.cpp" >&2; usage; }
      only+=("$arg") ;;
    *) seconds="$arg" ;;
  esac
done

build=build-fuzz
work="$build/work"

# libFuzzer ships with clang's compiler runtime; check that a fuzzer with both sanitizers links
# before configuring, so a missing package gives one clear message instead of a CMake error.
probe_dir=$(mktemp -d)
trap 'rm -rf "$probe_dir"' EXIT
printf 'extern "C" int LLVMFuzzerTestOneInput(const unsigned char*, unsigned long) { return 0; }\n' \
  >"$probe_dir/probe.cpp"
if ! clang++ -fsanitize=fuzzer,address,undefined "$probe_dir/probe.cpp" -o "$probe_dir/probe" \
     >/dev/null 2>&1; then
  packages="clang libclang-rt-dev"
  if [ "$(id -u)" -eq 0 ]; then
    echo "Installing: $packages"
    DEBIAN_FRONTEND=noninteractive apt-get update -q
    DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends $packages
  else
    echo "clang with libFuzzer is needed: sudo apt-get install -y $packages" >&2
    exit 2
  fi
fi

# -fsanitize=fuzzer-no-link gives the core library the coverage instrumentation that guides the
# fuzzer; the fuzz targets themselves add -fsanitize=fuzzer. RelWithDebInfo with -O1 and without
# -DNDEBUG keeps the assertions on.
CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g" \
  -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link" \
  -DNOTARIUM_FUZZ=ON -DNOTARIUM_SANITIZE=ON -DNOTARIUM_BUILD_TESTS=ON -DNOTARIUM_BUILD_BENCH=OFF -DNOTARIUM_BUILD_UI=OFF >/dev/null

names=()
if [ ${#only[@]} -gt 0 ]; then
  names=("${only[@]}")
else
  for source in tests/fuzz/fuzz_*.cpp; do
    [ -e "$source" ] || continue
    name=$(basename "$source" .cpp)
    names+=("${name#fuzz_}")
  done
fi
if [ ${#names[@]} -eq 0 ]; then
  echo "no fuzz targets in tests/fuzz" >&2
  exit 2
fi

# Only the fuzz targets: the other tests are not meant for this compiler setup.
targets=()
for name in "${names[@]}"; do targets+=("fuzz_$name"); done
cmake --build "$build" --target "${targets[@]}"

export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=0}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"

failed=()
for name in "${names[@]}"; do
  exe="$build/tests/fuzz/fuzz_$name"
  corpus="tests/fuzz/corpus/$name"
  dir="$work/$name"
  rm -rf "$dir"
  mkdir -p "$dir/seed" "$dir/new" "$dir/artifacts"
  if [ -d "$corpus" ]; then
    cp -R "$corpus/." "$dir/seed/"
  fi
  options=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1
           -artifact_prefix="$dir/artifacts/")
  if [ -f "tests/fuzz/$name.dict" ]; then
    options+=(-dict="tests/fuzz/$name.dict")
  fi

  echo "== fuzz_$name: ${seconds} s, $(find "$dir/seed" -type f | wc -l) seed inputs"
  status=0
  "$exe" "${options[@]}" "$dir/new" "$dir/seed" >"$dir/log" 2>&1 || status=$?
  grep -E '^#[0-9]+[[:space:]]+DONE|^stat::number_of_executed_units|^stat::peak_rss_mb' "$dir/log" || true
  echo "   new inputs: $(find "$dir/new" -type f | wc -l) (in $dir/new), log: $dir/log"

  artifacts=("$dir"/artifacts/*)
  if [ -e "${artifacts[0]}" ]; then
    mkdir -p "$corpus"
    for artifact in "${artifacts[@]}"; do
      cp "$artifact" "$corpus/"
      echo "!! fuzz_$name FOUND A FAILURE: kept as $corpus/$(basename "$artifact")"
      echo "   reproduce: $exe $corpus/$(basename "$artifact")"
    done
    grep -E 'ERROR: |SUMMARY: |runtime error' "$dir/log" | head -5 | sed 's/^/   /' || true
    failed+=("$name")
  elif [ "$status" -ne 0 ]; then
    echo "!! fuzz_$name exited with status $status without a failing input; last lines of $dir/log:"
    tail -20 "$dir/log" | sed 's/^/   /'
    failed+=("$name")
  elif [ "$merge" -eq 1 ]; then
    mkdir -p "$corpus"
    before=$(find "$corpus" -type f | wc -l)
    "$exe" -merge=1 "$corpus" "$dir/new" >"$dir/merge.log" 2>&1
    echo "   merged into $corpus: $(( $(find "$corpus" -type f | wc -l) - before )) inputs"
  fi
done

if [ ${#failed[@]} -gt 0 ]; then
  echo
  echo "FUZZING FOUND FAILURES in: ${failed[*]}"
  echo "The failing inputs are in tests/fuzz/corpus/<name>/; fix the reader, then run ./test.sh,"
  echo "whose corpus replay now includes them."
  exit 1
fi
echo
echo "fuzzing: no failures in ${#names[@]} targets (${seconds} s each)"
