#!/usr/bin/env bash
# Fuzzes the calculation, the tremira-calc line reader and the help-file reader longer than
# the test command does: run.sh <sanitizer-build-dir> [seconds], the seconds shared by the
# three targets. The help index readers start from the help file's sources.
# The corpus grows in fuzz/corpus-work/ from run to run; findings land in that folder
# as crash-*/leak-*/timeout-* files, and the script then fails.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="$(cd "${1:?usage: fuzz/run.sh <build-dir> [seconds]}" && pwd)"
seconds="${2:-600}"
per_target=$(( (seconds + 2) / 3 ))

status=0
seeds_of() {
  if [ "$1" = help ]; then echo "$here/../help/content"; else echo "$here/corpus/$1"; fi
}

for target in calc batch help; do
  work="$here/corpus-work/$target"
  mkdir -p "$work"
  echo "== ${target}_fuzz for ${per_target} s"
  ( cd "$work" && "$build/bin/${target}_fuzz" -max_total_time="$per_target" -timeout=10 \
      -print_final_stats=1 "$work" "$(seeds_of "$target")" ) || status=1
done
exit "$status"
