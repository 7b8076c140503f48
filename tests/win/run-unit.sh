#!/usr/bin/env bash
# The cross-built GoogleTest suite against the real Win32 seams and the real program.
set -euo pipefail
root=$1
MV_DIST_DIR=$(winepath -w "$root/dist")
export MV_DIST_DIR
# The screenshot suites link a CJK font behind the dialog fonts; the caption checks here
# count pixels of the exact text colour with the prefix's own fonts.
source "$root/tests/win/screen-lib.sh"
unlink_cjk_font
wine "$root/build/windows/win_tests.exe" --gtest_brief=1 --gtest_filter="-ShellNoDriver.*:Shell.*:ShellFaults.*:ShellStart.*:ShellTray.*:ShellTrayStatus.*:ShellProfiles.*:DeviceLink.*"
