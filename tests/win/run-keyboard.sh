#!/usr/bin/env bash
# The settings window for the keyboard and for assistive technology, on the real program:
#   - every control's name, role and state as a screen reader reads them through oleacc
#     (acc_probe.exe), in English and in Chinese: the settings window at its start, the
#     function menu with a second level open, the tray menu's owner-drawn items and their
#     access keys; the tray menu under high contrast (a picture in build/keyboard);
#   - a function assigned to a gesture and applied with real keys alone (xdotool), read back
#     from ButtonSetting;
#   - a menu opened with the pointer still picks nothing on a key;
#   - the focus rectangle only after keyboard use, and the keyboard's highlight in the menu
#     drawn as the pointer's hover;
#   - Windows' display settings, in English and in Chinese (win_tests.exe with the program
#     folder of that language): the settings window and its function menu under high
#     contrast, the gesture picture held still without "show animations", and the feedback
#     label (spoken, in system colours, without fading); their pictures in build/keyboard.
#   - the dialogs and the editors: every control's name, role and access key in both
#     languages, a button pressed by its access key in each; the pointer dialog opened and driven
#     with keys alone (Tab, arrows, Space, Enter), the restore question with Tab, Escape, Enter on
#     Cancel and Alt+O;
#   - the tray menu's items as wide as their texts (at 96 and 144 DPI), English at 96 DPI as before;
#   - at 144 DPI, in a prefix of its own: a function assigned and applied with keys alone, and the
#     focus frame at the tile's scaled place.
#   run-keyboard.sh ROOT [PROGRAM_FOLDER]   (default ROOT/dist)
set -uo pipefail
source "$(dirname "$0")/harness.sh"
suite keyboard "$1"
program=${2:-$root/dist}
fresh_output keyboard
probe=$root/build/windows/acc_probe.exe
checker=$root/tests/win/accessibility_check.py
tmp=$(mktemp -d)
at_exit 'rm -rf "$tmp"'

# acc_probe.exe MODE into $out/acc-MODE$s.txt, then the checker on it.
read_accessibility() {  # read_accessibility MODE SUFFIX LANGUAGE_XML
  local file=$out/acc-$1$2.txt result status
  wine "$probe" "$1" "$title" 2>/dev/null | tr -d '\r' >"$file"
  result=$(python3 "$checker" "$3" "$1" "$file" | sed "s/\$/$2/")
  status=${PIPESTATUS[0]}
  echo "$result"
  tally "$result" "$status"
}

# acc_probe.exe's popups (the dialog open) into $out/acc-CHECK$s.txt, then the checker's CHECK.
read_dialog() {  # read_dialog CHECK SUFFIX LANGUAGE_XML
  local file=$out/acc-$1$2.txt result status
  wine "$probe" menus "$title" 2>/dev/null | tr -d '\r' >"$file"
  result=$(python3 "$checker" "$3" "$1" "$file" | sed "s/\$/$2/")
  status=${PIPESTATUS[0]}
  echo "$result"
  tally "$result" "$status"
}
# The X focus to the program's popup POPUP[0] ("x y w h"): keys reach a window only through it.
focus_popup() {
  local p=(${POPUP[0]:-0 0 0 0}) id
  id=$(xwininfo -root -tree | awk -v g=" ${p[2]}x${p[3]}+${p[0]}+${p[1]} " 'index($0, g) {print $1; exit}')
  [[ -n "$id" ]] && xdotool windowfocus "$id"
  sleep 0.3
}
# The access key of a text of the language file, in lower case ("tc_access_cancel": c).
access_key() {  # access_key KEY LANGUAGE_XML
  python3 -c 'import re, sys, xml.etree.ElementTree as E
t = next(e.text for e in E.parse(sys.argv[2]).getroot().iter(sys.argv[1]))
print(re.search(r"&([^&])", t.replace("&&", "")).group(1).lower())' "$1" "$2"
}

