#!/usr/bin/env bash
# Start-up cost of the program beside a bare Qt window of the same size, on a private X
# server: the time from the start of the process to its first visible window, and the peak
# resident memory (VmHWM) once that window is drawn. Prints the median of N runs of each and the
# median of the run-by-run ratios.
#
#   bench/startup.sh [runs]        (default 15; needs build/bin/tremira and tremira-bare-window)
#   BUILD_DIR=build-rel bench/startup.sh   measures the programs of another build folder
#   PROGRAMS="tremira" bench/startup.sh     measures only the programs named
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-15}
bin=${BUILD_DIR:-build}/bin

# A private X server on a display number it picks itself (-displayfd), so that no other
# "xvfb-run -a" started at the same moment can pick the same one.
displayfile=$(mktemp)
Xvfb -displayfd 3 -screen 0 800x600x24 -dpi 96 -noreset -nolisten tcp 3>"$displayfile" 2>/dev/null &
xvfb=$!
trap 'kill $xvfb; rm -f "$displayfile"' EXIT
until [ -s "$displayfile" ]; do
  kill -0 $xvfb 2>/dev/null || { echo "Xvfb did not start" >&2; exit 1; }
  sleep 0.05
done
export DISPLAY=:$(head -n1 "$displayfile")

# Every top-level window the server maps, stamped by one listener that runs through all the
# starts and read without polling: a client looking for the window costs milliseconds a look,
# and a busy loop takes a core from the program, both more than the differences measured.
maps=$(mktemp -u)
mkfifo "$maps"
stdbuf -oL xev -root -event substructure 2>/dev/null | while IFS= read -r line; do
  [[ $line == "MapNotify event"* ]] && echo "$EPOCHREALTIME"
done >"$maps" &
exec 4<"$maps"
# The listener ends with the server.
trap 'kill $xvfb; rm -f "$displayfile" "$maps"' EXIT
sleep 0.5  # time for the listener to connect

# One start: prints "milliseconds kilobytes", the time to a tenth of a millisecond.
measure() {
  local program=$1 runtime start pid shown hwm
  # A fresh runtime folder: no lock left by an earlier run. On tmpfs, as a session's runtime
  # folder always is (/run/user/<uid>): on a disk, the lock file's flush to it would be timed.
  runtime=$(mktemp -d -p /dev/shm 2>/dev/null || mktemp -d)
  start=$EPOCHREALTIME
  XDG_RUNTIME_DIR=$runtime "$program" 2>/dev/null &
  pid=$!
  if ! read -r -t 10 shown <&4; then
    echo "$program showed no window" >&2
    kill "$pid" 2>/dev/null
    rm -rf "$runtime"
    return 1
  fi
  # The peak once the window is up and drawn: read at the map, it would depend on how far
  # the first paint got in the meantime.
  sleep 0.3
  hwm=$(awk '/^VmHWM:/ {print $2}' "/proc/$pid/status")
  kill "$pid"
  wait "$pid" 2>/dev/null || true
  rm -rf "$runtime"
  echo "$(awk -v a="$start" -v b="$shown" 'BEGIN { printf "%.1f", (b - a) * 1000 }') $hwm"
}

median() { sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

declare -A times memories
for name in ${PROGRAMS:-tremira tremira-bare-window}; do
  measure "$bin/$name" >/dev/null || true  # warm the file cache
done
for ((i = 0; i < runs; i++)); do
  for name in ${PROGRAMS:-tremira tremira-bare-window}; do
    # On a shared machine a start now and then loses its X connection: measure it again.
    result=$(measure "$bin/$name" || measure "$bin/$name" || measure "$bin/$name")
    read -r ms kb <<<"$result"
    times[$name]+="$ms"$'\n'
    memories[$name]+="$kb"$'\n'
  done
done

printf '%-22s %14s %16s\n' program "start ms" "peak RSS KiB"
for name in ${PROGRAMS:-tremira tremira-bare-window}; do
  printf '%-22s %14s %16s\n' "$name" \
    "$(printf '%s' "${times[$name]}" | median)" "$(printf '%s' "${memories[$name]}" | median)"
done

# The runs of both programs alternate, so the ratio of each pair sees the same machine load.
if [ -z "${PROGRAMS:-}" ]; then
  ratios() { paste <(printf '%s' "${1}") <(printf '%s' "${2}") | awk '{ printf "%.4f\n", $1 / $2 }'; }
  printf 'tremira / bare window: start %s, peak memory %s (medians of the run-by-run ratios)\n' \
    "$(ratios "${times[tremira]}" "${times[tremira-bare-window]}" | median)" \
    "$(ratios "${memories[tremira]}" "${memories[tremira-bare-window]}" | median)"
fi
