#!/usr/bin/env bash
# The settings window for assistive technology, on the real program:
#   - every control's name, role and state as a screen reader reads them through oleacc
#     (acc_probe.exe), in English and in Chinese: the settings window at its start, the
#     function menu with a second level open, the tray menu's owner-drawn items;
#   run-keyboard.sh ROOT [PROGRAM_FOLDER]   (default ROOT/dist)
set -uo pipefail
source "$(dirname "$0")/harness.sh"
suite keyboard "$1"
program=${2:-$root/dist}
out=$root/build/keyboard
rm -rf "$out"
mkdir -p "$out"
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
  stop_program
  # The tray menu's items, from the program's own menu code in a process that can read them.
  wine "$probe" own-tray "$(winepath -w "$language")" 2>/dev/null | tr -d '\r' >"$out/acc-tray$s.txt"
  result=$(python3 "$checker" "$language" tray "$out/acc-tray$s.txt" | sed "s/\$/$s/")
  status=${PIPESTATUS[0]}
  echo "$result"
  tally "$result" "$status"
}

accessibility "$program" "" "$root/lang/en/language.xml"

zh=$tmp/zh
mkdir -p "$zh"
cp -r "$program/MorviCorvelConfig.exe" "$program/skins" "$zh/"
cp "$root/lang/zh-CN/language.xml" "$zh/language.xml"
english_title=$title
title="Morvi Corvel 设置"
check "the CJK font linked into the prefix" link_cjk_font
accessibility "$zh" "-zh" "$root/lang/zh-CN/language.xml"
title=$english_title

finish
