#!/usr/bin/env bash
# Checks the formatting, then builds and runs every test: kovrin-report's
# native tests and its time-bounded fuzzing, then kovrin's (and
# kovrin-report.exe's) tests under Wine on a virtual display. The product
# (32-bit) is always built with warnings as errors; the Wine tests run on the
# build that pick_build chooses for this host. Arguments go to the last ctest.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
cd "$root"

# Every tracked C++ source formatted as .clang-format says.
if ! git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror; then
  echo "test: unformatted sources; format them with: git ls-files '*.cpp' '*.h' | xargs clang-format -i" >&2
  exit 1
fi

# kovrin-report on this machine; the Wine tests compare the .exe with it.
cmake --preset native-release >/dev/null
cmake --build --preset native-release
ctest --preset native-release
cmake --preset report-fuzz >/dev/null
cmake --build --preset report-fuzz
ctest --preset report-fuzz

cmake --preset i686-release >/dev/null
# Everything, then the testers' zip that the Wine suite checks.
cmake --build --preset i686-release --target package

pick_build test
if [ "$preset" != i686-release ]; then
  # Everything, then its own zip: the one whose programs start on this host.
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" --target package
fi
ctest --preset "$preset" "$@"
