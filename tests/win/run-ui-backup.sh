#!/usr/bin/env bash
# Settings backup with the real program, its file dialogs driven with real keys (xdotool):
#   - export, restore defaults (profiles removed), import: every registry value of ours is
#     byte for byte what it was (regedit's export of the keys before and after compared);
#   - the exported file imports with `wine regedit /S` too, to the same values;
#   - a stored value of the wrong type is left out of an export, and named in a message;
#   - exit while the Open dialog and its own message are up ends the program cleanly;
#   - truncated, wrong-size, foreign-key and wrongly encoded files are refused with a message
#     that names the problem, and nothing changes.
#   run-ui-backup.sh ROOT
set -uo pipefail
source "$(dirname "$0")/harness.sh"
suite ui-backup "$1"
fresh_output backup
py=/usr/bin/python3
files=$root/tests/win/backup_files.py
c_dir=$WINEPREFIX/drive_c/mvtest
rm -rf "$c_dir"
mkdir -p "$c_dir"

ensure_standin
touchsim plug >/dev/null 2>&1
touchsim fail 0 >/dev/null 2>&1
check "the stand-in driver answers" quiet touchsim status

# Stored settings with every byte in use: both values and two profiles, written by regedit.
"$py" "$files" state "$c_dir/state.reg"
wine reg delete 'HKLM\Software\Morvi\MVSET' /f >/dev/null 2>&1
wine regedit /S 'C:\mvtest\state.reg'
# regedit's export of our keys: the registry values as they are.
snapshot() { rm -f "$c_dir/$1"; wine regedit /E "C:\\mvtest\\$1" 'HKEY_LOCAL_MACHINE\Software\Morvi' >/dev/null 2>&1; }
snapshot before.reg
check "the stored settings are in place" grep -qa "W.o.r.d.p.a.d" "$c_dir/before.reg"

start_program "$root/dist"
check "settings window shown" test -n "${X:-}" || finish

# Opens the file dialog of command ID and types PATH with real keys: waits until the dialog
# has the focus in its file name box, types, and reads the box back, typing again over it
# when keys went astray. Returns non-zero when the path never arrived.
type_into_file_dialog() {
  local path=$2 got="" tries
  wine "$state_exe" command "$title" "$1" >/dev/null 2>&1
  for _ in $(seq 60); do
    sleep 0.5
    read_state
    [[ "${POPUPS:-0}" -ge 1 && "$FOREGROUND" == popup ]] && edits | grep -q '^focused=1' && break
  done
  for tries in 1 2 3; do
    keys ctrl+a
    xdotool type --delay 40 "$path"
    sleep 0.5
    got=$(edits | sed -n 's/^edit=//p' | head -1)
    [[ "$got" == "$path" ]] && return 0
    echo "   the file name box holds \"$got\" after typing; typing again"
    xdotool key alt+n
    sleep 0.5
  done
  return 1
}
# The same, then Return, and waits for the dialog to go.
file_dialog() {
  type_into_file_dialog "$@" || return 1
  keys Return
  for _ in $(seq 30); do
    sleep 0.5
    edits | grep -q '^edit=' || return 0
  done
  return 1
}
# Runs COMMAND every half second until it succeeds, for up to 30 seconds.
within() { local i; for i in $(seq 60); do "$@" && return 0; sleep 0.5; done; return 1; }
edits() { wine "$state_exe" edits "$title" 2>/dev/null | tr -d '\r'; }
texts() { wine "$state_exe" texts "$title" 2>/dev/null | tr -d '\r'; }

check "the Save dialog took the typed path and closed" file_dialog 0x7303 'C:\mvtest\exported.reg'
# Writing the file takes a while after the dialog closes; a complete file ends in a blank line.
exported_whole() { [[ -s "$c_dir/exported.reg" ]] && tail -c 8 "$c_dir/exported.reg" | od -An -tx1 | grep -q "0d 00 0a 00 0d 00 0a 00"; }
check "exported" within exported_whole
check "exported in UTF-16LE with the Registry Editor 5 header" \
  bash -c "head -c 74 '$c_dir/exported.reg' | iconv -f UTF-16 -t UTF-8 | grep -q '^Windows Registry Editor Version 5.00'"

# Restore defaults and say yes to removing the profiles.
click 505 450 1.5
wait_popups 1
dlg=(${POPUP[0]:-0 0 0 0})
click_screen $((dlg[0] + 160)) $((dlg[1] + 140)) 2
question=$(texts)
check "restore asks about the 2 profiles ($question)" grep -q "2 program" <<<"$question"
keys Return
sleep 2
snapshot restored.reg
restored=0
check "restore changed the values and removed the profiles" \
  bash -c "! cmp -s '$c_dir/before.reg' '$c_dir/restored.reg' && ! grep -qa 'W.o.r.d.p.a.d' '$c_dir/restored.reg'" &&
  restored=1

check "the Open dialog took the typed path and closed" file_dialog 0x7304 'C:\mvtest\exported.reg'
imported_equal() { snapshot imported.reg; cmp -s "$c_dir/before.reg" "$c_dir/imported.reg"; }
within imported_equal
check "no message after a sound import ($(texts))" test -z "$(texts)"
# Only meaningful when something was exported and the restore changed the values first.
check "export, restore, import: every value byte for byte as before" \
  bash -c "[[ -s '$c_dir/exported.reg' && $restored == 1 ]] && cmp '$c_dir/before.reg' '$c_dir/imported.reg'"
