#!/usr/bin/env bash
# build.sh BUILD_DIR [CMAKE_OPTIONS...]: configures (once) and builds qiru-pk.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
# shellcheck source=scripts/compiler-cache.sh
. "$root/scripts/compiler-cache.sh"
build_dir="$1"
shift
cmake -S "$root" -B "$build_dir" -G Ninja "$@" >/dev/null
cmake --build "$build_dir" -j "$(nproc)"
