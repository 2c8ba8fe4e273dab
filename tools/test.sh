#!/usr/bin/env bash
# Builds kovrin and runs every test under Wine on a virtual display.
# The product (32-bit) is always built with warnings as errors; the tests run on
# the 32-bit build where the host executes 32-bit code, otherwise on the 64-bit
# build of the same sources.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
cd "$root"

cmake --preset i686-release >/dev/null
cmake --build --preset i686-release

if can_run_32bit; then
  preset=i686-release
else
  echo "test: this host does not execute 32-bit code; running the tests on the 64-bit build"
  preset=x64-test
  cmake --preset x64-test >/dev/null
  cmake --build --preset x64-test
fi
ctest --preset "$preset" "$@"