accessibility() {  # accessibility FOLDER SUFFIX LANGUAGE_XML
  local folder=$1 s=$2 language=$3 menu result status
  if ! start_program "$folder"; then
    check "settings window shown$s" false
    return
  fi
  read_accessibility main "$s" "$language"
  click 227 185          # slot 1: its function has a menu
  click 160 378          # the function button
  wait_popups 1
  menu=(${POPUP[0]:-0 0 0 0})
  point_screen $((menu[0] + 30)) $((menu[1] + 3 * 18 + 8))   # the media category
  wait_popups 2
  read_accessibility menus "$s" "$language"
  point 600 460
  keys Escape
  read_state
  check "Escape closed the menu$s" test "$POPUPS" = 0
  # The dialogs and the key chord editor: every control's name, role and access key; a button of
  # each dialog pressed by its access key (Alt and the key; the key alone where nothing is typed).
  local cancel
  cancel=$(access_key tc_access_cancel "$language")
  click 349 378 1.5
  wait_popups 1 exactly
  read_dialog pointer "$s" "$language"
  focus_popup
  keys Tab                                  # a key: the focus frame and the access keys show
  shot "$out/pointer-cues$s.png"
  keys "alt+$cancel"
  read_state
  check "pointer dialog: Alt+$cancel presses Cancel ($POPUPS open)$s" test "$POPUPS" = 0
  click 500 445 1.5
  wait_popups 1 exactly
  read_dialog restore "$s" "$language"
  focus_popup
  keys "$cancel"
  read_state
  check "restore dialog: $cancel alone presses Cancel ($POPUPS open)$s" test "$POPUPS" = 0
  click 160 378
  wait_popups 1
  menu=(${POPUP[0]:-0 0 0 0})
  point_screen $((menu[0] + 30)) $((menu[1] + 5 * 18 + 8))   # the custom functions
  wait_popups 2
  local sub=(${POPUP[0]:-0 0 0 0})
  click_screen $((sub[0] + 30)) $((sub[1] + 8)) 2               # the key chord
  wait_popups 1 exactly
  shot "$out/chord-editor$s.png"
  read_dialog chord "$s" "$language"
  focus_popup
  keys Escape
  read_state
  check "key chord editor: Escape closes it ($POPUPS open)$s" test "$POPUPS" = 0
  # The program editor and the macro editor, the custom functions' second and fourth entries.
  local entry mode
  for entry in 1:program 3:macro; do
    mode=${entry#*:}
    click 160 378
    wait_popups 1
    menu=(${POPUP[0]:-0 0 0 0})
    point_screen $((menu[0] + 30)) $((menu[1] + 5 * 18 + 8))
    wait_popups 2
    sub=(${POPUP[0]:-0 0 0 0})
    click_screen $((sub[0] + 30)) $((sub[1] + ${entry%%:*} * 18 + 8)) 2
    wait_popups 1 exactly
    read_dialog "$mode" "$s" "$language"
    focus_popup
    keys Escape
    read_state
    check "$mode editor: Escape closes it ($POPUPS open)$s" test "$POPUPS" = 0
  done
  stop_program
  # The tray menu's items, from the program's own menu code in a process that can read them.
  wine "$probe" own-tray "$(winepath -w "$language")" 2>/dev/null | tr -d '\r' >"$out/acc-tray$s.txt"
  result=$(python3 "$checker" "$language" tray "$out/acc-tray$s.txt" | sed "s/\$/$s/")
  status=${PIPESTATUS[0]}
  echo "$result"
  tally "$result" "$status"
  # Under High Contrast Black with high contrast reported on (Wine always says off), the items
  # in the system's menu colours; off, as before; the marks of the access keys draw nothing.
  result=$(wine "$probe" tray-contrast "$(winepath -w "$language")" "$(winepath -w "$tmp/contrast.bmp")" 2>/dev/null |
           tr -d '\r' | sed "s/\$/$s/")
  status=${PIPESTATUS[0]}
  echo "$result"
  tally "$result" "$status"
  convert "$tmp/contrast.bmp" -scale 300% "$out/tray-high-contrast$s.png"
  # High contrast and "show animations" on the settings window's own code, in this language.
  local shots=$tmp/shots$s filter='SettingsWindowLook.*'
  [[ -z $s ]] && filter+=':FeedbackLabelTest.*'
  mkdir -p "$shots"
  check "win_tests.exe --gtest_filter=$filter$s" env MV_DIST_DIR="$(winepath -w "$folder")" \
    MV_SHOT_DIR="$(winepath -w "$shots")" wine "$root/build/windows/win_tests.exe" --gtest_brief=1 --gtest_filter="$filter"
  for shot in "$shots"/*.png; do
    [[ -e $shot ]] && mv "$shot" "$out/$(basename "$shot" .png)$s.png"
  done
  # The items as wide as their texts need: none cut short with "..." (the Chinese "(P)" and
  # "(H)"), English at 96 DPI at the fixed width; left at the menu's width, right far wider.
  local lang=en
  [[ -n "$s" ]] && lang=zh
  for dpi in 96 144; do
    result=$(wine "$probe" tray-width "$(winepath -w "$language")" $dpi $lang "$(winepath -w "$tmp/width.bmp")" 2>/dev/null |
             tr -d '\r' | sed "s/\$/ at $dpi DPI$s/")
    status=${PIPESTATUS[0]}
    echo "$result"
    tally "$result" "$status"
    convert "$tmp/width.bmp" -scale 200% "$out/tray-width-$dpi$s.png"
  done
  # Each item's access key, typed into the open menu, runs that item.
  local key id got
  for pair in x:0x6001 p:0x6002 h:0x6003 s:0x6000; do
    key=${pair%%:*} id=${pair#*:}
    got=$(wine "$probe" own-tray "$(winepath -w "$language")" "$key" 2>/dev/null | tr -d '\r' | sed -n 's/^command //p')
    check "tray menu: access key $key runs $id (${got:-nothing})$s" test "$got" = "$id"
  done
}

accessibility "$program" "" "$root/lang/en/language.xml"

# ---- The keyboard alone, on the English program with the stand-in driver (Apply saves).
check "the stand-in driver answers" ensure_standin
wine reg delete 'HKLM\Software\Morvi\MVSET' /f >/dev/null 2>&1
skins=$program/skins
english=$root/lang/en/language.xml
text_of() { python3 -c 'import sys, xml.etree.ElementTree as E; print(next(e.text for e in E.parse(sys.argv[1]).getroot().iter(sys.argv[2])))' "$english" "$1"; }
# The action codes of the 17 records as saved by Apply, in slot order (hex).
saved_codes() {
  local hex
  hex=$(wine reg query 'HKLM\Software\Morvi\MVSET\Corvel' /v ButtonSetting 2>/dev/null | tr -d '\r' |
        awk '/REG_BINARY/ {print $NF}')
  for n in $(seq 0 16); do printf '%s ' "${hex:$(((16 + 526 * n + 1) * 2)):2}"; done
}
defaults="A1 02 09 0A 10 11 A3 25 A4 55 21 03 05 04 58 59 A2 "
focused() { wine "$probe" focus "$title" 2>/dev/null | tr -d '\r' | sed 's/+\?focused//; s/ +/ /'; }
# Checks that the screen area (window coordinates) is close to `good` and farther from `bad`.
looks_like() {  # looks_like NAME SHOT X Y W H GOOD BAD LIMIT
  local name=$1 shot=$2 good bad
  crop "$shot" $((X + $3)) $((Y + $4)) "$5" "$6" "$tmp/area.png"
  good=$(rmse "$tmp/area.png" "$7")
  bad=$(rmse "$tmp/area.png" "$8")
  check "$name (rmse $good, against $bad)" test "$good" -le "$9" -a $((good * 2)) -lt "$bad"
}
# The share of the area's pixels that have the focus frame's orange, in thousandths.
orange_share() {  # orange_share SHOT X Y W H
  crop "$1" $((X + $2)) $((Y + $3)) "$4" "$5" "$tmp/area.png"
  convert "$tmp/area.png" -fill white -fuzz 8% -opaque 'rgb(236,110,30)' -fill black +opaque white \
    -colorspace gray -format '%[fx:int(mean*1000+0.5)]' info:
}

trace=$out/system-trace.txt
# Where two screenshots differ within an area (screen coordinates): "W H X Y" of the box round
# the differing pixels, relative to the area; a focus frame that moved away leaves its outline.
frame_box() {  # frame_box SHOT_WITH SHOT_WITHOUT X Y W H
  crop "$1" "$3" "$4" "$5" "$6" "$tmp/with.png"
  crop "$2" "$3" "$4" "$5" "$6" "$tmp/without.png"
  convert "$tmp/with.png" "$tmp/without.png" -compose difference -composite -colorspace gray -threshold 10% \
    -trim -format '%w %h %X %Y' info: | tr -d '+'
}
# Whether the box "W H X Y" is the frame of an area W0 x H0 inset by INSET, within a pixel.
frame_at() {  # frame_at "W H X Y" W0 H0 INSET
  local w h x y
  read -r w h x y <<<"$1"
  near() { [[ $(($1 > $2 ? $1 - $2 : $2 - $1)) -le 1 ]]; }
  near "${x:-99}" "$4" && near "${y:-99}" "$4" && near "${w:-0}" $(($2 - 2 * $4)) && near "${h:-0}" $(($3 - 2 * $4))
}

if WINEDEBUG=trace+system start_program "$program" "$trace"; then
  check "settings window shown for the keyboard" true
  xid=$(xwininfo -root -tree | awk -v t="\"$title\"" 'index($0, t) && / 709x477\+/ {print $1; exit}')
  xdotool windowfocus "$xid"
  sleep 0.5
  # The pointer first: a click selects the second tile and gives it the focus, drawn nowhere.
  click 227 185
  point 700 300
  shot "$out/pointer-focus.png"
  click 108 185
  point 700 300

  keys shift+Tab
  check "Shift+Tab: the tabs' stop, the shown page's tab ($(focused))" test "$(focused)" = "pagetab selected+selectable+focusable|$(text_of tc_mocli)"
  keys Tab
  check "Tab: the tiles' stop, the selected tile ($(focused))" test "$(focused)" = "listitem selected+selectable+focusable|$(text_of tc_gesture_push)"
  keys Right
  check "Right: the next tile selected and focused ($(focused))" test "$(focused)" = "listitem selected+selectable+focusable|$(text_of tc_gesture_doubleclick)"
  shot "$out/keyboard-focus.png"
  # The same tile, selected and focused both times: what differs is the focus frame alone.
  crop "$out/pointer-focus.png" $((X + 168)) $((Y + 133)) 114 105 "$tmp/pointer-tile.png"
  crop "$out/keyboard-focus.png" $((X + 168)) $((Y + 133)) 114 105 "$tmp/keyboard-tile.png"
  convert "$tmp/pointer-tile.png" "$tmp/keyboard-tile.png" -compose difference -composite -threshold 10% "$tmp/frame.png"
  framed=$(compare -metric AE -fuzz 10% "$tmp/pointer-tile.png" "$tmp/keyboard-tile.png" null: 2>&1)
  orange=$(convert "$tmp/keyboard-tile.png" \( "$tmp/frame.png" -colorspace gray \) -compose multiply -composite \
    -fill white -fuzz 12% -opaque 'rgb(236,110,30)' -fill black +opaque white -format '%[fx:int(mean*w*h+0.5)]' info:)
  check "the focus frame drawn after keyboard use only ($framed pixels differ from the pointer's focus, $orange orange)" \
    test "${framed%.*}" -ge 250 -a "${framed%.*}" -le 900 -a "$orange" -ge $((${framed%.*} * 2 / 3))
  keys Tab
  check "Tab: the function button ($(focused))" test "$(focused)" = "pushbutton focusable+haspopup|Function: $(text_of tc_function_doubleclick)"
  keys Return
  wait_popups 1 exactly
  check "Enter on the function button opens the menu ($POPUPS)" test "$POPUPS" = 1
  shot "$out/menu-keyboard.png"
  convert "$skins/menu/menu_normal.png" \( "$skins/menu/menu_over.png" -crop 160x17+0+0 +repage \) \
    -geometry +0+0 -composite "$tmp/first.png"
  looks_like "the menu's first category highlighted as the pointer's hover draws it" "$out/menu-keyboard.png" \
    41 395 160 108 "$tmp/first.png" "$skins/menu/menu_normal.png" 120
  keys Down Down Down Right
  wait_popups 2 exactly
  check "Down to the media category, Right opens its level ($POPUPS)" test "$POPUPS" = 2
  keys Down
  shot "$out/menu-keyboard-2.png"
  convert "$skins/menu/submenu_normal.png" -crop 184x126+0+0 +repage \
    \( "$skins/menu/submenu_over.png" -crop 184x17+0+18 +repage \) -geometry +0+18 -composite "$tmp/second.png"
  convert "$skins/menu/submenu_normal.png" -crop 184x126+0+0 +repage \
    \( "$skins/menu/submenu_over.png" -crop 184x17+0+0 +repage \) -geometry +0+0 -composite "$tmp/second-wrong.png"
  looks_like "Down: the second entry highlighted as the pointer's hover draws it" "$out/menu-keyboard-2.png" \
    201 $((395 + 54)) 184 126 "$tmp/second.png" "$tmp/second-wrong.png" 90
  keys Return
  read_state
  check "Enter picks and closes the menu ($POPUPS)" test "$POPUPS" = 0
  check "the picked function on the button ($(focused))" test "$(focused)" = "pushbutton focusable+haspopup|Function: $(text_of tc_stop)"
  keys Tab Tab Tab Tab
  check "Tab on to Apply ($(focused))" test "$(focused)" = "pushbutton focusable|$(text_of btn_apply)"
  keys Return
  sleep 2
  expected="A1 72 09 0A 10 11 A3 25 A4 55 21 03 05 04 58 59 A2 "
  check "applied with the keyboard: Stop in slot 1 ($(saved_codes))" test "$(saved_codes)" = "$expected"

  # Ctrl+Tab and the arrows among the tabs.
  keys ctrl+Tab
  check "Ctrl+Tab shows page 2 (focus $(focused))" test "$(wine "$probe" main "$title" 2>/dev/null | grep -c "^pagetab selected.*|$(text_of tc_win8)")" = 1
  keys shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab
  check "Shift+Tab round to the tabs ($(focused))" test "$(focused)" = "pagetab selected+selectable+focusable|$(text_of tc_win8)"
  keys Right
  check "Right on the tabs: page 3 ($(focused))" test "$(focused)" = "pagetab selected+selectable+focusable|$(text_of tc_winctl)"

  # A menu opened with the pointer picks nothing on a key.
  click 160 378
  wait_popups 1
  menu=(${POPUP[0]:-0 0 0 0})
  point_screen $((menu[0] + 30)) $((menu[1] + 3 * 18 + 8))
  wait_popups 2
  xdotool windowfocus "$xid"
  keys Down Return Right Down Return space
  read_state
  check "keys in a menu opened with the pointer: still open ($POPUPS levels)" test "$POPUPS" -ge 1
  point 700 300
  keys Escape
  read_state
  check "Escape closes it ($POPUPS)" test "$POPUPS" = 0
  click 612 445 2
  check "nothing picked by those keys ($(saved_codes))" test "$(saved_codes)" = "$expected"

  # The pointer dialog with keys alone: opened from Pointer speed with Enter, its slider (the
  # first control, focused) moved with the arrows, the toggle switched with Space, applied with
  # Enter on OK, as the speed in Wine's trace of SystemParametersInfo says.
  xdotool windowfocus "$xid"
  sleep 0.3
  keys shift+Tab shift+Tab shift+Tab           # from Apply, clicked last
  check "Shift+Tab to Pointer speed ($(focused))" test "$(focused)" = "pushbutton focusable|$(text_of tc_pointer_move)"
  keys Return
  wait_popups 1 exactly
  dialog=(${POPUP[0]:-0 0 0 0})
  focus_popup
  slider=$(focused)
  notch=$(sed -n 's/^slider focusable|.*|value=\([0-9]*\)$/\1/p' <<<"$slider")
  check "Enter opens the pointer dialog, its slider focused ($slider)" test -n "$notch"
  keys Left Right Right
  want=$((notch + 1 > 10 ? 10 : notch + 1))
  check "Left, Right, Right: the slider one notch on ($(focused))" test "$(focused)" = "slider focusable|$(text_of tc_pointer_move)|value=$want"
  shot "$out/pointer-keyboard.png"
  keys Tab
  toggle=$(focused)
  shot "$tmp/toggle.png"
  box=$(frame_box "$out/pointer-keyboard.png" "$tmp/toggle.png" $((dialog[0] + 36)) $((dialog[1] + 47)) 189 21)
  check "the slider framed while focused, 4 pixels inside its edge (frame $box)" frame_at "$box" 189 21 4
  check "Tab: the toggle, a check box with its key ($toggle)" \
    grep -qE "^checkbutton focusable(\+checked)?\|$(text_of tc_pointer_distinguish)\|key=Alt\+P$" <<<"$toggle"
  keys space
  if [[ $toggle == *checked* ]]; then switched=${toggle/+checked/}; else switched=${toggle/focusable/focusable+checked}; fi
  check "Space switches it ($(focused))" test "$(focused)" = "$switched"
  keys Tab
  check "Tab: OK ($(focused))" test "$(focused)" = "pushbutton focusable|$(text_of btn_ok)|key=Alt+O"
  keys Return
  read_state
  speed=$(( want == 1 ? 1 : want == 10 ? 20 : 2 * (want - 1) ))
  got=$(grep -a 'NtUserSystemParametersInfo (113,' "$trace" | tail -1 |
        sed -n 's/.*(113, [0-9]*, \(0x[0-9a-fA-F]*\|[0-9a-fA-F]*\),.*/\1/p')
  [[ -n "$got" ]] && got=$(printf '%d' "0x${got#0x}")
  check "Enter on OK applies speed $speed and closes it (trace: ${got:-none}, $POPUPS open)" \
    test "${got:-x}" = "$speed" -a "$POPUPS" = 0

  # The restore question with keys: Tab round its buttons, Escape cancels, Alt+O confirms.
  xdotool windowfocus "$xid"
  sleep 0.3
  keys Tab Tab
  check "Tab to Restore defaults ($(focused))" test "$(focused)" = "pushbutton focusable|$(text_of btn_reset)"
  keys Return
  wait_popups 1 exactly
  focus_popup
  check "Enter opens the restore question, OK focused ($(focused))" \
    test "$(focused)" = "pushbutton focusable|$(text_of btn_ok)|key=Alt+O"
  keys Tab
  check "Tab: Cancel ($(focused))" test "$(focused)" = "pushbutton focusable|$(text_of btn_cancel)|key=Alt+C"
  shot "$out/restore-keyboard.png"
  keys Tab
  check "Tab round to OK ($(focused))" test "$(focused)" = "pushbutton focusable|$(text_of btn_ok)|key=Alt+O"
  keys Escape
  sleep 2
  read_state
  check "Escape cancels: nothing restored ($POPUPS open, $(saved_codes))" \
    test "$POPUPS" = 0 -a "$(saved_codes)" = "$expected"
  # Enter presses the button the keys focused: Cancel.
  xdotool windowfocus "$xid"
  sleep 0.3
  keys Return
  wait_popups 1 exactly
  focus_popup
  keys Tab Return
  sleep 2
  read_state
  check "Tab to Cancel, Enter presses it: nothing restored ($POPUPS open, $(saved_codes))" \
    test "$POPUPS" = 0 -a "$(saved_codes)" = "$expected"
  xdotool windowfocus "$xid"
  sleep 0.3
  keys Return
  wait_popups 1 exactly
  focus_popup
  keys alt+o
  sleep 2
  read_state
  check "Alt+O confirms: the defaults restored ($POPUPS open, $(saved_codes))" \
    test "$POPUPS" = 0 -a "$(saved_codes)" = "$defaults"
  stop_program
else
  check "settings window shown for the keyboard" false
fi

zh=$tmp/zh
mkdir -p "$zh"
cp -r "$program/MorviCorvelConfig.exe" "$program/skins" "$zh/"
cp "$root/lang/zh-CN/language.xml" "$zh/language.xml"
english_title=$title
title="Morvi Corvel 设置"
check "the CJK font linked into the prefix" link_cjk_font
accessibility "$zh" "-zh" "$root/lang/zh-CN/language.xml"
title=$english_title

# ---- At 150 %: a prefix of its own at 144 DPI (LogPixels). A function assigned and applied
# with keys alone, read back from ButtonSetting; the focus frame inside the focused tile at
# the tile's scaled place, inset by its scaled distance.
s144() { echo $(((${1} * 144 * 2 + 96) / 192)); }   # a 96-DPI figure at 144 DPI, as the program rounds it
keyboard_at_144() {
  MV_SCREEN=1600x1200x24 session || { check "a Wine session at 144 DPI" false; return; }
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144 /f >/dev/null 2>&1
  check "the stand-in driver answers at 144 DPI" ensure_standin
  wine reg delete 'HKLM\Software\Morvi\MVSET' /f >/dev/null 2>&1
  window_size="$(s144 709)x$(s144 477)"
  if ! start_program "$program"; then
    check "settings window shown at 144 DPI ($window_size)" false
    return
  fi
  check "settings window shown at 144 DPI ($window_size)" true
  xid=$(xwininfo -root -tree | awk -v t="\"$title\"" -v g=" $window_size+" 'index($0, t) && index($0, g) {print $1; exit}')
  xdotool windowfocus "$xid"
  xdotool mousemove 1590 1190
  sleep 0.5
  keys Tab Tab Right
  check "144 DPI: Tab, Tab, Right: the second tile ($(focused))" \
    test "$(focused)" = "listitem selected+selectable+focusable|$(text_of tc_gesture_doubleclick)"
  shot "$out/keyboard-focus-144.png"
  keys Tab
  shot "$tmp/unfocused-144.png"
  # The second tile at 96 DPI: (168, 133) to (282, 238); its frame 4 pixels inside its edge.
  local tx ty tw th inset box
  tx=$(s144 168) ty=$(s144 133) tw=$(($(s144 282) - $(s144 168))) th=$(($(s144 238) - $(s144 133))) inset=$(s144 4)
  box=$(frame_box "$out/keyboard-focus-144.png" "$tmp/unfocused-144.png" $((X + tx)) $((Y + ty)) "$tw" "$th")
  check "144 DPI: the focus frame in the ${tw}x${th} tile, $inset pixels inside its edge (frame $box)" \
    frame_at "$box" "$tw" "$th" "$inset"
  keys Return
  wait_popups 1 exactly
  check "144 DPI: Enter on the function button opens the menu ($POPUPS)" test "$POPUPS" = 1
  keys Down Down Down Right
  wait_popups 2 exactly
  keys Down Return
  read_state
  check "144 DPI: Stop picked with the keys ($(focused))" \
    test "$(focused)" = "pushbutton focusable+haspopup|Function: $(text_of tc_stop)"
  keys Tab Tab Tab Tab
  check "144 DPI: Tab on to Apply ($(focused))" test "$(focused)" = "pushbutton focusable|$(text_of btn_apply)"
  keys Return
  sleep 2
  check "144 DPI: applied with the keyboard: Stop in slot 1 ($(saved_codes))" \
    test "$(saved_codes)" = "A1 72 09 0A 10 11 A3 25 A4 55 21 03 05 04 58 59 A2 "
  stop_program
}
(MV_AT_EXIT=(); passes=0; failures=0; keyboard_at_144; echo "$passes $failures" >"$tmp/counts-144")
if read -r p f <"$tmp/counts-144"; then
  passes=$((passes + p)) failures=$((failures + f))
else
  check "the checks at 144 DPI ran to their end" false
fi

finish
