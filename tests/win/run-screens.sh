#!/usr/bin/env bash
# Screenshots of the settings window under Xvfb, into build/screens: the three pages, the
# function menu with its second level, the pointer and restore-defaults dialogs. Checks
# the window's size against the main sheet.
set -euo pipefail
root=$1
out=$root/build/screens
mkdir -p "$out"
rm -f "$out"/*.png
failures=0
check() { if eval "$2"; then echo "ok   $1"; else echo "FAIL $1"; failures=$((failures + 1)); fi; }

wine "$root/dist/MorviCorvelConfig.exe" &
sleep 4
wine "$root/dist/MorviCorvelConfig.exe"   # a second start shows the first
sleep 2
id=$(xwininfo -root -tree | awk '/"Morvi Corvel Config"/ && /709x477/ {print $1; exit}')
check "settings window shown at the main sheet's size (709x477)" '[[ -n "$id" ]]'
if [[ -n "$id" ]]; then
  read -r x y < <(xwininfo -id "$id" | awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4} END {print x, y}')
  click() { xdotool mousemove $((x + $1)) $((y + $2)) click 1; sleep "${3:-1}"; }
  shot() { import -window root -crop 900x640+$((x - 40))+$((y - 40)) "$out/$1.png"; }
  shot page1
  # The latched tile of slot 0 shows its pressed (accent) picture.
  pixel=$(convert "$out/page1.png" -format '%[pixel:p{100,120}]' info:)
  check "slot 0's tile pressed ($pixel)" '[[ "$pixel" != "srgb(255,255,255)" ]]'
  click 238 85; shot page2
  click 363 85; shot page3
  click 100 85
  click 226 185; click 160 378 2; click 70 422 3; shot menu
  click 600 200 2
  click 349 378 2; shot pointer
  click 500 445 2; shot restore
fi
for f in page1 page2 page3 menu pointer restore; do check "screenshot $f" '[[ -s "$out/$f.png" ]]'; done
wineserver -k || true
echo "screens: $((failures == 0 ? 1 : 0)) passed, $failures failed"
exit $((failures != 0))
