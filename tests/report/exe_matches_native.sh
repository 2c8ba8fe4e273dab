#!/usr/bin/env bash
# kovrin-report.exe under Wine and the native kovrin-report read the same
# files with the same options: exit codes, JSON (byte for byte) and the
# summary's lines must agree. A touch.csv is also judged by its time limits.
#   exe_matches_native.sh STATE_DIR WINE_LOADER REPORT_EXE NATIVE_REPORT FILE...
set -euo pipefail
state=$(realpath "$1") loader=$2 exe=$(realpath "$3") native=$(realpath "$4")
shift 4
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
if [ ! -x "$native" ]; then
  echo "no native kovrin-report at $native: build the native-release preset first" >&2
  exit 1
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

status=0
for file in "$@"; do
  name=$(basename "$file")
  cp "$file" "$work/$name"
  cd "$work"
  options=(--px-per-mm 3.78 --max-jitter 0.5mm --max-deviation 2 --max-gap 40 --cell 64)
  case "$name" in *.csv) options+=(--min-rate 110 --max-interval 40 --min-contacts 2) ;; esac
  set +e
  "$native" "${options[@]}" --json native.json "$name" >native.txt 2>native.err
  native_rc=$?
  bash "$here/../../tools/wine-run.sh" "$state" "$loader" "$exe" "${options[@]}" --json windows.json "$name" \
    </dev/null >windows.txt 2>windows.err
  windows_rc=$?
  set -e

  if [ "$native_rc" != "$windows_rc" ]; then
    echo "$name: exit codes differ: native $native_rc, Windows $windows_rc" >&2
    status=1
  fi
  if ! cmp -s native.json windows.json; then
    echo "$name: JSON differs:" >&2
    diff native.json windows.json | head -20 >&2 || true
    status=1
  fi
  # The Windows console writes CR LF.
  if ! diff <(cat native.txt) <(tr -d '\r' <windows.txt) >summary.diff; then
    echo "$name: summary differs:" >&2
    head -20 summary.diff >&2
    status=1
  fi
  [ -s native.json ] || { echo "$name: no JSON written" >&2; status=1; }
  [ "$status" = 0 ] && echo "$name: native and Windows builds agree (exit $native_rc, $(wc -c <native.json) bytes of JSON)"
  cd - >/dev/null
done
exit "$status"
