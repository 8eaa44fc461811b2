#!/usr/bin/env bash
# Start-up cost of the program beside a bare Qt window of the same size, on a private X
# server: the time from the start of the process to its first visible window, and the peak
# resident memory up to that moment (VmHWM). Prints the median of N runs of each.
#
#   bench/startup.sh [runs]        (default 15; needs build/bin/tremira and tremira-bare-window)
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-15}

if [ -z "${TREMIRA_BENCH_DISPLAY:-}" ]; then
  exec env TREMIRA_BENCH_DISPLAY=1 xvfb-run -a -s "-screen 0 800x600x24 -dpi 96" "$0" "$runs"
fi

# One start: prints "milliseconds kilobytes".
measure() {
  local program=$1 runtime start pid now hwm
  runtime=$(mktemp -d)  # no lock left by an earlier run
  start=$(date +%s%N)
  XDG_RUNTIME_DIR=$runtime "$program" 2>/dev/null &
  pid=$!
  until xdotool search --onlyvisible --pid "$pid" >/dev/null 2>&1; do
    kill -0 "$pid" 2>/dev/null || { echo "$program ended before showing a window" >&2; exit 1; }
  done
  now=$(date +%s%N)
  hwm=$(awk '/^VmHWM:/ {print $2}' "/proc/$pid/status")
  kill "$pid"
  wait "$pid" 2>/dev/null || true
  rm -rf "$runtime"
  echo "$(( (now - start) / 1000000 )) $hwm"
}

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

declare -A times memories
for name in ${PROGRAMS:-tremira tremira-bare-window}; do
  measure "build/bin/$name" >/dev/null  # warm the file cache
done
for ((i = 0; i < runs; i++)); do
  for name in ${PROGRAMS:-tremira tremira-bare-window}; do
    read -r ms kb < <(measure "build/bin/$name")
    times[$name]+="$ms"$'\n'
    memories[$name]+="$kb"$'\n'
  done
done

printf '%-22s %14s %16s\n' program "start ms" "peak RSS KiB"
for name in ${PROGRAMS:-tremira tremira-bare-window}; do
  printf '%-22s %14s %16s\n' "$name" \
    "$(printf '%s' "${times[$name]}" | median)" "$(printf '%s' "${memories[$name]}" | median)"
done
