#!/usr/bin/env bash
# Sets up, builds the tests and the fuzzers with ASan and UBSan and warnings as errors, and runs
# the whole test suite, then the optimised build's tests, short fuzzing runs and the concurrency
# suites under TSan.
#   --quick   the optimised build and its tests only, for a fast loop while working
set -euo pipefail
cd "$(dirname "$0")/.."
quick=0
for arg in "$@"; do
  case "$arg" in
    --quick) quick=1 ;;
    *) echo "usage: scripts/test.sh [--quick]" >&2; exit 2 ;;
  esac
done
scripts/setup.sh
jobs=$(nproc)

release() {
  echo "== Optimised build (benchmarks compile, tests pass at -O3) =="
  cmake --preset release >/dev/null
  cmake --build --preset release -j "$jobs"
  ctest --preset release -j "$jobs"
}

if [ "$quick" = 1 ]; then
  release
  exit 0
fi

echo "== Formatting =="
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror
  echo "clang-format: clean"
fi

echo "== ASan + UBSan =="
cmake --preset dev >/dev/null
cmake --build --preset dev -j "$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --preset dev -j "$jobs"

release

if [ -f fuzz/CMakeLists.txt ]; then
  # The fuzzers were built in the sanitizer tree beside the tests.
  echo "== Fuzzing (short runs) =="
  # Two at a time, one a core; each prints its last lines when it ends.
  run_fuzzer() {
    local f=$1 name corpus scratch
    name=$(basename "$f")
    corpus="fuzz/corpus/${name#fuzz_}"
    local args=(-max_total_time=12 -print_final_stats=0)
    # New inputs go to the first corpus folder: a scratch one, so the seeds stay as committed.
    scratch=$(mktemp -d)
    [ -d "$corpus" ] && args+=("$scratch" "$corpus")
    local out rc
    out=$("$f" "${args[@]}" 2>&1) && rc=0 || rc=$?
    # A failure shows its report, a clean run its last lines.
    printf -- '-- %s\n%s\n' "$name" "$(tail -n "$([ $rc = 0 ] && echo 2 || echo 60)" <<<"$out")"
    rm -rf "$scratch"
    return $rc
  }
  pids=()
  for f in build/dev/fuzz/fuzz_*; do
    [ -x "$f" ] || continue
    run_fuzzer "$f" &
    pids+=($!)
    if [ ${#pids[@]} -ge "$jobs" ]; then wait "${pids[0]}"; pids=("${pids[@]:1}"); fi
  done
  for p in "${pids[@]}"; do wait "$p"; done
fi

# Suites declared with quarel_tsan_suite carry the label tsan and also run under
# ThreadSanitizer; the TSan tree builds only them.
echo "== ThreadSanitizer =="
cmake --preset tsan >/dev/null
cmake --build --preset tsan -j "$jobs" --target tsan_suites
TSAN_OPTIONS=halt_on_error=1 ctest --preset tsan -L tsan -j "$jobs"
