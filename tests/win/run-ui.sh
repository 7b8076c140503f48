#!/usr/bin/env bash
# The settings window of the real program used with real pointer and keyboard input
# (xdotool), against the stand-in driver:
#   - with the function menu open, Space, Enter and the arrow keys change no record and the
#     settings window keeps the activation and the focus; Escape and a click in another
#     window close the menu; a function picked with the pointer still reaches the record;
#   - for every notch of the pointer dialog, the slider shows that notch and OK applies the
#     speed it shows, read from Wine's trace of SystemParametersInfo;
#   - after Restore defaults the pointer dialog shows speed 10 with acceleration on;
#   - hiding the settings window hides its dialogs.
# Records are read from the registry after Apply.
#   run-ui.sh ROOT [PROGRAM_FOLDER]   (default ROOT/dist; another build's folder shows which checks it fails)
set -uo pipefail
source "$(dirname "$0")/harness.sh"
suite ui "$1"
program=${2:-$root/dist}
fresh_output ui
skins=$program/skins

# The stand-in driver, so that Apply saves.
check "the stand-in driver answers" ensure_standin

wine reg delete 'HKLM\Software\Morvi\MVSET' /f >/dev/null 2>&1
wine reg add 'HKCU\Control Panel\Mouse' /v MouseSensitivity /t REG_SZ /d 4 /f >/dev/null 2>&1
wine reg add 'HKCU\Control Panel\Mouse' /v MouseSpeed /t REG_SZ /d 0 /f >/dev/null 2>&1

trace=$out/system-trace.txt
WINEDEBUG=trace+system start_program "$program" "$trace"
check "settings window shown" test -n "${X:-}" || finish

# The action codes of the 17 records as saved by Apply, in slot order (hex).
saved_codes() {
  local hex
  hex=$(wine reg query 'HKLM\Software\Morvi\MVSET\Corvel' /v ButtonSetting 2>/dev/null | tr -d '\r' |
        awk '/REG_BINARY/ {print $NF}')
  for n in $(seq 0 16); do printf '%s ' "${hex:$(((16 + 526 * n + 1) * 2)):2}"; done
}
defaults="A1 02 09 0A 10 11 A3 25 A4 55 21 03 05 04 58 59 A2 "
apply() { click 612 445 2; }

# The issue's case: slot 13 (three-finger right, page 3) selected, the menu open, keys typed.
click 363 85          # page 3: its first gesture (slot 11) is selected
click 344 185         # slot 13
click 160 378         # the function button: the menu opens below it
wait_popups 1
check "menu open (first level)" test "$POPUPS" = 1
menu=(${POPUP[0]:-0 0 0 0})
# Rest the pointer on the media category (its second level opens) and then on its first entry.
point_screen $((menu[0] + 30)) $((menu[1] + 3 * 18 + 8))
wait_popups 2
check "second level open" test "$POPUPS" = 2
sub=(${POPUP[0]:-0 0 0 0})
point_screen $((sub[0] + 30)) $((sub[1] + 8))
keys space Down Down space Return Right Left Up space Return
read_state
check "keys: the menu is still open, nothing picked ($POPUPS levels)" test "$POPUPS" -ge 1
check "keys: the settings window keeps the activation (foreground=$FOREGROUND active=$ACTIVE)" \
  test "$FOREGROUND" = main -a "$ACTIVE" = main
check "keys: the focus stays in the settings window (focus=$FOCUS)" test "$FOCUS" = child -o "$FOCUS" = main
point_screen $((menu[0] + 30)) $((menu[1] + 8))
keys Escape
read_state
check "Escape closes the menu" test "$POPUPS" = 0
apply
check "no record changed by the keys" test "$(saved_codes)" = "$defaults"

# A click in another program's window closes the menu without picking anything.
click 160 378
wait_popups 1
check "menu open again" test "$POPUPS" = 1
wine "$state_exe" outside 20 20 180 120 12 &
outside=$!
sleep 3
click_screen 100 80 1.5
read_state
check "a click outside closes the menu (popups=$POPUPS, foreground=$FOREGROUND)" test "$POPUPS" = 0
wait "$outside"
click 612 445 2
check "no record changed by the click outside" test "$(saved_codes)" = "$defaults"

# A function picked with the pointer does reach the record of the gesture on screen.
click 160 378
wait_popups 1
menu=(${POPUP[0]:-0 0 0 0})
point_screen $((menu[0] + 30)) $((menu[1] + 8))     # basic functions
wait_popups 2
sub=(${POPUP[0]:-0 0 0 0})
click_screen $((sub[0] + 30)) $((sub[1] + 8))       # its first entry: Cut
read_state
check "the pick closes the menu" test "$POPUPS" = 0
apply
expected="A1 02 09 0A 10 11 A3 25 A4 55 21 03 05 40 58 59 A2 "
check "the pick is stored in slot 13 alone ($(saved_codes))" test "$(saved_codes)" = "$expected"

