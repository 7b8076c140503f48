#!/usr/bin/env bash
# The program and the driver channel: first with no driver in the prefix, then against the
# stand-in driver: start-up, the tray icon with real pointer input, the device link.
set -euo pipefail
root=$1
MV_DIST_DIR=$(winepath -w "$root/dist")
MV_TOUCHSIM=$(winepath -w "$root/build/windows/touchsim/touchsim.exe")
# Real pointer and keyboard input for the tray and window tests goes through the X server.
MV_XDOTOOL=$(command -v xdotool || true)
MV_TRAY_TIPS=$(winepath -w "$root/build/windows/tray_tips.exe")
export MV_DIST_DIR MV_TOUCHSIM MV_XDOTOOL MV_TRAY_TIPS
tests=$root/build/windows/win_tests.exe
status=0
wine "$tests" --gtest_brief=1 --gtest_filter='ShellNoDriver.*' || status=1
# Started while no other program runs: a kernel driver started beside a running program
# takes Wine half a minute.
wineserver -w
"$root/tools/touchsim/setup-prefix.sh" "$root/build/windows" >/dev/null || status=1
wine "$tests" --gtest_brief=1 --gtest_filter='DeviceLink.*:Shell.*:ShellFaults.*:ShellStart.*:ShellTray.*:ShellTrayStatus.*:ShellProfiles.*' || status=1
exit $status
