#!/usr/bin/env bash
# The cross-built GoogleTest suite against the real Win32 seams and the real program, but
# for the tests of the program with the driver channel (run-shell.sh). In three parts that
# can run side by side, each in its own prefix:
#   controls  the skinned controls, menus, the pointer dialog and the editors
#   timing    the tests that measure time: a macro recording's pauses, animation frames
#   rest      everything else: the settings window, dialogs, input and windows
#   run-unit.sh ROOT controls|timing|rest
set -uo pipefail
source "$(dirname "$0")/harness.sh"
controls='BitmapBtnTest.*:BmpMenuTest.*:PointerSeting.*:EditorTest.*'
timing='MacroEditorTest.*:PictureEx.*'
# Run by the keyboard suite, in both languages: high contrast, "show animations", the label's speech.
look='SettingsWindowLook.*:FeedbackLabelTest.*'
shell='ShellNoDriver.*:Shell.*:ShellFaults.*:ShellStart.*:ShellTray.*:ShellTrayStatus.*:ShellProfiles.*:DeviceLink.*'
part=${2:-}
case $part in
  controls) filter=$controls ;;
  timing) filter=$timing ;;
  rest) filter="-$controls:$timing:$shell:$look" ;;
  *) echo "usage: run-unit.sh ROOT controls|timing|rest" >&2; exit 2 ;;
esac
suite "unit-$part" "$1"
MV_DIST_DIR=$(winepath -w "$root/dist")
export MV_DIST_DIR
# The timing part measures time: it runs with no other suite at work.
[[ $part == timing ]] && quiet_begin
check "win_tests.exe --gtest_filter=$filter" wine "$root/build/windows/win_tests.exe" --gtest_brief=1 --gtest_filter="$filter"
finish