# The pointer dialog: for every notch, what it shows and what OK applies.
last_speed() {  # the speed of the last SPI_SETMOUSESPEED in the trace, in decimal
  local v
  v=$(grep -a 'NtUserSystemParametersInfo (113,' "$trace" | tail -1 | sed -n 's/.*(113, [0-9]*, \(0x[0-9a-fA-F]*\|[0-9a-fA-F]*\),.*/\1/p')
  [[ -n "$v" ]] && printf '%d' "0x${v#0x}"
}
open_pointer() {
  click 349 378 1.5
  wait_popups 1 || return 1
  dialog=(${POPUP[0]:-0 0 0 0})
}
for n in 0 1 2 3 4 5 6 7 8 9; do
  open_pointer || { check "pointer dialog open (notch $n)" false; continue; }
  notch_x=$(((85 + 194 * n + 5) / 10))
  click_screen $((dialog[0] + 36 + notch_x)) $((dialog[1] + 57)) 1
  shot "$out/notch.png"
  crop "$out/notch.png" $((dialog[0] + 36)) $((dialog[1] + 47)) 189 21 "$out/slider-$n.png"
  d=$(rmse "$out/slider-$n.png" "$skins/pointer_speed_$((n + 1)).png")
  check "notch $n: the slider shows it (rmse $d)" test "$d" -le 5
  click_screen $((dialog[0] + 160)) $((dialog[1] + 140)) 1.5   # OK
  want=$(( n == 0 ? 1 : n == 9 ? 20 : 2 * n ))
  got=$(last_speed)
  check "notch $n: OK applies speed $want (trace: ${got:-none})" test "${got:-x}" = "$want"
done

# The user's settings since the start: speed 20 (the last notch) and acceleration off, as the
# dialog shows and the registry holds. Restore defaults: the dialog shows speed 10 with
# acceleration on.
mouse_value() { wine reg query 'HKCU\Control Panel\Mouse' /v "$1" 2>/dev/null | tr -d '\r' | awk '/REG_SZ/ {print $NF}'; }
check "before the restore: speed $(mouse_value MouseSensitivity), acceleration $(mouse_value MouseSpeed)" \
  test "$(mouse_value MouseSensitivity)/$(mouse_value MouseSpeed)" = 20/0
crop_toggle() {
  crop "$1" $((dialog[0] + 36)) $((dialog[1] + 97)) 190 19 "$2"
}
crop "$skins/pointer_setting_down.png" 36 97 190 19 "$out/toggle-on.png"
crop "$skins/pointer_setting_normal.png" 36 97 190 19 "$out/toggle-off.png"
open_pointer
shot "$out/before-restore.png"
crop_toggle "$out/before-restore.png" "$out/toggle-before.png"
on=$(rmse "$out/toggle-before.png" "$out/toggle-on.png")
off=$(rmse "$out/toggle-before.png" "$out/toggle-off.png")
check "before the restore acceleration shows off (rmse on $on, off $off)" test "$off" -lt "$on"
click_screen $((dialog[0] + 225)) $((dialog[1] + 140)) 1.5  # cancel
click 500 445 1.5                                            # restore defaults
wait_popups 1
restore=(${POPUP[0]:-0 0 0 0})
click_screen $((restore[0] + 160)) $((restore[1] + 140)) 3   # its OK
check "Restore defaults set speed 10 (trace: $(last_speed))" test "$(last_speed)" = 10
open_pointer
shot "$out/after-restore.png"
crop "$out/after-restore.png" $((dialog[0] + 36)) $((dialog[1] + 47)) 189 21 "$out/slider-restored.png"
d=$(rmse "$out/slider-restored.png" "$skins/pointer_speed_6.png")
check "after Restore defaults the slider shows speed 10 (rmse $d)" test "$d" -le 5
crop_toggle "$out/after-restore.png" "$out/toggle-restored.png"
on=$(rmse "$out/toggle-restored.png" "$out/toggle-on.png")
off=$(rmse "$out/toggle-restored.png" "$out/toggle-off.png")
check "after Restore defaults acceleration shows on (rmse on $on, off $off)" test "$on" -lt "$off"

# Both dialogs belong to the settings window: closing it hides them.
click 500 445 1.5      # the restore question as well
wait_popups 2
check "two dialogs shown ($POPUPS)" test "$POPUPS" = 2
click 695 13 3         # the settings window's close button
read_state
check "closing the settings window hides its dialogs ($POPUPS left)" test "$POPUPS" = 0

stop_program
finish
