#!/usr/bin/env bash
# Builds the benchmark (Release) and runs it under Wine on a virtual display.
#   tools/bench.sh [--messages N]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
cd "$root"

build_release_harness kovrin_bench
bash tools/wine-run.sh "$state" "$loader" "build/$preset/tests/kovrin_bench.exe" "$@" </dev/null 2>&1 | cat