check "the device was told the union again (three-finger click and left reported)" \
  bash -c "wine '$touchsim_exe' log 2>/dev/null | tr -d '\r' | grep '^mode' | tail -1 | grep -q 'mode 0x0000018c'"

# Bad files, each made from the exported one.
"$py" "$files" bad "$c_dir"
bad_file() {  # NAME EXPECTED-TEXT
  snapshot pre.reg
  check "$1: the Open dialog took the typed path and closed" file_dialog 0x7304 "C:\\mvtest\\$1"
  local message
  refused() { message=$(texts); grep -q "Nothing was imported" <<<"$message"; }
  within refused
  check "$1 refused: $message" grep -q "Nothing was imported.*$2" <<<"$message"
  keys Return
  sleep 1
  snapshot post.reg
  check "$1 changed nothing" cmp "$c_dir/pre.reg" "$c_dir/post.reg"
}
bad_file truncated.reg "cut off"
bad_file wrong-size.reg 'Line 4: the value "ButtonSetting" holds 19487 bytes; it must hold 19488'
bad_file foreign-key.reg 'the key "HKEY_LOCAL_MACHINE.Software.Other" is not one'
bad_file utf8.reg "not a Registry Editor file"
bad_file utf16be.reg "not a Registry Editor file"

check "the program exits" wine "$state_exe" exit "$title"

# The exported file restores the settings through regedit as well: the 64-bit regedit, which
# a double-click starts on 64-bit Windows, writes them to the 32-bit view the program reads.
# (Wine's 64-bit regedit creates no new nested key below Software\WOW6432Node, so the
# values are taken out of the keys that are there and must come back.)
check "the export names the 32-bit view" grep -qa "W.O.W.6.4.3.2.N.o.d.e.\\\\.M.o.r.v.i" "$c_dir/exported.reg"
for value in 'Corvel ButtonSetting' 'MVMacro\Corvel MacroSetting'; do
  read -r key name <<<"$value"
  wine reg delete "HKLM\\Software\\Morvi\\MVSET\\$key" /v "$name" /f /reg:32 >/dev/null 2>&1
done
check "the values are gone from the 32-bit view" \
  not bash -c "wine reg query 'HKLM\Software\Morvi\MVSET\Corvel' /v ButtonSetting /reg:32 >/dev/null 2>&1"
wine 'C:\windows\regedit.exe' /S 'C:\mvtest\exported.reg'
snapshot regedit.reg
cp "$c_dir/before.reg" "$c_dir/exported.reg" "$c_dir/regedit.reg" "$out/" 2>/dev/null
# One value of a regedit export, as text: its line and the lines that continue it.
value_text() { iconv -f UTF-16 -t UTF-8 "$1" | tr -d '\r' | awk -v v="\"$2\"=" 'index($0, v) == 1 {on = 1} on {print; if (!/\\$/) exit}'; }
export -f value_text
for name in ButtonSetting MacroSetting; do
  check "after 64-bit regedit /S, the 32-bit view holds $name as before" \
    bash -c "[[ -n \"\$(value_text '$c_dir/before.reg' $name)\" ]] && cmp <(value_text '$c_dir/before.reg' $name) <(value_text '$c_dir/regedit.reg' $name)"
done
# Exit (the tray menu's command) while the Open dialog shows its own message over it: the
# modal windows close as Cancel would and the program ends, no crash. The dialog opens in
# the program's working folder again (Z:), as on a first use: that is where Wine's dialog
# fell over when its owner was destroyed under it.
wine reg delete 'HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\ComDlg32' /f >/dev/null 2>&1
start_program "$root/dist" "$out/second.err"
check "the program starts again" test -n "${X:-}"
check "the Open dialog took a missing file's path" type_into_file_dialog 0x7304 'C:\mvtest\missing.reg'
keys Return
no_such_file() { message=$(texts); grep -q "File does not exist" <<<"$message"; }
check "the Open dialog says the file does not exist" within no_such_file
check "exit with the Open dialog and its message up ends the program" wine "$state_exe" exit "$title"
check "... without a crash" bash -c "! grep -a 'Unhandled' '$out/second.err'"
# A crash would have left Wine's debugger waiting.
end_prefix_processes winedbg.exe

# A stored value of the wrong type is left out of an export, and the user is told which.
wine reg add 'HKLM\Software\Morvi\MVSET\Corvel' /v GestureFeedback /t REG_SZ /d on /f >/dev/null 2>&1
start_program "$root/dist"
check "the program starts a third time" test -n "${X:-}"
check "the Save dialog took the second path and closed" file_dialog 0x7303 'C:\mvtest\left-out.reg'
left_out_named() { message=$(texts); grep -q "except these stored values.*GestureFeedback" <<<"$message"; }
message=""
check "the export names the value it left out" within left_out_named
echo "   $message"
check "the rest is exported, the value left out" \
  bash -c "iconv -f UTF-16 -t UTF-8 '$c_dir/left-out.reg' | grep -q '^.ButtonSetting.=hex' &&
           ! iconv -f UTF-16 -t UTF-8 '$c_dir/left-out.reg' | grep -q GestureFeedback"
check "exit with that message up ends the program" wine "$state_exe" exit "$title"

cp "$c_dir"/*.reg "$out/" 2>/dev/null
finish
