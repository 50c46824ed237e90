#!/usr/bin/env bash
# Builds the fuzz preset and runs every fuzzer for SECONDS each (default 600) on its seed corpus,
# one a core at a time, then prints each one's executions, executions per second and coverage
# (libFuzzer's cov and ft at the end of the run). New inputs go to a scratch folder, so the committed seeds stay as they
# are; a crash leaves its input under build/fuzz/artifacts/ and makes the script exit non-zero.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-600}
if ! [[ "$seconds" =~ ^[0-9]+$ ]] || [ "$seconds" -eq 0 ]; then
  echo "usage: scripts/fuzz.sh [SECONDS]   (seconds per fuzzer, default 600)" >&2
  exit 2
fi
scripts/setup.sh
cmake --preset fuzz >/dev/null
# Only the fuzzers and what they link.
names=()
targets=()
for src in fuzz/fuzz_*.cpp; do
  names+=("$(basename "$src" .cpp)")
  targets+=(--target "$(basename "$src" .cpp)")
done
cmake --build --preset fuzz -j "$(nproc)" "${targets[@]}"

artifacts=build/fuzz/artifacts
mkdir -p "$artifacts"
status=0
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# One fuzzer: its run's output in $work/NAME.log, its summary line in $work/NAME.row.
run_one() {
  local name=$1 f corpus scratch log
  f=build/fuzz/fuzz/$name
  corpus="fuzz/corpus/${name#fuzz_}"
  scratch="$work/$name.new"
  log="$work/$name.log"
  mkdir -p "$scratch"
  # The first corpus folder takes the new inputs.
  local args=(-max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="$artifacts/$name-"
              "$scratch")
  [ -d "$corpus" ] && args+=("$corpus")
  local rc=0
  "$f" "${args[@]}" >"$log" 2>&1 || rc=$?
  if [ "$rc" -ne 0 ]; then
    { echo "$name FAILED; the end of its output:"; tail -n 40 "$log"; } >&2
  fi
  local execs rate cov ft
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -n 1)
  cov=$(grep -o 'cov: [0-9]*' "$log" | tail -n 1 | cut -d' ' -f2)
  ft=$(grep -o 'ft: [0-9]*' "$log" | tail -n 1 | cut -d' ' -f2)
  printf '%-20s %12s %10s %8s %8s\n' "$name" "${execs:--}" "${rate:--}" "${cov:--}" "${ft:--}" \
    >"$work/$name.row"
  return "$rc"
}

# One fuzzer a core at a time; each is single-threaded, so its rate is that of one core.
jobs=$(nproc)
pids=()
for name in "${names[@]}"; do
  echo "-- $name: ${seconds}s" >&2
  run_one "$name" &
  pids+=($!)
  if [ ${#pids[@]} -ge "$jobs" ]; then
    wait "${pids[0]}" || status=1
    pids=("${pids[@]:1}")
  fi
done
for p in "${pids[@]}"; do wait "$p" || status=1; done

printf '%-20s %12s %10s %8s %8s\n' fuzzer executions exec/s cov ft
for name in "${names[@]}"; do cat "$work/$name.row"; done
exit "$status"
