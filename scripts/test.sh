#!/usr/bin/env bash
# Sets up, builds and runs every test twice: a normal build, then a build
# under AddressSanitizer + UndefinedBehaviorSanitizer.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/setup-debian.sh"

run_suite() {
  local name="$1"
  shift
  echo "== $name build"
  "$root/scripts/build.sh" "$root/build/$name" "$@"
  echo "== $name tests"
  ctest --test-dir "$root/build/$name" --output-on-failure -j "$(nproc)"
}

run_suite normal -DCMAKE_BUILD_TYPE=RelWithDebInfo
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  run_suite asan -DCMAKE_BUILD_TYPE=Debug -DQIRU_SANITIZE=address,undefined -DQIRU_BUILD_BENCHMARKS=OFF
