#!/usr/bin/env bash
# A testers' zip, the 32-bit one (win32) or the 64-bit one (win64): its name,
# exactly its four files, programs of its architecture that need no DLL but
# Windows' own (static runtimes), and, where this host runs them, both
# programs started under Wine from the folder it was unpacked in.
#   check_zip.sh ZIP STATE_DIR WINE_LOADER PROBE_EXE VERSION LOG
set -uo pipefail
zip=$(realpath "$1") state=$2 loader=$3 probe=$(realpath "$4") version=$5 log=$6
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/../../tools/common.sh"
run=(bash "$root/tools/wine-run.sh" "$state" "$loader")
source "$here/../support/checks.sh"

# Windows' own DLLs, present on every Windows 7 and later.
system_dlls_only() {
  local dll
  [ $# -gt 0 ] || return 1
  for dll in "$@"; do
    case "$dll" in
      kernel32.dll | user32.dll | gdi32.dll | msvcrt.dll | shell32.dll | ole32.dll | advapi32.dll) ;;
      *) return 1 ;;
    esac
  done
}

[ -f "$zip" ] || { echo "no zip at $zip: build the package target of its preset first" >&2; exit 1; }
# The architecture its name claims, and the format its programs must have.
case "$zip" in
  *-win64.zip) arch=win64 format=pei-x86-64 ;;
  *) arch=win32 format=pei-i386 ;;
esac
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
(cd "$dir" && cmake -E tar xf "$zip") || exit 1

check "the zip is named kovrin-$version-$arch.zip" [ "$(basename "$zip")" = "kovrin-$version-$arch.zip" ]
files=$(cd "$dir" && find . -mindepth 1 | sort | tr '\n' ' ')
check "it holds kovrin.exe, kovrin-report.exe, LICENSE.txt and quick-start.txt only ($files)" \
  [ "$files" = "./LICENSE.txt ./kovrin-report.exe ./kovrin.exe ./quick-start.txt " ]
for exe in kovrin.exe kovrin-report.exe; do
  check "$exe is a $format program" grep -q "file format $format\$" \
    <(x86_64-w64-mingw32-objdump -f "$dir/$exe")
  dlls=$(x86_64-w64-mingw32-objdump -p "$dir/$exe" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z' | tr -d '\r')
  check "$exe imports Windows' own DLLs only ($(echo $dlls))" system_dlls_only $dlls
done

if [ "$arch" = win32 ] && ! can_run_32bit; then
  echo "note: this host does not execute 32-bit code: the zip's programs were not started"
else
  cp "$log" "$dir/touch.log"
  cd "$dir"
  check "kovrin-report.exe --version prints 'kovrin-report $version'" \
    [ "$("${run[@]}" ./kovrin-report.exe --version </dev/null | tr -d '\r')" = "kovrin-report $version" ]
  out=$("${run[@]}" ./kovrin-report.exe touch.log </dev/null 2>&1)
  check "kovrin-report.exe reads a log and exits 0" [ $? = 0 ]
  check "and prints its summary" grep -q "^kovrin-report: touch.log" <<<"$out"
  # From a Unix terminal Wine gives it a console of its own, but no window:
  # as from any shell, no page and no wait (input that never ends).
  timeout 60 script -qec "${run[*]} ./kovrin-report.exe touch.log" /dev/null >/dev/null 2>&1 \
    < <(exec sleep 90 2>/dev/null)
  check "from a terminal it ends by itself" [ $? = 0 ]
  check "and writes no page" [ ! -e touch.html ]
  check "kovrin.exe shows its window and exits cleanly" "${run[@]}" "$probe" smoke "Z:$dir/kovrin.exe"
fi
checks_done
