#!/usr/bin/env bash
# Builds kovrin and starts it under Wine: on your display if DISPLAY is set,
# otherwise on a virtual display started here (the script says which) and
# stopped again when kovrin ends.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
cd "$root"

pick_build debug
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" --target kovrin

state="$root/build/run-wine"
if [ -z "${DISPLAY:-}" ]; then
  bash tools/wine-session.sh start "$state" "$loader"
  # The virtual display and the wineserver go when kovrin ends or this script
  # is interrupted.
  trap 'bash "$root/tools/wine-session.sh" stop "$state" "$loader" >/dev/null' EXIT
  trap 'exit 130' INT TERM
  source "$state/env"
  echo "run: no display given; kovrin runs on the virtual display $DISPLAY."
  echo "     See it with: import -display $DISPLAY -window root kovrin.png"
  echo "     Close it with Ctrl+C here; the virtual display stops with it."
else
  export WINEPREFIX="$state/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  if [ "$loader" != wine ]; then export WINELOADER="$loader" WINESERVER=/usr/lib/wine/wineserver64; fi
fi
mkdir -p "$root/build/run"
cd "$root/build/run"  # touch.log, touch.csv, logdump.txt and picture are written here
echo "run: starting kovrin in $PWD"
"$loader" "$root/build/$preset/kovrin.exe"
