# Sourced by every Wine runner (tests/win/run-*.sh): one suite's plumbing.
#
#   suite NAME ROOT [no-wine]   starts the suite: $root, the counters, and a Wine session of
#                          its own (private Xvfb display and fresh prefix, scripts/wine-session.sh);
#                          with MV_OUTER_SESSION=1 the caller's WINEPREFIX and DISPLAY instead
#   check NAME COMMAND...  runs COMMAND; prints "ok   NAME" or "FAIL NAME"; returns its status
#   tally TEXT STATUS      counts the "ok   " and "FAIL " lines a helper program printed
#   finish                 prints "NAME: P passed, F failed" and exits, non-zero on a failure
#   at_exit COMMAND        runs COMMAND when the runner ends, the last one registered first
#   ensure_standin         the stand-in driver installed and answering, with retries
#   link_cjk_font          the CJK font behind the dialog fonts, taken away again at exit
#   quiet_begin, quiet_end a quiet window for checks that measure time (see scripts/test)
#   start_program FOLDER [ERR]   the program of FOLDER started, its settings window shown: X Y
#   stop_program           the program asked to exit as its tray menu does
#   end_pids PID...        ends processes by their pid
#   end_prefix_processes IMAGE   ends this prefix's processes of that Windows image, by pid
# and the input, window-state (read_state, wait_popups) and picture helpers of the screen suites.
# Runners do not use `set -e`: a failing check is counted and the suite goes on.

title="Morvi Corvel Config"
passes=0
failures=0
MV_SUITE=""
MV_AT_EXIT=()

