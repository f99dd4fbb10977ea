#!/usr/bin/env bash
# Builds everything that has no Qt for 64-bit Windows with Debian's
# mingw-w64 and runs the tests under Wine: the core's tests, the chip
# library backend against the stand-in CH375DLL.DLL, and qiru-steno's output
# against the Linux build's.
#
# Installs what it needs, and only what is missing: the mingw-w64 compilers,
# Wine, zlib for mingw, and GoogleTest built from Debian's sources with the
# cross compiler. The Wine prefix is thrown away at the end.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${QIRU_WINDOWS_BUILD:-$root/build/windows}"
linux_build="${QIRU_LINUX_BUILD:-$root/build/normal}"
# shellcheck source=scripts/compiler-cache.sh
. "$root/scripts/compiler-cache.sh"

# stage NAME: announces a stage and, from the second on, how long the one
# before took, so that a slow stage shows in the CI log.
stage_name=""
stage_start=$SECONDS
stage() {
  if [ -n "$stage_name" ]; then
    echo "== $stage_name took $((SECONDS - stage_start)) s"
  fi
  stage_name="$1"
  stage_start=$SECONDS
  [ -z "$stage_name" ] || echo "== $stage_name"
}

packages=(g++-mingw-w64-x86-64-posix wine wine64 libz-mingw-w64-dev googletest cmake ninja-build)
missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "test-windows: installing ${missing[*]}"
  sudo_cmd=()
  if [ "$(id -u)" -ne 0 ]; then
    if ! command -v sudo >/dev/null; then
      echo "test-windows: these packages are missing and this user cannot install them: ${missing[*]}" >&2
      exit 1
    fi
    sudo_cmd=(sudo)
  fi
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -qq
  "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

toolchain="$root/cmake/toolchain-mingw-w64-x86_64.cmake"

# GoogleTest for mingw, from the sources Debian ships, built once.
gtest_prefix="$build/googletest"
if [ ! -f "$gtest_prefix/lib/cmake/GTest/GTestConfig.cmake" ]; then
  stage "googletest for Windows"
  cmake -S /usr/src/googletest -B "$build/googletest-build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$gtest_prefix" -Dgtest_disable_pthreads=OFF >/dev/null
  cmake --build "$build/googletest-build" -j "$(nproc)" --target install >/dev/null
fi

stage "windows build"
cmake -S "$root" -B "$build/qiru" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DQIRU_BUILD_WINDOW=OFF -DQIRU_BUILD_HISTORY=OFF -DQIRU_BUILD_BENCHMARKS=OFF \
  -DGTest_DIR="$gtest_prefix/lib/cmake/GTest" >/dev/null
cmake --build "$build/qiru" -j "$(nproc)"

stage "wine prefix"
# A Wine prefix of its own, made afresh and removed at the end; no display:
# every program here is a console program.
wineprefix="$(mktemp -d "${TMPDIR:-/tmp}/qiru-wine.XXXXXX")"
cleanup() {
  WINEPREFIX="$wineprefix" wineserver -k 2>/dev/null || true
  rm -rf "$wineprefix"
}
trap cleanup EXIT
export WINEPREFIX="$wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" DISPLAY=
# One Wine server for every program run here, kept up between them instead
# of started afresh for each; started before the prefix is made.
wineserver -p
wineboot --init >/dev/null 2>&1 || true

stage "windows tests"
# A test program that hangs under Wine fails after five minutes instead of
# holding up CI.
ctest --test-dir "$build/qiru" --output-on-failure -j "$(nproc)" --timeout 300

# qiru-steno under Wine against the Linux build's, on the same files.
stage "qiru-steno: Windows against Linux"
if [ ! -f "$linux_build/build.ninja" ]; then
  cmake -S "$root" -B "$linux_build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$linux_build" -j "$(nproc)" --target qiru-steno >/dev/null
timeout 900 "$root/tests/tools/compare_with_linux.sh" "$linux_build/tools/qiru-steno" "$build/qiru/tools/qiru-steno.exe"
stage ""
