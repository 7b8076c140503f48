#!/usr/bin/env bash
# The cross-built GoogleTest suite against the real Win32 seams and the real program.
set -euo pipefail
root=$1
MV_DIST_DIR=$(winepath -w "$root/dist")
export MV_DIST_DIR
wine "$root/build/windows/win_tests.exe" --gtest_brief=1 --gtest_filter="-ShellNoDriver.*:Shell.*:ShellFaults.*:ShellProfiles.*:DeviceLink.*"
