#!/usr/bin/env bash
# Builds the benchmark (Release) and runs it under Wine on a virtual display.
#   tools/bench.sh [--messages N]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
cd "$root"

pick_build release
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" --target kovrin_bench
state="$root/build/$preset/wine"
bash tools/wine-session.sh start "$state" "$loader" >/dev/null
trap 'bash tools/wine-session.sh stop "$state" "$loader" >/dev/null' EXIT
bash tools/wine-run.sh "$state" "$loader" "build/$preset/tests/kovrin_bench.exe" "$@" </dev/null 2>&1 | cat
