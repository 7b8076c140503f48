#!/usr/bin/env bash
# The built program: a 32-bit GUI executable that asks for administrator rights,
# uses common controls 6, needs no MinGW runtime DLL and loads COM, pictures, dialogs and common
# controls on demand.
#   run-package.sh ROOT
set -uo pipefail
source "$(dirname "$0")/harness.sh"
suite package "$1" no-wine
exe="$root/dist/MorviCorvelConfig.exe"
kind=$(file -b "$exe")
gui_i386() { [[ "$kind" == *"PE32 executable (GUI) Intel 80386"* ]]; }
check "a PE32 GUI i386 program ($kind)" gui_i386
check "the manifest asks for administrator rights" grep -aq 'level="requireAdministrator"' "$exe"
check "the manifest asks for common controls 6" grep -aq 'Microsoft.Windows.Common-Controls' "$exe"
dlls=$(i686-w64-mingw32-objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z')
imports() { grep -qx "$1" <<<"$dlls"; }
check "imports some DLL" test -n "$dlls"
for bad in libstdc++-6.dll libgcc_s_dw2-1.dll libgcc_s_sjlj-1.dll libwinpthread-1.dll; do
  check "does not link $bad dynamically" not imports "$bad"
done
# A resident program that is never opened loads no COM, picture, dialog or common-controls
# DLL: they come on demand, from system32.
for late in ole32.dll oleaut32.dll comdlg32.dll gdiplus.dll comctl32.dll; do
  check "does not import $late at start" not imports "$late"
done
# Sections at page boundaries in the file: the loader maps them instead of copying them into
# private memory.
file_alignment=$(i686-w64-mingw32-objdump -p "$exe" | sed -n 's/^FileAlignment\s*//p')
check "file alignment of a page ($file_alignment)" test "$((16#$file_alignment))" -eq 4096
finish
