#!/usr/bin/env bash
# measure-startup.sh [RUNS]: starts the window RUNS times (default 7) under
# a virtual display and prints, per run, the time from start to the first
# painted window and the resident memory of the idle window, then the
# medians. Needs a build in build/release (scripts/run.sh makes one).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
program="$root/build/release/app/qiru-pk"
runs="${1:-7}"
one_run() {
  local dir
  dir="$(mktemp -d)"
  QIRU_STARTUP_PROBE=1 QIRU_STARTUP_PROBE_T0_NS="$(date +%s%N)" XDG_RUNTIME_DIR="$dir" XDG_CONFIG_HOME="$dir" \
    "$program" 2>&1 | grep -E "^(first_paint_ms|idle_rss_kb)="
  rm -rf "$dir"
}
export -f one_run
export program
results="$(xvfb-run -a -s "-screen 0 1024x768x24" bash -c "for i in \$(seq 1 $runs); do one_run; done")"
echo "$results"
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
echo "median first_paint_ms=$(echo "$results" | sed -n 's/^first_paint_ms=//p' | median)"
echo "median idle_rss_kb=$(echo "$results" | sed -n 's/^idle_rss_kb=//p' | median)"
