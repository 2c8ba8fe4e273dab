#!/usr/bin/env bash
# tools/run.sh stopped as a new user stops it: Ctrl+C in its terminal, that is
# SIGINT to the script's process group. The script must end promptly, and with
# it kovrin, every Wine process of its prefix (wineserver included) and the
# virtual display it started.
#   run_ctrl_c.sh PRESET   an already built preset, which run.sh then starts
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../../tools/common.sh"
preset=$1
state="$root/build/run-wine"
source "$(dirname "${BASH_SOURCE[0]}")/../support/checks.sh"

# Processes whose environment names run.sh's Wine prefix.
prefix_processes() {
  grep -lsz "^WINEPREFIX=$state/prefix\$" /proc/[0-9]*/environ | cut -d/ -f3
}

# Waits up to $1 tenths of a second for the command that follows to succeed.
within() {
  local tenths=$1
  shift
  for ((i = 0; i < tenths; i++)); do
    "$@" && return 0
    sleep 0.1
  done
  return 1
}

kovrin_window() {
  [ -s "$state/env" ] && (source "$state/env" && xdotool search --onlyvisible --name '^kovrin$' >/dev/null 2>&1)
}
# Ended (a zombie until waited for counts as ended).
gone() { [ ! -e "/proc/$1" ] || grep -q ') Z ' "/proc/$1/stat" 2>/dev/null; }
no_prefix_process() { [ -z "$(prefix_processes)" ]; }

rm -f "$state/env"
log=$(mktemp)
# A job of its own, as a terminal starts it: the script leads its process
# group, and Ctrl+C is not ignored there (as it is for a script's background
# command).
set -m
env -u DISPLAY bash "$root/tools/run.sh" "$preset" </dev/null >"$log" 2>&1 &
script=$!
set +m
check "kovrin's window appears on run.sh's virtual display" within 1800 kovrin_window
xvfb=$(cat "$state/xvfb.pid" 2>/dev/null)
check "kovrin and its Wine processes run" [ -n "$(prefix_processes)" ]

kill -INT -- "-$script"
check "after Ctrl+C the script ends within 20 s" within 200 gone "$script"
status=running
gone "$script" && { wait "$script"; status=$?; }
check "with the status of an interrupted program (130, got $status)" [ "$status" = 130 ]
check "no Wine process of its prefix is left, wineserver included" within 50 no_prefix_process
check "the virtual display it started has stopped" within 50 gone "${xvfb:-0}"
if [ "$FAILURES" != 0 ]; then
  cat "$log"
  kill -KILL -- "-$script" 2>/dev/null
  bash "$root/tools/wine-session.sh" stop "$state" >/dev/null
fi
rm -f "$log"
checks_done
