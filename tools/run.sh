#!/usr/bin/env bash
# Builds kovrin and starts it under Wine: on your display if DISPLAY is set,
# otherwise on a virtual display started here (the script says which). Ctrl+C
# here ends kovrin; whenever kovrin ends, the virtual display and the
# wineserver started here stop with it.
#   run.sh [PRESET]   default: the debug build that runs on this host
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
cd "$root"

if [ $# -gt 0 ]; then
  preset=$1
  loader=$([[ "$preset" = x64-* ]] && echo /usr/lib/wine/wine64 || echo wine)
else
  pick_build debug
fi
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

# Ends kovrin and every other Wine process of its prefix (the desktop, the
# services) with their wineserver.
stop_kovrin() {
  trap '' INT TERM
  "${WINESERVER:-wineserver}" -k 2>/dev/null || true
  wait "$kovrin" 2>/dev/null || true
}

# In the background and waited for: Wine's GUI programs ignore Ctrl+C, and
# bash runs no trap while a foreground program runs, but `wait` gives way to
# one.
"$loader" "$root/build/$preset/kovrin.exe" &
kovrin=$!
trap 'stop_kovrin; exit 130' INT
trap 'stop_kovrin; exit 143' TERM
wait "$kovrin"
