# Shared by the build, run and test scripts.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# True when this host executes 32-bit x86 code, which 32-bit Wine needs.
can_run_32bit() {
  [ -x /lib/ld-linux.so.2 ] && /lib/ld-linux.so.2 --help >/dev/null 2>&1
}
