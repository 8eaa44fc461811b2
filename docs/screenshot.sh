#!/usr/bin/env bash
# Renders the main window after Run A (current 160 A, everything else at its start value),
# typed with real keys on a private X server: ./docs/screenshot.sh [output.png]
set -euo pipefail
cd "$(dirname "$0")/.."
output=${1:-docs/main-window.png}
program=${TREMIRA:-build/bin/tremira}

if [ -z "${TREMIRA_SCREENSHOT_DISPLAY:-}" ]; then
  exec env TREMIRA_SCREENSHOT_DISPLAY=1 xvfb-run -a -s "-screen 0 800x600x24 -dpi 96 -noreset" "$0" "$output"
fi

# A runtime folder of our own, so that a copy running on the desktop does not refuse this one.
runtime=$(mktemp -d)
trap 'kill "$pid" 2>/dev/null || true; rm -rf "$runtime"' EXIT
XDG_RUNTIME_DIR=$runtime "$program" &
pid=$!

window=$(timeout 20 xdotool search --sync --onlyvisible --pid "$pid" --name 'Расчет сварочного трансформатора' | head -n 1)
xdotool windowfocus --sync "$window"
# Focus starts in Text4: two Tabs to the welding current, then six to the calculate button.
xdotool key --delay 50 Tab Tab 1 6 0 Tab Tab Tab Tab Tab Tab space
sleep 0.5
import -window "$window" "$output"
echo "$output"
