# Shared by the build, run and test scripts.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# True when this host executes 32-bit x86 code, which 32-bit Wine needs.
can_run_32bit() {
  [ -x /lib/ld-linux.so.2 ] && /lib/ld-linux.so.2 --help >/dev/null 2>&1
}

# Sets preset and loader for a build that runs here: the 32-bit build where the
# host executes 32-bit code, else the 64-bit build of the same sources. The
# tests run on the product's build (i686-release) or on x64-test.
#   pick_build release|debug|test
pick_build() {
  if can_run_32bit; then
    preset=i686-$([ "$1" = test ] && echo release || echo "$1") loader=wine
  else
    echo "note: this host does not execute 32-bit code; using the 64-bit build" >&2
    preset=$([ "$1" = release ] && echo x64-release || echo x64-test) loader=/usr/lib/wine/wine64
  fi
}

# Builds TARGET in the Release build that runs here and starts its Wine
# session, stopped again when the calling script exits. Sets preset, loader
# and state.
#   build_release_harness TARGET
build_release_harness() {
  pick_build release
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" --target "$1"
  state="$root/build/$preset/wine"
  bash "$root/tools/wine-session.sh" start "$state" "$loader" >/dev/null
  trap 'bash "$root/tools/wine-session.sh" stop "$state" "$loader" >/dev/null' EXIT
}
