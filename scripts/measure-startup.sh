#!/usr/bin/env bash
# measure-startup.sh [RUNS]: starts the window RUNS times (default 7) under
# a virtual display and prints, per run, the time from start to the first
# painted window and the resident memory of the idle window, then the
# medians. Needs a build in build/release (scripts/run.sh makes one), or the
# program named by QIRU_PK.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
program="${QIRU_PK:-$root/build/release/app/qiru-pk}"

# Inside the virtual display: this script again, started by xvfb-run. (A
# shell function exported to xvfb-run would not arrive: xvfb-run is a
# POSIX shell script, and that shell drops bash's exported functions.)
if [[ "${1:-}" == "--inside-display" ]]; then
  for _ in $(seq 1 "$2"); do
    dir="$(mktemp -d)"
    QIRU_STARTUP_PROBE=1 QIRU_STARTUP_PROBE_T0_NS="$(date +%s%N)" XDG_RUNTIME_DIR="$dir" XDG_CONFIG_HOME="$dir" \
      "$program" 2>&1 | grep -E "^(first_paint_ms|idle_rss_kb)=" || true
    rm -rf "$dir"
  done
  exit 0
fi

runs="${1:-7}"
if ! [[ "$runs" =~ ^[1-9][0-9]*$ ]]; then
  echo "measure-startup.sh: RUNS is a whole number of runs, 1 or more, not \"$runs\"" >&2
  exit 2
fi
if [[ ! -x "$program" ]]; then
  echo "measure-startup.sh: no program at $program; build it first (scripts/run.sh) or name it with QIRU_PK" >&2
  exit 1
fi
results="$(QIRU_PK="$program" xvfb-run -a -s "-screen 0 1024x768x24" "${BASH_SOURCE[0]}" --inside-display "$runs")"
echo "$results"
if [[ -z "$(echo "$results" | sed -n 's/^first_paint_ms=//p')" ]]; then
  echo "measure-startup.sh: the window reported no start-up figures" >&2
  exit 1
fi
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
echo "median first_paint_ms=$(echo "$results" | sed -n 's/^first_paint_ms=//p' | median)"
echo "median idle_rss_kb=$(echo "$results" | sed -n 's/^idle_rss_kb=//p' | median)"
