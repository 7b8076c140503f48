# Sourced by the scripted window tests: the program driven with real pointer and keyboard
# input (xdotool on the X display), its windows' state from window_state.exe, screenshots
# and pixel comparisons (ImageMagick). Needs $root set; the caller runs under a Wine session.

title="Morvi Corvel Config"
failures=0
passes=0
check() {  # check NAME COMMAND...
  local name=$1; shift
  if "$@"; then echo "ok   $name"; passes=$((passes + 1)); else echo "FAIL $name"; failures=$((failures + 1)); fi
}
state_exe=$root/build/windows/window_state.exe

# Starts dist/MorviCorvelConfig.exe of folder $1 (stderr to $2, or discarded), shows its
# settings window with a second start, and sets X and Y to its top-left corner on screen.
start_program() {
  local folder=$1 err=${2:-/dev/null} id=""
  wine "$folder/MorviCorvelConfig.exe" 2>"$err" &
  for _ in $(seq 60); do
    sleep 0.5
    wine "$state_exe" "$title" 2>/dev/null | grep -q '^main=0*[1-9a-fA-F]' && break
  done
  WINEDEBUG=-all wine "$folder/MorviCorvelConfig.exe"   # a second start shows the first
  for _ in $(seq 20); do
    id=$(xwininfo -root -tree | awk -v t="\"$title\"" 'index($0, t) && /709x477/ {print $1; exit}')
    [[ -n "$id" ]] && break
    sleep 0.5
  done
  [[ -n "$id" ]] || return 1
  read -r X Y < <(xwininfo -id "$id" | awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4} END {print x, y}')
}

stop_program() {
  wine "$state_exe" exit "$title" >/dev/null 2>&1 || true
}

# Pointer and keys. Coordinates are the settings window's unless said otherwise.
click() { xdotool mousemove $((X + $1)) $((Y + $2)) click 1; sleep "${3:-0.8}"; }
click_screen() { xdotool mousemove "$1" "$2" click 1; sleep "${3:-0.8}"; }
point() { xdotool mousemove $((X + $1)) $((Y + $2)); sleep "${3:-0.6}"; }
point_screen() { xdotool mousemove "$1" "$2"; sleep "${3:-0.6}"; }
keys() { local k; for k in "$@"; do xdotool key "$k"; sleep 0.3; done; }

# The program's windows: sets FOREGROUND, ACTIVE, FOCUS, POPUPS and POPUP (an array of
# "x y w h", the top of the z-order first).
read_state() {
  local out line
  out=$(wine "$state_exe" "$title" 2>/dev/null | tr -d '\r')
  FOREGROUND=$(sed -n 's/^foreground=//p' <<<"$out")
  ACTIVE=$(sed -n 's/^active=//p' <<<"$out")
  FOCUS=$(sed -n 's/^focus=//p' <<<"$out")
  POPUPS=$(sed -n 's/^popups=//p' <<<"$out")
  POPUP=()
  while read -r line; do [[ -n "$line" ]] && POPUP+=("$line"); done < <(sed -n 's/^popup=//p' <<<"$out")
}

# Makes the machine's CJK font reach the prefix: Wine draws Chinese texts with boxes unless
# the dialog fonts are linked to a font that has the glyphs.
link_cjk_font() {
  local font=/usr/share/fonts/truetype/wqy/wqy-microhei.ttc face
  [[ -f "$font" ]] || { echo "no CJK font at $font (package fonts-wqy-microhei)"; return 1; }
  cp "$font" "$WINEPREFIX/drive_c/windows/Fonts/" || return 1
  for face in Tahoma "MS Shell Dlg" "MS Shell Dlg 2" "Microsoft Sans Serif"; do
    wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' /v "$face" \
      /t REG_MULTI_SZ /d 'wqy-microhei.ttc,WenQuanYi Micro Hei' /f >/dev/null 2>&1 || return 1
  done
}
# Takes the link away again: the suites after this one share the prefix and measure texts
# drawn with the fonts as Wine has them.
unlink_cjk_font() {
  local face
  for face in Tahoma "MS Shell Dlg" "MS Shell Dlg 2" "Microsoft Sans Serif"; do
    wine reg delete 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' /v "$face" /f >/dev/null 2>&1 || true
  done
  rm -f "$WINEPREFIX/drive_c/windows/Fonts/wqy-microhei.ttc"
}

# The screen as it is now.
shot() { import -window root "$1"; }
# A part of an image: crop IMAGE X Y W H OUT.
crop() { convert "$1" -crop "$4x$5+$2+$3" +repage "$6"; }
# Root mean square difference of two pictures of one size, in thousandths of full scale.
rmse() {
  local v
  v=$(compare -metric RMSE "$1" "$2" null: 2>&1 | sed -n 's/.*(\([0-9.e-]*\)).*/\1/p')
  awk -v v="${v:-1}" 'BEGIN { printf "%d", v * 1000 + 0.5 }'
}
# A picture faded as the program fades a disabled control: each channel (luminance + 1) / 2.
faded() { convert "$1" -fx '(0.299*u.r + 0.587*u.g + 0.114*u.b + 1) / 2' "$2"; }
# Height of the area where two pictures of one size differ by more than 10 %.
diff_height() {
  convert "$1" "$2" -compose difference -composite -colorspace gray -threshold 10% -format '%@' info: |
    sed -n 's/^[0-9]*x\([0-9]*\)+.*/\1/p'
}
