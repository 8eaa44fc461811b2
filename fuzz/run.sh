#!/usr/bin/env bash
# Fuzzes the calculation, the tremira-calc line reader, the winding drawing's shapes, the help
# viewer's index readers and whole help files longer than the test command does:
# run.sh <sanitizer-build-dir> [seconds], the seconds shared by the five targets. The drawing
# starts from the calculation's seeds, the index readers from the help file's sources, whole
# help files from the built one.
# The corpus grows in fuzz/corpus-work/ from run to run; findings land in that folder
# as crash-*/leak-*/timeout-* files, and the script then fails.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="$(cd "${1:?usage: fuzz/run.sh <build-dir> [seconds]}" && pwd)"
seconds="${2:-600}"
per_target=$(( (seconds + 4) / 5 ))

status=0
seeds_of() {
  case "$1" in
    help) echo "$here/../help/content" ;;
    chm) echo "$build/fuzz/seeds-chm" ;;
    drawing) echo "$here/corpus/calc" ;;
    *) echo "$here/corpus/$1" ;;
  esac
}

for target in calc batch drawing help chm; do
  work="$here/corpus-work/$target"
  mkdir -p "$work"
  echo "== ${target}_fuzz for ${per_target} s"
  ( cd "$work" && "$build/bin/${target}_fuzz" -max_total_time="$per_target" -timeout=10 \
      -print_final_stats=1 "$work" "$(seeds_of "$target")" ) || status=1
done
exit "$status"
