#!/usr/bin/env bash
# Runs the Google benchmarks of the calculation and of the reports, then times tremira-calc as a whole
# process over one million mixed designs, prints designs per second, and compares it with mawk
# merely splitting and rejoining the same lines.
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
# The floor for any tool that reads such a file: mawk merely splitting every line at ";" and
# joining it again, timed the same way.
hyperfine --warmup 2 --runs 10 --export-json "$json" \
  "${pin[*]} '$build/bin/tremira-calc' '$designs' > '$results'" \
  "${pin[*]} mawk -F';' -v OFS=';' '{ \$1 = \$1; print }' '$designs' > '$results.mawk'"
python3 - "$json" "$designs_count" <<'PY'
import json, sys
calc, mawk = json.load(open(sys.argv[1]))["results"]
count = int(sys.argv[2])
cpu = calc["user"] + calc["system"]
print(f"tremira-calc: {count} designs in {calc['mean']:.3f} s "
      f"(min {calc['min']:.3f} s): {count / calc['mean'] / 1e6:.2f} million designs/s "
      f"(best {count / calc['min'] / 1e6:.2f} million/s)")
# On a busy machine the wall clock also counts other processes' turns on the core.
print(f"tremira-calc: {cpu:.3f} s of CPU (user + system): "
      f"{count / cpu / 1e6:.2f} million designs per CPU second")
print(f"mawk splitting and rejoining the same lines: {mawk['mean']:.3f} s; "
      f"tremira-calc / mawk = {calc['mean'] / mawk['mean']:.2f}")
PY
