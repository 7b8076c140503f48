#!/usr/bin/env bash
# Screenshots of the settings window under Xvfb, in English and in Chinese, into
# build/screens, each compared with what it must show, cut from the skin pictures:
# slot 0's tile pressed and the function button disabled (faded) at first; the tile of the
# gesture a page switch selects pressed; both menu levels open where they belong (the media
# category's and the custom functions'); the pointer dialog's slider and toggle as the
# registry says; the restore question on two lines.
# Tolerances leave room for the captions drawn over the pictures; every check also compares
# with the picture that must not be there.
#   run-screens.sh ROOT [PROGRAM_FOLDER]   (default ROOT/dist)
set -uo pipefail
source "$(dirname "$0")/harness.sh"
suite screens "$1"
program=${2:-$root/dist}
out=$root/build/screens
mkdir -p "$out"
rm -f "$out"/*.png
skins=$program/skins
tmp=$(mktemp -d)
at_exit 'rm -rf "$tmp"'

# The part of a sheet under a control, scaled to the control's size as the button draws it.
cut() {  # cut SHEET X Y W H WIDTH HEIGHT OUT
  convert "$1" -crop "$4x$5+$2+$3" +repage -resize "$6x$7!" "$8"
}
# Checks that the screen area (window coordinates) is close to `good` and farther from `bad`.
looks_like() {  # looks_like NAME SHOT X Y W H GOOD BAD LIMIT
  local name=$1 shot=$2 good bad
  crop "$shot" $((X + $3)) $((Y + $4)) "$5" "$6" "$tmp/area.png"
  good=$(rmse "$tmp/area.png" "$7")
  bad=$(rmse "$tmp/area.png" "$8")
  check "$name (rmse $good, against $bad)" test "$good" -le "$9" -a $((good * 2)) -lt "$bad"
}

wine reg add 'HKCU\Control Panel\Mouse' /v MouseSensitivity /t REG_SZ /d 10 /f >/dev/null 2>&1
wine reg add 'HKCU\Control Panel\Mouse' /v MouseSpeed /t REG_SZ /d 1 /f >/dev/null 2>&1

screens() {  # screens FOLDER SUFFIX: one language's screenshots and checks
  local folder=$1 s=$2 shot
  if ! start_program "$folder"; then
    check "settings window shown at the main sheet's size (709x477)$s" false
    return
  fi
  check "settings window shown at the main sheet's size (709x477)$s" true
  point 600 460
  shot=$out/page1$s.png
  shot "$tmp/root.png"
  crop "$tmp/root.png" $((X - 40)) $((Y - 40)) 900 640 "$shot"
  cut "$skins/movcli_gesure_down.png" 10 7 113 105 114 105 "$tmp/down.png"
  cut "$skins/movcli_gesure_normal.png" 10 7 113 105 114 105 "$tmp/normal.png"
  looks_like "slot 0's tile pressed$s" "$tmp/root.png" 51 133 114 105 "$tmp/down.png" "$tmp/normal.png" 120
  # The function button's right end (its chevron), away from the caption.
  crop "$skins/MorviCorvel_Main_Normal.png" 241 363 39 31 "$tmp/function.png"
  faded "$tmp/function.png" "$tmp/function-faded.png"
  looks_like "function button disabled: faded$s" "$tmp/root.png" 241 363 39 31 \
    "$tmp/function-faded.png" "$tmp/function.png" 15

  click 238 85; point 600 460
  shot "$tmp/root.png"; crop "$tmp/root.png" $((X - 40)) $((Y - 40)) 900 640 "$out/page2$s.png"
  cut "$skins/win8_gesure_down.png" 10 7 113 105 114 105 "$tmp/down.png"
  cut "$skins/win8_gesure_normal.png" 10 7 113 105 114 105 "$tmp/normal.png"
  looks_like "page 2: its first gesture selected$s" "$tmp/root.png" 51 133 114 105 "$tmp/down.png" "$tmp/normal.png" 120
  looks_like "page 2: function button enabled$s" "$tmp/root.png" 241 363 39 31 \
    "$tmp/function.png" "$tmp/function-faded.png" 15

  click 363 85; point 600 460
  shot "$tmp/root.png"; crop "$tmp/root.png" $((X - 40)) $((Y - 40)) 900 640 "$out/page3$s.png"
  cut "$skins/ngwctr_gesure_down.png" 10 7 113 105 114 105 "$tmp/down.png"
  cut "$skins/ngwctr_gesure_normal.png" 10 7 113 105 114 105 "$tmp/normal.png"
  looks_like "page 3: its first gesture selected$s" "$tmp/root.png" 51 133 114 105 "$tmp/down.png" "$tmp/normal.png" 120

  # The menu of slot 11, the pointer resting on the media category's second entry.
  click 160 378 1.5
  point 71 $((395 + 3 * 18 + 8))
  point $((41 + 160 + 40)) $((395 + 3 * 18 + 18 + 8)) 1
  wait_popups 2
  shot "$tmp/root.png"; crop "$tmp/root.png" $((X - 40)) $((Y - 40)) 900 640 "$out/menu$s.png"
  read_state
  check "menu: two levels open$s" test "$POPUPS" = 2
  check "menu: second level beside the media category$s ($(IFS=,; echo "${POPUP[*]}"))" \
    test "${POPUP[0]:-none}" = "$((X + 41 + 160)) $((Y + 395 + 3 * 18)) 184 126"
  # The pointer is in the second level: its category stays highlighted in the first.
  convert "$skins/menu/menu_normal.png" \( "$skins/menu/menu_over.png" -crop 160x17+0+54 +repage \) \
    -geometry +0+54 -composite "$tmp/first.png"
  looks_like "menu: first level, media highlighted$s" "$tmp/root.png" 41 395 160 108 "$tmp/first.png" \
    "$skins/menu/menu_normal.png" 120
  convert "$skins/menu/submenu_normal.png" -crop 184x126+0+0 +repage \
    \( "$skins/menu/submenu_over.png" -crop 184x17+0+18 +repage \) -geometry +0+18 -composite "$tmp/second.png"
  crop "$skins/menu/submenu_normal.png" 0 0 184 126 "$tmp/second-plain.png"
  convert "$skins/menu/submenu_normal.png" -crop 184x126+0+0 +repage \
    \( "$skins/menu/submenu_over.png" -crop 184x17+0+0 +repage \) -geometry +0+0 -composite "$tmp/second-wrong.png"
  looks_like "menu: second level, its second entry highlighted$s" "$tmp/root.png" 201 $((395 + 54)) 184 126 \
    "$tmp/second.png" "$tmp/second-wrong.png" 90
  # The sixth category, the custom functions: its four entries beside it.
  point 71 $((395 + 5 * 18 + 8)) 1.2
  shot "$tmp/root.png"; crop "$tmp/root.png" $((X - 40)) $((Y - 40)) 900 640 "$out/menu-custom$s.png"
  read_state
  check "menu: the custom functions' four entries beside their category$s ($(IFS=,; echo "${POPUP[*]}"))" \
    test "${POPUP[0]:-none}" = "$((X + 41 + 160)) $((Y + 395 + 5 * 18)) 184 72"
  convert "$skins/menu/menu_normal.png" \( "$skins/menu/menu_over.png" -crop 160x17+0+90 +repage \) \
    -geometry +0+90 -composite "$tmp/first.png"
  looks_like "menu: first level, custom functions highlighted$s" "$tmp/root.png" 41 395 160 108 "$tmp/first.png" \
    "$skins/menu/menu_normal.png" 120
  crop "$skins/menu/submenu_normal.png" 0 0 184 72 "$tmp/second-plain.png"
  crop "$skins/menu/submenu_over.png" 0 0 184 72 "$tmp/second-over.png"
  looks_like "menu: custom functions' level drawn from the submenu sheet$s" "$tmp/root.png" 201 $((395 + 90)) 184 72 \
    "$tmp/second-plain.png" "$tmp/second-over.png" 120
  keys Escape

  # The pointer dialog: speed 10 (notch 5) and acceleration on, as the registry says.
  click 349 378 1.5
  wait_popups 1
  local dialog=(${POPUP[0]:-0 0 0 0})
  shot "$tmp/root.png"
  crop "$tmp/root.png" $((dialog[0] - 20)) $((dialog[1] - 20)) 300 195 "$out/pointer$s.png"
  crop "$tmp/root.png" $((dialog[0] + 36)) $((dialog[1] + 47)) 189 21 "$tmp/slider.png"
  check "pointer dialog: the slider at notch 5$s" test "$(rmse "$tmp/slider.png" "$skins/pointer_speed_6.png")" -le 5
  # The toggle's box, left of its caption.
  crop "$skins/pointer_setting_down.png" 36 97 18 19 "$tmp/on.png"
  crop "$skins/pointer_setting_normal.png" 36 97 18 19 "$tmp/off.png"
  X=${dialog[0]} Y=${dialog[1]} looks_like "pointer dialog: acceleration on$s" "$tmp/root.png" 36 97 18 19 \
    "$tmp/on.png" "$tmp/off.png" 15
  keys Escape
  click 500 445 1.5
  wait_popups 1
  dialog=(${POPUP[0]:-0 0 0 0})
  crop "$skins/default_config_normal.png" 60 50 190 50 "$tmp/question-sheet.png"
  # A loaded machine can show the dialog a moment before its text: up to 5 s for any text.
  local h
  for _ in $(seq 10); do
    shot "$tmp/root.png"
    crop "$tmp/root.png" $((dialog[0] + 60)) $((dialog[1] + 50)) 190 50 "$tmp/question.png"
    h=$(diff_height "$tmp/question.png" "$tmp/question-sheet.png" 2>/dev/null)
    [[ ${h:-0} -gt 0 ]] && break
    sleep 0.5
  done
  crop "$tmp/root.png" $((dialog[0] - 20)) $((dialog[1] - 20)) 300 195 "$out/restore$s.png"
  check "restore question on two lines ($h pixels high)$s" test "${h:-0}" -ge 16
  # Its header with the close button, and the glyph, as the normal sheet has them.
  crop "$tmp/root.png" "${dialog[0]}" "${dialog[1]}" 259 45 "$tmp/header.png"
  crop "$skins/default_config_normal.png" 0 0 259 45 "$tmp/header-sheet.png"
  check "restore dialog drawn from its normal sheet$s" test "$(rmse "$tmp/header.png" "$tmp/header-sheet.png")" -le 5
  keys Escape
  stop_program
}

screens "$program" ""
# The same in Chinese: the program folder with the Chinese language file.
zh=$tmp/zh
mkdir -p "$zh"
cp -r "$program/MorviCorvelConfig.exe" "$program/skins" "$zh/"
cp "$root/lang/zh-CN/language.xml" "$zh/language.xml"
title="Morvi Corvel 设置"
check "the CJK font linked into the prefix" link_cjk_font
screens "$zh" "-zh"
finish
