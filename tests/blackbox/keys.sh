#!/usr/bin/env bash
# Real keys on the built kovrin.exe: the menus opened and chosen from the
# keyboard.  keys.sh STATE_DIR WINE_LOADER KOVRIN_EXE PROBE_EXE
source "$(dirname "$0")/lib.sh" "$@"

echo "-- File > Exit from the keyboard"
check "kovrin starts and shows its window" bb_start
bb_focus
bb_keys alt+f x
bb_wait_exit
check_eq "Alt+F, X ends kovrin with exit code 0" 0 echo "$BB_EXIT"
bb_stop

bb_finish
