#!/usr/bin/env bash
# Builds kovrin and starts it under Wine: on your display if DISPLAY is set,
# otherwise on a virtual display started here (the script says which).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
cd "$root"

pick_build debug
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" --target kovrin

state="$root/build/run-wine"
if [ -z "${DISPLAY:-}" ]; then
  bash tools/wine-session.sh start "$state" "$loader"
  source "$state/env"
  echo "run: no display given; kovrin runs on the virtual display $DISPLAY."
  echo "     See it with: import -display $DISPLAY -window root kovrin.png"
else
  export WINEPREFIX="$state/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  if [ "$loader" != wine ]; then export WINELOADER="$loader" WINESERVER=/usr/lib/wine/wineserver64; fi
fi
mkdir -p "$root/build/run"
cd "$root/build/run"  # touch.log, logdump.txt and picture are written here
echo "run: starting kovrin in $PWD"
exec "$loader" "$root/build/$preset/kovrin.exe"
