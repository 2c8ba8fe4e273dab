#!/usr/bin/env bash
# Builds kovrin-report natively (Release) and runs its benchmark: lines/s and
# peak memory of kovrin-report against a floor (the same file read line by
# line with no analysis), for two sizes of a synthetic touch.log written to
# $TMPDIR (about 600 MB for 20 million lines).
#   tools/report-bench.sh [--runs N] [LINES...]
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

cmake --preset native-release >/dev/null
cmake --build --preset native-release --target kovrin_report_bench kovrin-report
build/native-release/tests/report/kovrin_report_bench "$@"
