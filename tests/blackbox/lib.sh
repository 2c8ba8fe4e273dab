# Black-box helpers: start the built kovrin.exe under Wine in an empty directory,
# find its X window, type real keys into it with xdotool, and ask the Windows
# side (kovrin_probe.exe query ...) what the window looks like.
#   source lib.sh STATE_DIR WINE_LOADER KOVRIN_EXE PROBE_EXE
# shellcheck disable=SC1091
set -uo pipefail

BB_STATE=$1
BB_LOADER=$2
BB_EXE=$3
BB_PROBE=$4
source "$BB_STATE/env"
source "$(dirname "${BASH_SOURCE[0]}")/../support/checks.sh"
BB_DIR=""
BB_PID=""
BB_WID=""

# probe VERB ARGS...: kovrin_probe.exe query VERB ARGS against the running kovrin.
probe() {
  "$BB_LOADER" "$BB_PROBE" query "$@" </dev/null 2>/dev/null | tr -d '\r'
}

# Starts kovrin in a fresh empty directory and waits for its window.
bb_start() {
  BB_DIR=$(mktemp -d /tmp/kovrin-bb.XXXXXX)
  (cd "$BB_DIR" && exec "$BB_LOADER" "$BB_EXE" </dev/null >"$BB_DIR.out" 2>&1) &
  BB_PID=$!
  BB_WID=""
  for _ in $(seq 200); do
    BB_WID=$(xdotool search --onlyvisible --name '^kovrin$' 2>/dev/null | head -n 1)
    [ -n "$BB_WID" ] && [ "$(probe ready)" = 1 ] && break
    BB_WID=""
    sleep 0.1
  done
  [ -n "$BB_WID" ]
}

# Gives the keyboard focus to kovrin's window (there is no window manager).
bb_focus() {
  xdotool windowfocus --sync "$BB_WID" && sleep 0.2
}

# Real key strokes, as xdotool names them (alt+question, space, ctrl+s, ...).
bb_keys() {
  xdotool key --delay 80 "$@" && sleep 0.4
}

# Waits up to 10 s for kovrin to end and puts its exit code in BB_EXIT
# ("timeout" if it still runs). Not to be called in a subshell.
BB_EXIT=""
bb_wait_exit() {
  BB_EXIT=timeout
  for _ in $(seq 100); do
    if ! kill -0 "$BB_PID" 2>/dev/null; then
      wait "$BB_PID"
      BB_EXIT=$?
      return 0
    fi
    sleep 0.1
  done
}

# Ends kovrin (WM_CLOSE) if it still runs and removes its directory.
bb_stop() {
  if [ -n "$BB_PID" ] && kill -0 "$BB_PID" 2>/dev/null; then
    probe close >/dev/null
    bb_wait_exit
    [ "$BB_EXIT" = timeout ] && kill -9 "$BB_PID" 2>/dev/null
  fi
  rm -rf "$BB_DIR" "$BB_DIR.out"
  BB_PID=""
}

# Prints the summary and sets the exit status.
bb_finish() {
  checks_done
}
