#!/usr/bin/env bash
# Runs the Google benchmarks of the calculation and of the reports, then times tremira-calc as a whole
# process over one million mixed designs and prints designs per second.
#   bench/run.sh <build-dir>     (a Release build configured with -DTREMIRA_BENCH=ON)
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="$(cd "${1:?usage: bench/run.sh <build-dir>}" && pwd)"
designs_count=1000000
designs="$build/designs-1m.csv"
results="$build/designs-1m.out"

"$build/bin/calc_bench" --benchmark_counters_tabular=true
"$build/bin/report_bench"

[ -s "$designs" ] || python3 "$here/make_designs.py" "$designs" "$designs_count"

# One core: the tool is single-threaded, pinning keeps the figure honest on a busy machine.
pin=()
command -v taskset >/dev/null && pin=(taskset -c 0)
json="$build/tremira-calc-timing.json"
hyperfine --warmup 2 --runs 10 --export-json "$json" \
  "${pin[*]} '$build/bin/tremira-calc' '$designs' > '$results'"
python3 - "$json" "$designs_count" <<'PY'
import json, sys
timing = json.load(open(sys.argv[1]))["results"][0]
count = int(sys.argv[2])
cpu = timing["user"] + timing["system"]
print(f"tremira-calc: {count} designs in {timing['mean']:.3f} s "
      f"(min {timing['min']:.3f} s): {count / timing['mean'] / 1e6:.2f} million designs/s "
      f"(best {count / timing['min'] / 1e6:.2f} million/s)")
# On a busy machine the wall clock also counts other processes' turns on the core.
print(f"tremira-calc: {cpu:.3f} s of CPU (user + system): "
      f"{count / cpu / 1e6:.2f} million designs per CPU second")
PY
