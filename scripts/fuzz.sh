#!/usr/bin/env bash
# Builds the fuzz preset and runs every fuzzer for SECONDS each (default 600) on its seed corpus,
# then prints each one's executions, executions per second and coverage (libFuzzer's cov and ft
# at the end of the run). New inputs go to a scratch folder, so the committed seeds stay as they
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
results=()
for name in "${names[@]}"; do
  f=build/fuzz/fuzz/$name
  corpus="fuzz/corpus/${name#fuzz_}"
  scratch=$(mktemp -d)
  log=$(mktemp)
  # The first corpus folder takes the new inputs.
  args=(-max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="$artifacts/$name-"
        "$scratch")
  [ -d "$corpus" ] && args+=("$corpus")
  echo "-- $name: ${seconds}s" >&2
  if ! "$f" "${args[@]}" >"$log" 2>&1; then
    echo "$name FAILED; the end of its output:" >&2
    tail -n 40 "$log" >&2
    status=1
  fi
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -n 1)
  cov=$(grep -o 'cov: [0-9]*' "$log" | tail -n 1 | cut -d' ' -f2)
  ft=$(grep -o 'ft: [0-9]*' "$log" | tail -n 1 | cut -d' ' -f2)
  results+=("$(printf '%-20s %12s %10s %8s %8s' "$name" "${execs:--}" "${rate:--}" "${cov:--}" \
    "${ft:--}")")
  rm -rf "$scratch" "$log"
done

printf '%-20s %12s %10s %8s %8s\n' fuzzer executions exec/s cov ft
printf '%s\n' "${results[@]}"
exit "$status"
