#!/usr/bin/env bash
# Starts or stops the Wine session the tests run in: a virtual display (Xvfb),
# a private Wine prefix and one persistent wineserver, all kept under STATE_DIR.
#   wine-session.sh start|stop STATE_DIR [WINE_LOADER]
set -euo pipefail
action=$1
state=$(mkdir -p "$2" && cd "$2" && pwd)
loader=${3:-wine}

export WINEPREFIX="$state/prefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
wineserver_bin=wineserver
case "$loader" in
  */wine64) [ -x /usr/lib/wine/wineserver64 ] && wineserver_bin=/usr/lib/wine/wineserver64
            export WINELOADER="$loader" ;;
esac
export WINESERVER="$(command -v "$wineserver_bin")"

start_display() {
  if [ -f "$state/xvfb.pid" ] && kill -0 "$(cat "$state/xvfb.pid")" 2>/dev/null; then
    return
  fi
  rm -f "$state/display"
  # -displayfd picks a free display number and writes it once the server is up.
  setsid Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp \
    3>"$state/display" </dev/null >"$state/xvfb.log" 2>&1 &
  echo $! >"$state/xvfb.pid"
  for _ in $(seq 100); do
    [ -s "$state/display" ] && break
    sleep 0.1
  done
  [ -s "$state/display" ] || { echo "Xvfb did not start" >&2; cat "$state/xvfb.log" >&2; exit 1; }
}

case "$action" in
  start)
    start_display
    export DISPLAY=":$(tr -d '[:space:]' <"$state/display")"
    {
      echo "export WINEPREFIX='$WINEPREFIX'"
      echo "export WINEDEBUG=-all"
      echo "export WINEDLLOVERRIDES='mscoree,mshtml='"
      echo "export WINESERVER='$WINESERVER'"
      echo "export DISPLAY='$DISPLAY'"
      [ -n "${WINELOADER:-}" ] && echo "export WINELOADER='$WINELOADER'"
    } >"$state/env"
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
      echo "creating Wine prefix $WINEPREFIX"
      "$loader" wineboot -i </dev/null >"$state/wineboot.log" 2>&1 || true
    fi
    # Windows unmanaged by the (absent) window manager: otherwise every
    # DestroyWindow waits two seconds for a withdrawal that never comes.
    "$loader" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1 || true
    # One server for the whole run: each test process then starts in a fraction
    # of a second instead of seconds.
    setsid "$WINESERVER" -p </dev/null >/dev/null 2>&1 || true
    # Start Wine's own services now, detached from any test's output pipes.
    setsid "$loader" wineboot </dev/null >/dev/null 2>&1 || true
    echo "wine session up on DISPLAY=$DISPLAY"
    ;;
  stop)
    "$WINESERVER" -k 2>/dev/null || true
    if [ -f "$state/xvfb.pid" ]; then
      kill "$(cat "$state/xvfb.pid")" 2>/dev/null || true
      rm -f "$state/xvfb.pid"
    fi
    echo "wine session stopped"
    ;;
  *)
    echo "usage: wine-session.sh start|stop STATE_DIR [WINE_LOADER]" >&2
    exit 2
    ;;
esac
