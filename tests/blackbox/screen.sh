#!/usr/bin/env bash
# Real keys on the built kovrin.exe: Space toggles full screen and back, Ctrl+S
# writes "picture", a BMP of the whole window, into kovrin's working directory.
#   screen.sh STATE_DIR WINE_LOADER KOVRIN_EXE PROBE_EXE
# The display change is the real one here: the checks hold whether the
# platform accepts the full-screen mode or refuses it.
source "$(dirname "$0")/lib.sh" "$@"

# settle EXPECTED COMMAND...: waits up to 5 s for the command to print
# EXPECTED (the window changes after the key, not with it).
settle() {
  local expected=$1
  shift
  for _ in $(seq 50); do
    [ "$("$@" 2>/dev/null)" = "$expected" ] && return 0
    sleep 0.1
  done
  return 1
}

# eventually COMMAND...: retries the command for up to 5 s until it succeeds.
eventually() {
  for _ in $(seq 49); do
    "$@" 2>/dev/null && return 0
    sleep 0.1
  done
  "$@"
}

# le FILE OFFSET BYTES: the little-endian unsigned number stored there.
le() {
  od -An -t "u$3" -j "$2" -N "$3" "$1" | tr -d ' \n'
}

# Styles with the bits the system adds on its own (maximised, clip siblings) masked out.
style_of() {
  local s e
  read -r s e <<<"$(probe style)"
  printf '%08x %08x\n' $((0x$s & ~0x05000000)) $((0x$e))
}

# picture_matches RECT: "picture" is a 24-bit bottom-up BMP as large as RECT.
picture_matches() {
  local l t r b w h stride got file=$BB_DIR/picture
  read -r l t r b <<<"$1"
  w=$((r - l)) h=$((b - t))
  stride=$(((w * 24 + 31) / 32 * 4)) # whole 32-bit words per row
  [ -f "$file" ] || { echo "  no picture" >&2; return 1; }
  got="$(le "$file" 0 2) $(le "$file" 2 4) $(le "$file" 6 2) $(le "$file" 8 2) $(le "$file" 10 4)"
  got+=" $(le "$file" 14 4) $(le "$file" 18 4) $(le "$file" 22 4) $(le "$file" 26 2) $(le "$file" 28 2)"
  for at in 30 34 38 42 46 50; do got+=" $(le "$file" $at 4)"; done
  got+=" $(stat -c %s "$file")"
  local want="19778 0 0 0 54 40 $w $h 1 24 0 0 0 0 0 0 $((54 + stride * h))"
  [ "$got" = "$want" ] || { echo "  header and size '$got', expected '$want'" >&2; return 1; }
}

# What the window looks like: masked style and whether it has its menu bar.
form() {
  echo "$(style_of | cut -c1-8) $(probe menu)"
}

# Overlapped style and the topmost bit of the extended style.
windowed_style() {
  local s e
  read -r s e <<<"$(style_of)"
  printf '%s %08x\n' "$s" $((0x$e & 0x8))
}

only_picture_and_logs() {
  [ "$(ls "$BB_DIR" | tr '\n' ' ')" = "guide.csv picture touch.csv touch.log " ]
}

read -r SCREEN_W SCREEN_H <<<"$(xdotool getdisplaygeometry)"

echo "-- Space: full screen and back"
check "kovrin starts and shows its window" bb_start
bb_focus
windowed=$(probe rect)
check_eq "the window starts overlapped with its menu" "10cf0000 1" form
bb_keys space
settle "90000000 00040008" style_of
check_eq "Space makes it a topmost popup" "90000000 00040008" style_of
read -r l t r b <<<"$(probe rect)"
check "the popup covers the display ($SCREEN_W x $SCREEN_H) from the origin: $l $t $r $b" \
  test "$l" -eq 0 -a "$t" -le 0 -a "$r" -eq "$SCREEN_W" -a "$b" -eq "$SCREEN_H"
entered=$(probe menu)
if [ "$(style_of)" != "90000000 00040008" ]; then
  echo "     (the window did not switch at all)"
elif [ "$entered" = 0 ]; then
  echo "     (the platform accepted the full-screen display mode: the menu bar is removed)"
else
  echo "     (the platform refused the full-screen display mode: the menu bar stays)"
fi

echo "-- Ctrl+S in full screen"
fullRect=$(probe rect)
bb_keys ctrl+s
check "picture is a BMP as large as the full-screen popup ($fullRect)" eventually picture_matches "$fullRect"

if [ "$entered" = 0 ]; then
  bb_keys space
  settle "$windowed" probe rect
  check_eq "Space gives back the window's rectangle" "$windowed" probe rect
  check_eq "... its overlapped style, not topmost" "10cf0000 00000000" windowed_style
  check_eq "... and its menu bar" 1 probe menu
else
  bb_keys space
  check_eq "after a refused change, Space tries to enter again: still a popup" "90000000 00040008" style_of
fi

echo "-- Ctrl+S in the window"
rm -f "$BB_DIR/picture"
rect=$(probe rect)
bb_keys ctrl+s
check "picture is a BMP of the whole window ($rect)" eventually picture_matches "$rect"
echo "not a picture" >"$BB_DIR/picture"
bb_keys ctrl+s
check "a second Ctrl+S replaces it" eventually picture_matches "$rect"
check "no other file is written (no number, no extension)" only_picture_and_logs
bb_stop

bb_finish
