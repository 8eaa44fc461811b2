#!/usr/bin/env bash
# A default printer for the end-to-end print test: starts the CUPS scheduler when none runs
# (no systemd here), adds a cups-pdf queue and makes it the default. `stop` removes the queue
# if it was added here, puts the previous default back and ends exactly the processes `start`
# started, by their PIDs.
#
#   tests/reports/cups_queue.sh start|stop
set -euo pipefail

queue=TremiraPDF
state=${TMPDIR:-/tmp}/tremira-cups-queue

scheduler_runs() { lpstat -r 2>/dev/null | grep -q 'scheduler is running'; }

# A zombie (reaped by nobody in a container) counts as ended.
process_alive() {
  [ -r "/proc/$1/stat" ] && [ "$(awk '{print $3}' "/proc/$1/stat")" != Z ]
}

start() {
  mkdir -p "$state"
  : >"$state/pids"
  if ! scheduler_runs; then
    cupsd -f >"$state/cupsd.log" 2>&1 &
    echo $! >>"$state/pids"
    for _ in $(seq 1 60); do
      scheduler_runs && break
      sleep 0.5
    done
    if ! scheduler_runs; then
      echo "cups_queue: cupsd did not start" >&2
      cat "$state/cupsd.log" >&2
      return 1
    fi
  fi
  local model
  model=$(lpinfo -m | awk 'tolower($1) ~ /cups-pdf/ { print $1; exit }')
  if [ -z "$model" ]; then
    echo "cups_queue: no cups-pdf driver (Debian package printer-driver-cups-pdf)" >&2
    return 1
  fi
  if ! lpstat -p "$queue" >/dev/null 2>&1; then
    lpadmin -p "$queue" -E -v cups-pdf:/ -m "$model"
    touch "$state/queue-added"
  fi
  lpstat -d 2>/dev/null | sed -n 's/^system default destination: //p' >"$state/previous-default"
  lpadmin -d "$queue"
  echo "cups_queue: $queue is the default printer"
}

stop() {
  [ -d "$state" ] || return 0
  if scheduler_runs; then
    local previous
    previous=$(cat "$state/previous-default" 2>/dev/null || true)
    if [ -n "$previous" ] && [ "$previous" != "$queue" ]; then lpadmin -d "$previous" || true; fi
    if [ -f "$state/queue-added" ]; then lpadmin -x "$queue" || true; fi
  fi
  local pid
  while read -r pid; do
    kill "$pid" 2>/dev/null || continue
    for _ in $(seq 1 40); do
      process_alive "$pid" || break
      sleep 0.25
    done
  done <"$state/pids"
  rm -rf "$state"
}

case "${1:-}" in
  start) start ;;
  stop) stop ;;
  *)
    echo "usage: $0 start|stop" >&2
    exit 2
    ;;
esac
