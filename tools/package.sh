#!/usr/bin/env bash
# Builds the testers' zip from this checkout: kovrin.exe, kovrin-report.exe,
# the licence and a quick start, as build/i686-release/kovrin-VERSION-win32.zip.
# Run tools/setup.sh once before.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
cd "$root"

cmake --preset i686-release >/dev/null
cmake --build --preset i686-release --target package
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/i686-release/CMakeCache.txt)
echo "package: $root/build/i686-release/kovrin-$version-win32.zip"
