#!/usr/bin/env bash
# The module may import only DLLs that every Windows system has: a DLL of the
# toolchain's (libwinpthread-1.dll, libstdc++-6.dll, libgcc_s_seh-1.dll) next
# to nothing would stop it from starting at all.
#   check_imports.sh <objdump> <module>
set -uo pipefail
objdump=$1
module=$2
allowed="opengl32.dll glu32.dll gdi32.dll user32.dll advapi32.dll comctl32.dll ole32.dll oleaut32.dll kernel32.dll msvcrt.dll"

imports=$("$objdump" -p "$module" | awk '/DLL Name:/ { print tolower($3) }' | sort -u)
if [[ -z "$imports" ]]; then
  echo "FAIL: no import table found in $module"
  exit 1
fi
status=0
for dll in $imports; do
  if [[ " $allowed " == *" $dll "* ]]; then
    echo "ok      $dll"
  else
    echo "FAIL    $dll is not a system DLL"
    status=1
  fi
done
# The module is a GUI program for 64-bit Windows.
header=$("$objdump" -f -p "$module")
grep -q 'pei-x86-64' <<<"$header" || { echo "FAIL: not a 64-bit PE module"; status=1; }
grep -Eq '^Subsystem[[:space:]]+00000002' <<<"$header" || { echo "FAIL: not a GUI subsystem module"; status=1; }
exit $status
