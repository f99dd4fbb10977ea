#!/usr/bin/env bash
# Sets up, builds and runs every test twice: a normal build, then a build
# under AddressSanitizer + UndefinedBehaviorSanitizer. The tests that run
# real threads run a third time under ThreadSanitizer. Last, each fuzzer
# runs for a short while, and the core and its tests run once more as a
# Windows build under Wine.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/setup-debian.sh"
# shellcheck source=scripts/compiler-cache.sh
. "$root/scripts/compiler-cache.sh"

# The test programs that start threads of their own: every *_threads_test,
# the clocks and the window model (written from several threads at once).
threaded_tests='_threads_test$|^clock_test$|^ui_test$'

run_suite() {
  local name="$1"
  shift
  echo "== $name build"
  "$root/scripts/build.sh" "$root/build/$name" "$@"
  echo "== $name tests"
  ctest --test-dir "$root/build/$name" --output-on-failure -j "$(nproc)"
}

run_threaded_suite() {
  local name="$1"
  shift
  echo "== $name build (threaded tests only)"
  cmake -S "$root" -B "$root/build/$name" -G Ninja "$@" >/dev/null
  local targets
  targets=$(ctest --test-dir "$root/build/$name" -N -R "$threaded_tests" | sed -n 's/^ *Test *#[0-9]*: //p')
  # shellcheck disable=SC2086
  cmake --build "$root/build/$name" -j "$(nproc)" --target $targets
  echo "== $name tests"
  ctest --test-dir "$root/build/$name" --output-on-failure -R "$threaded_tests"
}

run_suite normal -DCMAKE_BUILD_TYPE=RelWithDebInfo
# The USB machine tests run under umockdev-wrapper, which preloads its
# library ahead of the AddressSanitizer runtime; the runtime copes with that.
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:verify_asan_link_order=0 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  run_suite asan -DCMAKE_BUILD_TYPE=Debug -DQIRU_SANITIZE=address,undefined -DQIRU_BUILD_BENCHMARKS=OFF
TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1 \
  run_threaded_suite tsan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQIRU_SANITIZE=thread -DQIRU_BUILD_BENCHMARKS=OFF
# Each fuzzer briefly: what a longer run (scripts/fuzz.sh) found stays
# replayed by fuzz_inputs_test above.
"$root/scripts/fuzz.sh" 20
# The core, qiru-steno and their tests built for Windows and run under Wine.
"$root/scripts/test-windows.sh"
