# Shared by the build, run and test scripts.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# True when this host executes 32-bit x86 code, which 32-bit Wine needs.
can_run_32bit() {
  [ -x /lib/ld-linux.so.2 ] && /lib/ld-linux.so.2 --help >/dev/null 2>&1
}

# Sets preset and loader for a build that runs here: the 32-bit build where the
# host executes 32-bit code, else the 64-bit build of the same sources.
#   pick_build release|debug
pick_build() {
  if can_run_32bit; then
    preset=i686-$1 loader=wine
  else
    echo "note: this host does not execute 32-bit code; using the 64-bit build" >&2
    preset=$([ "$1" = release ] && echo x64-release || echo x64-test) loader=/usr/lib/wine/wine64
  fi
}
