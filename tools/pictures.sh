#!/usr/bin/env bash
# Renders each mode through the real window code under Wine and writes the
# pictures of docs/ (PNG, converted from the program's own BMP snapshots).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
cd "$root"

build_release_harness kovrin_pictures
work=$(mktemp -d)
(cd "$work" && bash "$root/tools/wine-run.sh" "$state" "$loader" "$root/build/$preset/tests/kovrin_pictures.exe" </dev/null >/dev/null 2>&1)
for name in line touch gesture about; do
  # The snapshot's bfSize field is 0 by design; ImageMagick warns about it.
  convert "bmp:$work/$name.bmp" -strip "docs/$name.png" 2>/dev/null || [ -s "docs/$name.png" ]
  echo "docs/$name.png"
done
rm -rf "$work"
