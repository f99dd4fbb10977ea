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
# shellcheck source=scripts/compiler-cache.sh
. "$root/scripts/compiler-cache.sh"
build="$root/build/normal"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j "$(nproc)" --target match_sweep_test

# One process per processor, each playing its share of the seeds in
# chunks, so that the log shows how far a long soak has come.
chunk=100
jobs=$(nproc)
per_job=$(((matches + jobs - 1) / jobs))
logs="$build/soak"
rm -rf "$logs"
mkdir -p "$logs"
play_share() {
  local start="$1" count="$2" log="$3" status=0
  while ((count > 0)); do
    local now=$((count < chunk ? count : chunk))
    QIRU_SWEEP_MATCHES=$now QIRU_SWEEP_FIRST_SEED=$start QIRU_SWEEP_TIMELINE=1 \
      "$build/tests/simulation/match_sweep_test" --gtest_filter='MatchSweep.Every*' >>"$log" 2>&1 || status=1
    start=$((start + now))
    count=$((count - now))
  done
  return $status
}
pids=()
for ((job = 0; job < jobs; ++job)); do
  count=$((matches - job * per_job))
  ((count > per_job)) && count=$per_job
  ((count > 0)) || break
  play_share $((first + job * per_job)) "$count" "$logs/job$job.log" &
  pids+=($!)
done
status=0
for pid in "${pids[@]}"; do wait "$pid" || status=1; done
played=$(sed -n 's/^matches played: \([0-9]*\), failed: \([0-9]*\)$/\1 \2/p' "$logs"/job*.log |
  awk '{ p += $1; f += $2 } END { print p + 0, f + 0 }')
echo "soak: matches played and failed: $played (seeds $first to $((first + matches - 1)); logs in $logs)"
grep -h '^seed ' "$logs"/job*.log || true
exit $status
