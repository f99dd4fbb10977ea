#!/usr/bin/env bash
# The program's main job: sets up, builds, and runs qiru-pk.
# Until the match window lands this decodes a few chords with the built-in
# fingering scheme; arguments, when given, are passed to qiru-steno instead.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/setup-debian.sh"
"$root/scripts/build.sh" "$root/build/release" -DCMAKE_BUILD_TYPE=Release -DQIRU_BUILD_BENCHMARKS=OFF
if [ $# -gt 0 ]; then
  exec "$root/build/release/tools/qiru-steno" "$@"
fi
exec "$root/build/release/tools/qiru-steno" decode BA:FL :I IFL:IFL RNO: BOG:IBDNG :UO RHNV:
