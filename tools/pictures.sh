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

# Exit 1: the held finger and the swipe fail their limits, as intended.
"$root/build/native-release/kovrin-report" --px-per-mm 3.78 --max-jitter 0.5mm --max-gap 30 \
  --html "$work/report.html" "$work/touch.log" >/dev/null || [ $? = 1 ]
timeout -k 5 120 chromium --headless --no-sandbox --disable-gpu --hide-scrollbars --force-device-scale-factor=1 \
  --user-data-dir="$work/profile" --window-size=1100,1500 --screenshot="$work/report.png" \
  "file://$work/report.html" >/dev/null 2>&1
convert "$work/report.png" -strip "docs/report.png"
echo "docs/report.png"

# The timing section of the page for the touch.csv of the same run, scrolled
# to by an anchor in a frame (the page itself holds no script).
"$root/build/native-release/kovrin-report" --max-interval 30 --min-rate 100 \
  --html "$work/timing.html" "$work/touch.csv" >/dev/null || [ $? = 1 ]
echo '<!DOCTYPE html><body style="margin:0"><iframe src="timing.html#timing" style="border:0;width:1100px;height:760px"></iframe>' >"$work/frame.html"
timeout -k 5 120 chromium --headless --no-sandbox --disable-gpu --hide-scrollbars --force-device-scale-factor=1 \
  --user-data-dir="$work/profile" --window-size=1100,760 --screenshot="$work/timing.png" \
  "file://$work/frame.html" >/dev/null 2>&1
convert "$work/timing.png" -strip "docs/report-timing.png"
echo "docs/report-timing.png"

# The guided run's section of the page for that run's touch.csv and the
# guide.csv beside it.
"$root/build/native-release/kovrin-report" --max-offset 3 \
  --html "$work/guide/guided.html" "$work/guide/touch.csv" >/dev/null || [ $? = 1 ]
echo '<!DOCTYPE html><body style="margin:0"><iframe src="guided.html#guided" style="border:0;width:1100px;height:900px"></iframe>' >"$work/guide/frame.html"
timeout -k 5 120 chromium --headless --no-sandbox --disable-gpu --hide-scrollbars --force-device-scale-factor=1 \
  --user-data-dir="$work/profile" --window-size=1100,900 --screenshot="$work/guided.png" \
  "file://$work/guide/frame.html" >/dev/null 2>&1
convert "$work/guided.png" -strip "docs/report-guided.png"
echo "docs/report-guided.png"
rm -rf "$work"
