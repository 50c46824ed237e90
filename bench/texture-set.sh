#!/bin/sh
# The full texture set at 4096 pixels against the four maps a bake wrote before it, on 1 and 2
# threads: wall time, peak memory and the set's time over the four maps'. Each row runs in a
# process of its own, so that its peak memory is its own. Builds the benchmark in the release
# tree first.
#   bench/texture-set.sh            all four rows
set -eu
cd "$(dirname "$0")/.."
cmake --preset release >/dev/null
cmake --build --preset release --target texture_set_bench >/dev/null
bench=build/release/bench/texture_set_bench
csv=$(mktemp)
trap 'rm -f "$csv"' EXIT
for row in FourMaps/1 GltfSet/1 FourMaps/2 GltfSet/2; do
    "$bench" --benchmark_filter="^BM_$row/" --benchmark_format=csv 2>/dev/null |
        grep '^"BM_' >>"$csv"
done
python3 - "$csv" <<'PY'
import csv, sys
rows = {}
for r in csv.reader(open(sys.argv[1])):
    name, seconds, peak = r[0], float(r[2]), float(r[-1])
    kind, threads = name.split("/")[0][3:], name.split("/")[1]
    rows[(kind, threads)] = (seconds, peak)
print(f"{'4096 px, brick wall':<22}{'threads':>8}{'seconds':>10}{'peak MiB':>10}{'vs four':>9}")
for threads in ("1", "2"):
    four = rows[("FourMaps", threads)][0]
    for kind, label in (("FourMaps", "four maps (before)"), ("GltfSet", "gltf set")):
        s, m = rows[(kind, threads)]
        print(f"{label:<22}{threads:>8}{s:>10.2f}{m:>10.0f}{s / four:>8.2f}x")
PY
