#!/usr/bin/env bash
# compare_with_linux.sh LINUX_QIRU_STENO WINDOWS_QIRU_STENO_EXE: runs the
# same qiru-steno command lines with the Linux program and, under Wine, with
# the Windows one (decode, check over the whole sample bank, replay of the
# report logs beside this script, simulate in each mode), and fails when any
# output or exit status differs. Windows ends its lines with CR LF; the
# comparison reads both without the CR.
# Prints how long a simulated 5-minute timed race takes on each.
set -uo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/../.." && pwd)"
linux="$1"
windows="$2"
work="$(mktemp -d "${TMPDIR:-/tmp}/qiru-compare.XXXXXX")"
trap 'rm -rf "$work"' EXIT

bank="$root/data/比赛题库"
material="$bank/1.基础/单音节.txt"
passed=0
failed=0

# compare NAME ARGS...: both programs, the same arguments.
compare() {
  local name="$1"
  shift
  local linux_status=0 windows_status=0
  "$linux" "$@" </dev/null >"$work/linux.out" 2>"$work/linux.err" || linux_status=$?
  wine "$windows" "$@" </dev/null >"$work/windows.out" 2>"$work/windows.err" || windows_status=$?
  for stream in out err; do
    tr -d '\r' <"$work/windows.$stream" >"$work/windows.$stream.lf"
  done
  if [ "$linux_status" = "$windows_status" ] && cmp -s "$work/linux.out" "$work/windows.out.lf" &&
    cmp -s "$work/linux.err" "$work/windows.err.lf"; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "DIFFERS: $name (exit $linux_status on Linux, $windows_status under Wine)"
    diff "$work/linux.out" "$work/windows.out.lf" | head -20
    diff "$work/linux.err" "$work/windows.err.lf" | head -20
  fi
}

compare "decode" decode ":I" "BA:FL" "H:A" "N:" "GBD:OUI" "RH:NV" "XYZ" ":"

while IFS= read -r -d '' file; do
  compare "check ${file#"$root"/}" check "$file"
done < <(find "$bank" -name '*.txt' -print0 | sort -z)
compare "check of a missing file" check "$work/不存在.txt"

for log in "$here"/report_logs/*.log; do
  compare "replay ${log##*/}" replay "$log"
done

compare "simulate timed race" simulate --mode 0 --material "$material" --minutes 1 --seed 3
compare "simulate race to finish" simulate --mode 1 --material "$material" --entries 30 --seed 4 --red cpm=250,errors=0.1
compare "simulate quick answer" simulate --mode 2 --material "$material" --entries 20 --seed 5 --blue cpm=280,errors=0.05
compare "simulate team relay" simulate --mode 3 --material "$material" --entries 10 --members 2 --seed 6
compare "simulate alone" simulate --mode 1 --material "$material" --entries 10 --blue none

# The speed figure: a 5-minute timed race on each.
race=(simulate --mode 0 --material "$material" --minutes 5 --seed 9)
start=$(date +%s%N)
"$linux" "${race[@]}" </dev/null >/dev/null
linux_ms=$((($(date +%s%N) - start) / 1000000))
start=$(date +%s%N)
wine "$windows" "${race[@]}" </dev/null >/dev/null
windows_ms=$((($(date +%s%N) - start) / 1000000))
echo "a simulated 5-minute timed race: ${linux_ms} ms on Linux, ${windows_ms} ms under Wine"

echo "qiru-steno Linux against Windows: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
