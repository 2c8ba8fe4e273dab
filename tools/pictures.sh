#!/usr/bin/env bash
# Renders each mode and a guided run through the real window code under Wine
# and writes the pictures of docs/ (PNG, converted from the program's own BMP
# snapshots), then
# runs kovrin-report on the touch.log and the touch.csv of that run and
# photographs its page in headless Chromium (docs/report.png, and its timing
# section, docs/report-timing.png), and on the guided run's files
# (docs/report-guided.png).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
cd "$root"

build_release_harness kovrin_pictures
cmake --preset native-release >/dev/null
cmake --build --preset native-release --target kovrin-report
work=$(mktemp -d)
(cd "$work" && bash "$root/tools/wine-run.sh" "$state" "$loader" "$root/build/$preset/tests/kovrin_pictures.exe" </dev/null >/dev/null 2>&1)
# The guided run in a folder of its own: the report pictures keep their logs.
mkdir "$work/guide"
(cd "$work/guide" && bash "$root/tools/wine-run.sh" "$state" "$loader" "$root/build/$preset/tests/kovrin_pictures.exe" guide </dev/null >/dev/null 2>&1)
mv "$work/guide/guide.bmp" "$work/guide.bmp"
for name in line touch gesture about guide; do
  # The snapshot's bfSize field is 0 by design; ImageMagick warns about it.
  convert "bmp:$work/$name.bmp" -strip "docs/$name.png" 2>/dev/null || [ -s "docs/$name.png" ]
  echo "docs/$name.png"
done

# Photographs PAGE (in a frame scrolled to #ANCHOR, when given: the page
# itself holds no script) at 1100 x HEIGHT into docs/NAME.png.
#   shoot PAGE HEIGHT NAME [ANCHOR]
shoot() {
  local page=$1 url="file://$1"
  if [ -n "${4:-}" ]; then
    page="$(dirname "$1")/frame.html" url="file://$(dirname "$1")/frame.html"
    echo "<!DOCTYPE html><body style=\"margin:0\"><iframe src=\"$(basename "$1")#$4\" style=\"border:0;width:1100px;height:$2px\"></iframe>" >"$page"
  fi
  timeout -k 5 120 chromium --headless --no-sandbox --disable-gpu --hide-scrollbars --force-device-scale-factor=1 \
    --user-data-dir="$work/profile" --window-size="1100,$2" --screenshot="$work/$3.png" "$url" >/dev/null 2>&1
  convert "$work/$3.png" -strip "docs/$3.png"
  echo "docs/$3.png"
}

# Exit 1: the held finger and the swipe fail their limits, as intended.
"$root/build/native-release/kovrin-report" --px-per-mm 3.78 --max-jitter 0.5mm --max-gap 30 \
  --html "$work/report.html" "$work/touch.log" >/dev/null || [ $? = 1 ]
shoot "$work/report.html" 1500 report

# The timing section of the page for the touch.csv of the same run.
"$root/build/native-release/kovrin-report" --max-interval 30 --min-rate 100 \
  --html "$work/timing.html" "$work/touch.csv" >/dev/null || [ $? = 1 ]
shoot "$work/timing.html" 760 report-timing timing

# The guided run's section of the page for that run's touch.csv and the
# guide.csv beside it.
"$root/build/native-release/kovrin-report" --max-offset 3 \
  --html "$work/guide/guided.html" "$work/guide/touch.csv" >/dev/null || [ $? = 1 ]
shoot "$work/guide/guided.html" 900 report-guided guided
rm -rf "$work"
