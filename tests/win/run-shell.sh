#!/usr/bin/env bash
# The program and the driver channel (the shell tests of win_tests.exe), in three parts that
# run side by side, each in its own prefix:
#   no-driver  with no driver in the prefix
#   driver     against the stand-in driver: the device link, gestures, stored functions,
#              apply and restore, arrival and removal, profiles
#   tray       against the stand-in driver: the tray icon with real pointer input and its
#              status, start-up cases, refused and failing requests
#   run-shell.sh ROOT no-driver|driver|tray
set -uo pipefail
source "$(dirname "$0")/harness.sh"
part=${2:-}
case $part in
  no-driver) filter='ShellNoDriver.*' ;;
  driver) filter='DeviceLink.*:Shell.*:ShellProfiles.*' ;;
  tray) filter='ShellTray.*:ShellTrayStatus.*:ShellStart.*:ShellFaults.*' ;;
  *) echo "usage: run-shell.sh ROOT no-driver|driver|tray" >&2; exit 2 ;;
esac
suite "shell-$part" "$1"
MV_DIST_DIR=$(winepath -w "$root/dist")
MV_TOUCHSIM=$(winepath -w "$touchsim_exe")
# Real pointer and keyboard input for the tray and window tests goes through the X server.
MV_XDOTOOL=$(command -v xdotool || true)
MV_TRAY_TIPS=$(winepath -w "$root/build/windows/tray_tips.exe")
export MV_DIST_DIR MV_TOUCHSIM MV_XDOTOOL MV_TRAY_TIPS

if [[ $part != no-driver ]]; then
  # Started while no other program runs: a kernel driver started beside a running program
  # takes Wine half a minute.
  wineserver -w
  check "the stand-in driver answers" ensure_standin
else
  check "no driver in the prefix" not quiet touchsim status
  # Its first test looks for the tray icon as soon as the window has its title, which the
  # program sets just before it adds the icon: seen to lose that race beside other suites.
  quiet_begin
fi
check "win_tests.exe --gtest_filter=$filter" wine "$root/build/windows/win_tests.exe" --gtest_brief=1 --gtest_filter="$filter"
finish
