#!/usr/bin/env bash
# Rewrites every generated file of data/ from its generator in tools/datagen.
# Run it after changing a generator, then commit data/ with the change.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build_dir="$root/build/normal"
cmake -S "$root" -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build_dir" --target qiru-gen-data
"$build_dir/tools/qiru-gen-data" "$root/data"
