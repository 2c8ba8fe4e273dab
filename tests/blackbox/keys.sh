#!/usr/bin/env bash
# Real keys and mouse on the built kovrin.exe: the About box from its two
# accelerators, the display modes chosen from the File menu with the keyboard,
# the mouse line in Touch mode, and File > Exit.
#   keys.sh STATE_DIR WINE_LOADER KOVRIN_EXE PROBE_EXE
source "$(dirname "$0")/lib.sh" "$@"

# Dark pixels in a WxH+X+Y area of an X window (root for the whole screen).
dark_pixels() {
  local window=$1 geometry=$2
  import -display "$DISPLAY" -window "$window" png:- 2>/dev/null |
    convert - -crop "$geometry" +repage -colorspace Gray -threshold 50% -negate \
      -format '%[fx:int(w*h*mean)]' info:
}

# The File menu's check marks for Touch, Gesture, Line and Guided Test, read
# off the screen, as "T G L R" with 1 for checked. (Wine cannot read another process's
# menu through its handle, so the probe's menu verbs do not reach kovrin's.)
mode_marks() {
  bb_keys alt+f
  local left top right bottom
  read -r left top right bottom < <(probe popup)
  if [ "${right:-0}" -le 0 ]; then
    echo "no menu"
    return
  fi
  local row=$(((bottom - top - 6) / 6)) marks="" item n
  import -display "$DISPLAY" -window root /tmp/kovrin-bb-menu.$$.png 2>/dev/null
  for item in 1 2 3 4; do # Exit, Touch, Gesture, Line, Guided Test, FullScreen
    n=$(convert /tmp/kovrin-bb-menu.$$.png -crop "16x$((row - 2))+$((left + 2))+$((top + 4 + item * row))" \
      +repage -colorspace Gray -threshold 50% -negate -format '%[fx:int(w*h*mean)]' info:)
    marks="$marks $([ "$n" -gt 3 ] && echo 1 || echo 0)"
  done
  rm -f /tmp/kovrin-bb-menu.$$.png
  bb_keys Escape
  echo "${marks# }"
}

# Chooses the File menu's item that lies `downs` rows below Exit.
choose_file_item() {
  local keys=(alt+f) i
  for ((i = 0; i < $1; i++)); do keys+=(Down); done
  bb_keys "${keys[@]}" Return
}

echo "-- About box from the accelerators, in Line mode"
check "kovrin starts and shows its window" bb_start
bb_focus
check_eq "the About box is closed at start" 0 probe about
bb_keys alt+question
check_eq "Alt+? opens the About box, owned by kovrin" 1 probe about
bb_keys Return
check_eq "Enter closes it" 0 probe about
bb_keys alt+slash
check_eq "Alt+/ opens the About box" 1 probe about
bb_keys Return
check_eq "Enter closes it" 0 probe about

echo "-- display modes from the File menu"
check_eq "Line is checked at start" "0 0 1 0" mode_marks
check_eq "Esc closes the open menu" "0 0 0 0" probe popup
choose_file_item 1
check_eq "File > Touch moves the check mark to Touch" "1 0 0 0" mode_marks
choose_file_item 2
check_eq "File > Gesture moves it to Gesture" "0 1 0 0" mode_marks
choose_file_item 3
check_eq "File > Line moves it back to Line" "0 0 1 0" mode_marks
choose_file_item 3
check_eq "File > Line again keeps Line checked" "0 0 1 0" mode_marks
choose_file_item 4
check_eq "File > Guided Test checks it alone" "0 0 0 1" mode_marks
choose_file_item 4
check_eq "File > Guided Test again ends the run, back in Line mode" "0 0 1 0" mode_marks

echo "-- the mouse line"
read -r ox oy _ _ < <(probe client)
first_row="300x16+$ox+$oy"
line_before=$(dark_pixels "$BB_WID" "$first_row")
xdotool mousemove --window "$BB_WID" $((ox + 400)) $((oy + 300))
sleep 0.5
check_eq "in Line mode a mouse move draws nothing on the first row" "$line_before" \
  dark_pixels "$BB_WID" "$first_row"
choose_file_item 1
sleep 0.3
before=$(dark_pixels "$BB_WID" "$first_row")
check_eq "in Touch mode the first row starts empty" 0 echo "$before"
xdotool mousemove --window "$BB_WID" $((ox + 321)) $((oy + 123))
sleep 0.5
after=$(dark_pixels "$BB_WID" "$first_row")
check "a real mouse move in Touch mode writes its line on the first row ($before -> $after dark pixels)" \
  test "$after" -gt 100
check_eq "the rows below stay empty" 0 dark_pixels "$BB_WID" "300x16+$ox+$((oy + 20))"
bb_stop

echo "-- File > Exit from the keyboard"
check "kovrin starts and shows its window" bb_start
bb_focus
bb_keys alt+f x
bb_wait_exit
check_eq "Alt+F, X ends kovrin with exit code 0" 0 echo "$BB_EXIT"
bb_stop

bb_finish
