#!/usr/bin/env bash
# The program's main job: sets up, builds, and runs qiru-pk.
# With a display it opens the match window (arguments go to qiru-pk);
# without one it plays a short match between two bots in an offscreen
# window and prints the key records and the result. A first argument that is
# a qiru-steno command (decode, check, layout, record, replay, simulate) runs
# qiru-steno instead.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/setup-debian.sh"
"$root/scripts/build.sh" "$root/build/release" -DCMAKE_BUILD_TYPE=Release -DQIRU_BUILD_BENCHMARKS=OFF
bin="$root/build/release"
case "${1:-}" in
  decode|check|layout|record|replay|simulate)
    exec "$bin/tools/qiru-steno" "$@" ;;
esac
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec "$bin/app/qiru-pk" "$@"
fi
echo "run: no display; playing a short match between two bots (qiru-pk --autoplay)" >&2
exec "$bin/app/qiru-pk" --autoplay --mode 1 --entries 20 --red cpm=300 --blue cpm=240,errors=0.05 "$@"
