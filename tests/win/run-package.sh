#!/usr/bin/env bash
# The built program: a 32-bit GUI executable that asks for administrator rights,
# uses common controls 6 and needs no MinGW runtime DLL.
set -euo pipefail
exe="$1/dist/MorviCorvelConfig.exe"
fail() { echo "FAILED: $*"; exit 1; }
kind=$(file -b "$exe")
[[ "$kind" == *"PE32 executable (GUI) Intel 80386"* ]] || fail "not a PE32 GUI i386 program: $kind"
grep -aq 'level="requireAdministrator"' "$exe" || fail "manifest does not ask for administrator rights"
grep -aq 'Microsoft.Windows.Common-Controls' "$exe" || fail "manifest does not ask for common controls 6"
dlls=$(i686-w64-mingw32-objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z')
for bad in libstdc++-6.dll libgcc_s_dw2-1.dll libgcc_s_sjlj-1.dll libwinpthread-1.dll; do
  grep -qx "$bad" <<<"$dlls" && fail "links $bad dynamically"
done
echo "package checks: 1 passed, 0 failed"
