#!/usr/bin/env bash
# Checks the formatting, builds kovrin and runs every test under Wine on a
# virtual display. The product (32-bit) is always built with warnings as
# errors; the tests run on the build that pick_build chooses for this host.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
cd "$root"

# Every tracked C++ source formatted as .clang-format says.
if ! git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror; then
  echo "test: unformatted sources; format them with: git ls-files '*.cpp' '*.h' | xargs clang-format -i" >&2
  exit 1
fi

cmake --preset i686-release >/dev/null
cmake --build --preset i686-release

pick_build test
if [ "$preset" != i686-release ]; then
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
fi
ctest --preset "$preset" "$@"
