#!/usr/bin/env bash
# The cross-built GoogleTest suite against the real Win32 seams and the real program.
set -euo pipefail
root=$1
MV_DIST_DIR=$(winepath -w "$root/dist")
export MV_DIST_DIR
# The screenshot suites link a CJK font behind the dialog fonts. The caption checks here
# count pixels of the exact text colour and were written with the prefix's own fonts: with
# the link in place a two-line tile caption shows as one 7-pixel band. Unlinked again.
for face in Tahoma "MS Shell Dlg" "MS Shell Dlg 2" "Microsoft Sans Serif"; do
  wine reg delete 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' /v "$face" /f \
    >/dev/null 2>&1 || true
done
wine "$root/build/windows/win_tests.exe" --gtest_brief=1 --gtest_filter="-ShellNoDriver.*:Shell.*:ShellFaults.*:DeviceLink.*"
