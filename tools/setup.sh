#!/usr/bin/env bash
# Installs everything kovrin needs to be built, run and tested on Debian 12:
# the MinGW-w64 i686 cross compilers, CMake, GoogleTest sources, Wine (32-bit),
# Xvfb, xdotool and ImageMagick. The 64-bit MinGW compilers and Wine serve the
# tests on hosts whose kernel does not execute 32-bit code (32-bit Wine cannot
# start there). kovrin-report is also built natively (g++), fuzzed with clang's
# libFuzzer, and its page is checked in headless Chromium. Safe to run again:
# installed packages are skipped.
set -euo pipefail

packages=(
  cmake ninja-build make g++
  g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix binutils-mingw-w64-i686
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  mingw-w64-i686-dev mingw-w64-x86-64-dev
  googletest
  wine wine64 wine32:i386
  xvfb xauth x11-utils xdotool
  imagemagick
  clang-format
  clang libclang-rt-14-dev
  chromium
  python3
)

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  "${sudo_cmd[@]}" dpkg --add-architecture i386
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
else
  echo "setup: all packages present"
fi