at_exit() { MV_AT_EXIT+=("$1"); }
mv_run_at_exit() {
  local i
  for ((i = ${#MV_AT_EXIT[@]} - 1; i >= 0; i--)); do eval "${MV_AT_EXIT[i]}" || true; done
  MV_AT_EXIT=()
}

suite() {  # suite NAME ROOT [no-wine]
  MV_SUITE=$1
  root=$(cd "${2:-}" 2>/dev/null && pwd)
  [[ -d "$root/tests/win" ]] || { echo "$MV_SUITE: no source tree at '${2:-}'" >&2; exit 2; }
  state_exe=$root/build/windows/window_state.exe
  touchsim_exe=$root/build/windows/touchsim/touchsim.exe
  trap mv_run_at_exit EXIT
  # Ended from outside (scripts/test on Ctrl+C): the clean-up still runs.
  trap 'exit 143' TERM
  trap 'exit 130' INT
  [[ "${3:-}" == no-wine ]] && return 0
  [[ "${MV_OUTER_SESSION:-}" == 1 ]] && return 0
  session || exit 1
}
# A Wine session of its own (display MV_SCREEN large, default 1280x1024x24), ended at exit;
# a subshell that starts one ends it.
session() {
  unset WINEPREFIX MV_KEEP_DISPLAY
  source "$root/scripts/wine-session.sh"
  wine_session_start || { echo "$MV_SUITE: no Wine session"; return 1; }
  trap mv_run_at_exit EXIT
  at_exit wine_session_stop
}

check() {  # check NAME COMMAND...
  local name=$1 status
  shift
  "$@"
  status=$?
  if [[ $status -eq 0 ]]; then
    echo "ok   $name"
    passes=$((passes + 1))
  else
    echo "FAIL $name"
    failures=$((failures + 1))
  fi
  return $status
}

tally() {  # tally TEXT STATUS: adds the check lines of a helper's output and exit status
  local ok failed
  ok=$(grep -c '^ok   ' <<<"$1")
  failed=$(grep -c '^FAIL ' <<<"$1")
  if [[ $2 -ne 0 && $failed -eq 0 ]]; then
    echo "FAIL the helper ended with status $2"
    failed=1
  fi
  passes=$((passes + ok))
  failures=$((failures + failed))
  [[ $failed -eq 0 ]]
}

finish() {
  echo "$MV_SUITE: $passes passed, $failures failed"
  [[ $failures -eq 0 && $passes -gt 0 ]] && exit 0
  exit 1
}

# A quiet window for checks that measure time: under scripts/test (MV_QUIET_DIR), waits until
# no other suite is at work, and no suite starts until quiet_end. Alone it does nothing.
quiet_begin() {
  [[ -n "${MV_QUIET_DIR:-}" && -d "$MV_QUIET_DIR" ]] || return 0
  local asked=$SECONDS
  at_exit quiet_end
  : >"$MV_QUIET_DIR/$MV_SUITE.wants"
  while [[ -d "$MV_QUIET_DIR" && ! -e "$MV_QUIET_DIR/$MV_SUITE.go" ]]; do sleep 0.5; done
  echo "   quiet window after $((SECONDS - asked)) s"
}
quiet_end() {
  [[ -n "${MV_QUIET_DIR:-}" && -d "$MV_QUIET_DIR" ]] || return 0
  rm -f "$MV_QUIET_DIR/$MV_SUITE.wants" "$MV_QUIET_DIR/$MV_SUITE.go"
  : >"$MV_QUIET_DIR/$MV_SUITE.done"
}

# out=build/NAME under the root, emptied for this run.
fresh_output() { out=$root/build/$1; rm -rf "$out"; mkdir -p "$out"; }

not() { ! "$@"; }
quiet() { "$@" >/dev/null 2>&1; }
touchsim() { wine "$touchsim_exe" "$@"; }

# The stand-in driver, so that the program opens a device and Apply saves; called while no
# program of the prefix runs. A loaded machine sometimes refuses the start ("cannot start the
# driver (error 31)"), and then error 50 until the prefix's services start afresh: after a
# refused try the prefix's processes are ended. Up to four tries.
ensure_standin() {
  local try log
  log=$(mktemp)
  for try in 1 2 3 4; do
    touchsim status >/dev/null 2>&1 && break
    "$root/tools/touchsim/setup-prefix.sh" "$root/build/windows" >"$log" 2>&1 && continue
    echo "   stand-in driver, try $try:"
    sed 's/^/   /' "$log"
    wineserver -k >/dev/null 2>&1
    wineserver -w >/dev/null 2>&1
  done
  rm -f "$log"
  touchsim status >/dev/null 2>&1
}

# Makes the machine's CJK font reach the prefix: Wine draws Chinese texts with boxes unless
# the dialog fonts are linked to a font that has the glyphs. Undone when the runner ends.
link_cjk_font() {
  local font=/usr/share/fonts/truetype/wqy/wqy-microhei.ttc face
  [[ -f "$font" ]] || { echo "no CJK font at $font (package fonts-wqy-microhei)"; return 1; }
  at_exit unlink_cjk_font
  cp "$font" "$WINEPREFIX/drive_c/windows/Fonts/" || return 1
  for face in Tahoma "MS Shell Dlg" "MS Shell Dlg 2" "Microsoft Sans Serif"; do
    wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' /v "$face" \
      /t REG_MULTI_SZ /d 'wqy-microhei.ttc,WenQuanYi Micro Hei' /f >/dev/null 2>&1 || return 1
  done
}
unlink_cjk_font() {
  local face
  for face in Tahoma "MS Shell Dlg" "MS Shell Dlg 2" "Microsoft Sans Serif"; do
    wine reg delete 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' /v "$face" /f >/dev/null 2>&1 || true
  done
  rm -f "$WINEPREFIX/drive_c/windows/Fonts/wqy-microhei.ttc"
}

# Starts MorviCorvelConfig.exe of folder $1 (stderr to $2, or discarded) and waits for its main
# window, shows its settings window with a second start, and sets X and Y to that window's
# top-left corner on screen and W and H to its size (empty when it did not show). The window
# is the one of size $window_size (a pattern; 709x477, its size at 96 DPI, unless set).
start_program() {
  local folder=$1 err=${2:-/dev/null} id=""
  X="" Y="" W="" H=""
  wine "$folder/MorviCorvelConfig.exe" 2>"$err" &
  wait_main_window
  WINEDEBUG=-all wine "$folder/MorviCorvelConfig.exe"   # a second start shows the first
  for _ in $(seq 20); do
    id=$(xwininfo -root -tree | awk -v t="\"$title\"" -v size=" ${window_size:-709x477}\\+" \
      'index($0, t) && $0 ~ size {print $1; exit}')
    [[ -n "$id" ]] && break
    sleep 0.5
  done
  [[ -n "$id" ]] || return 1
  read -r X Y W H < <(xwininfo -id "$id" | awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4}
    /^ *Width:/ {w=$2} /^ *Height:/ {h=$2} END {print x, y, w, h}')
  # On a loaded machine a click right after the window mapped was seen to change nothing: up
  # to 10 s more for the program to make it the active window.
  for _ in $(seq 20); do
    read_state
    [[ "$FOREGROUND" == main && "$ACTIVE" == main ]] && break
    sleep 0.5
  done
  return 0
}
# Up to 30 s for the program's main window titled $title.
wait_main_window() {
  for _ in $(seq 60); do
    sleep 0.5
    wine "$state_exe" "$title" 2>/dev/null | grep -q '^main=0*[1-9a-fA-F]' && return 0
  done
  return 1
}

stop_program() {
  wine "$state_exe" exit "$title" >/dev/null 2>&1 || true
}

# Whether process PID runs (an ended child waiting to be reaped does not).
alive() {
  local stat
  stat=$(cat "/proc/$1/stat" 2>/dev/null) || return 1
  stat=${stat##*) }
  [[ ${stat%% *} != Z ]]
}
# Ends processes by their pid: asked first, killed when still there after two seconds.
end_pids() {
  local pid left=()
  for pid in "$@"; do kill "$pid" 2>/dev/null && left+=("$pid"); done
  for _ in $(seq 20); do
    [[ ${#left[@]} -gt 0 ]] || break
    sleep 0.1
    for pid in "${!left[@]}"; do alive "${left[pid]}" || unset 'left[pid]'; done
  done
  for pid in "${left[@]}"; do kill -9 "$pid" 2>/dev/null; done
  for pid in "$@"; do wait "$pid" 2>/dev/null; done
  return 0
}
# The pids of this prefix's processes that run the Windows program IMAGE: a full path
# (C:\windows\notepad.exe) or a file name (winedbg.exe), as their command line starts.
# Read with builtins only, so that polling it costs little.
prefix_pids() {
  local image=${1,,} dir arg0 env e
  for dir in /proc/[0-9]*; do
    { read -r -d '' arg0 <"$dir/cmdline"; } 2>/dev/null || continue
    arg0=${arg0,,}
    [[ $arg0 == "$image" || $arg0 == *\\"$image" || $arg0 == */"$image" ]] || continue
    { mapfile -t -d '' env <"$dir/environ"; } 2>/dev/null || continue
    for e in "${env[@]}"; do
      [[ $e == "WINEPREFIX=$WINEPREFIX" ]] && { echo "${dir#/proc/}"; break; }
    done
  done
}
end_prefix_processes() {  # end_prefix_processes IMAGE
  # shellcheck disable=SC2046
  end_pids $(prefix_pids "$1")
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

# Up to 10 s for at least N of the program's menus and dialogs to be up (a loaded machine can
# take longer than a click's pause to show one), or with `exactly` for N of them; leaves their
# state read.
wait_popups() {  # wait_popups N [exactly]
  for _ in $(seq 20); do
    read_state
    if [[ ${2:-} == exactly ]]; then [[ ${POPUPS:-0} -eq $1 ]] && return 0
    elif [[ ${POPUPS:-0} -ge $1 ]]; then return 0; fi
    sleep 0.5
  done
  return 1
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
