#!/usr/bin/env bash
# fuzz.sh [SECONDS]: builds the libFuzzer programs (clang, AddressSanitizer +
# UndefinedBehaviorSanitizer) and runs each for SECONDS (default 60), one
# after the other. Each keeps its corpus in build/fuzz/corpus/<fuzzer>/
# between runs, starting from fuzz/seeds/, data/ and seeds the program
# writes itself. An input a fuzzer fails on is kept in fuzz/kept/<fuzzer>/,
# where fuzz_inputs_test replays it in every build; the script then exits 1.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
seconds="${1:-60}"
case "$seconds" in
  '' | *[!0-9]*) echo "fuzz.sh: SECONDS must be a whole number of seconds, not \"$seconds\"" >&2; exit 2 ;;
esac
"$root/scripts/setup-debian.sh"
# shellcheck source=scripts/compiler-cache.sh
. "$root/scripts/compiler-cache.sh"

build="$root/build/fuzz"
fuzzers=(material_parser scheme_loader dictionary_block hash_index text_pool report_log chord_notation interrupt_stream)

CC=clang-14 CXX=clang++-14 cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DQIRU_FUZZ=ON -DQIRU_SANITIZE=address,undefined -DQIRU_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build "$build" -j "$(nproc)" --target qiru-fuzz-seeds "${fuzzers[@]/%/_fuzzer}"
"$build/fuzz/qiru-fuzz-seeds" "$build/written-seeds"

# The data files each fuzzer starts from, beside its own seeds.
data_seeds() {
  case "$1" in
    material_parser) echo "$root/data/比赛题库" ;;
    scheme_loader) echo "$root/data/fingering_scheme.txt" ;;
    dictionary_block) echo "$root/data/syllable_dictionary.bin" ;;
  esac
}

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
failed=()
for fuzzer in "${fuzzers[@]}"; do
  corpus="$build/corpus/$fuzzer"
  artifacts="$build/artifacts/$fuzzer"
  mkdir -p "$corpus" "$artifacts"
  seeds=()
  for seed in "$root/fuzz/seeds/$fuzzer" "$build/written-seeds/$fuzzer" $(data_seeds "$fuzzer"); do
    [ -e "$seed" ] || continue
    if [ -d "$seed" ]; then seeds+=("$seed"); else cp "$seed" "$corpus/"; fi
  done
  log="$build/$fuzzer.log"
  echo "== $fuzzer: $seconds s"
  status=0
  "$build/fuzz/${fuzzer}_fuzzer" -max_total_time="$seconds" -timeout=60 -max_len=65536 \
    -artifact_prefix="$artifacts/" "$corpus" "${seeds[@]}" >"$log" 2>&1 || status=$?
  grep -E '^Done [0-9]+ runs' "$log" || tail -n 5 "$log"
  kept=0
  for artifact in "$artifacts"/*; do
    [ -e "$artifact" ] || continue
    mkdir -p "$root/fuzz/kept/$fuzzer"
    mv "$artifact" "$root/fuzz/kept/$fuzzer/"
    kept=$((kept + 1))
  done
  if [ "$status" -ne 0 ] || [ "$kept" -ne 0 ]; then
    echo "fuzz.sh: $fuzzer failed (exit $status); the input is kept in fuzz/kept/$fuzzer/, the log in $log" >&2
    failed+=("$fuzzer")
  fi
done
[ ${#failed[@]} -eq 0 ] || { echo "fuzz.sh: failed: ${failed[*]}" >&2; exit 1; }
