#!/usr/bin/env bash
# soak.sh N [FIRST_SEED]: plays N seeded matches of the match sweep (every
# mode and setting, machines unplugged and plugged in again) and checks each,
# as the sweep test does with its few hundred; split over one process per
# processor. Prints how many failed and the settings of each, and exits 1
# when any did. Long: run it under nice.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
matches="${1:-}"
first="${2:-1}"
case "$matches$first" in
  '' | *[!0-9]*) echo "usage: soak.sh N [FIRST_SEED] (whole numbers)" >&2; exit 2 ;;
esac
"$root/scripts/setup-debian.sh"
build="$root/build/normal"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j "$(nproc)" --target match_sweep_test

jobs=$(nproc)
per_job=$(((matches + jobs - 1) / jobs))
logs="$build/soak"
mkdir -p "$logs"
pids=()
for ((job = 0; job < jobs; ++job)); do
  start=$((first + job * per_job))
  count=$((matches - job * per_job))
  ((count > per_job)) && count=$per_job
  ((count > 0)) || break
  QIRU_SWEEP_MATCHES=$count QIRU_SWEEP_FIRST_SEED=$start QIRU_SWEEP_TIMELINE=1 \
    "$build/tests/simulation/match_sweep_test" --gtest_filter='MatchSweep.Every*' >"$logs/job$job.log" 2>&1 &
  pids+=($!)
done
status=0
for pid in "${pids[@]}"; do wait "$pid" || status=1; done
played=$(sed -n 's/^matches played: \([0-9]*\), failed: \([0-9]*\)$/\1 \2/p' "$logs"/job*.log |
  awk '{ p += $1; f += $2 } END { print p + 0, f + 0 }')
echo "soak: matches played and failed: $played (seeds $first to $((first + matches - 1)); logs in $logs)"
grep -h '^seed ' "$logs"/job*.log || true
exit $status
