#!/usr/bin/env bash
# The program at 144 and 192 DPI (150 and 200 %), each run in a Wine prefix and on an X display
# of its own (the prefix's LogPixels set to that DPI, the display large enough for the window):
#   - the manifest declares per-monitor v2 awareness with the fallbacks older Windows reads;
#   - the skin folder holds a set for each of 125, 150, 175 and 200 %: the files of the 100 %
#     set, each w x h picture drawn at the program's scaled size (a picture that fills a
#     control of its own, the speed slider's and the animations, as large as that control),
#     loadable by the program;
#   - the settings window is the 96-DPI size times the scale (within a pixel), and its
#     screenshots compare with the pictures of the set for that DPI as run-screens.sh compares
#     them at 96 DPI (a picture scaled up from another set is blurred and fails): the header,
#     the pressed tile, the faded function button, page 2, both menu levels where and as large
#     as they belong, the pointer dialog's slider and toggle, the restore dialog; in English
#     and (at 150 %) in Chinese;
#   - without the sets for 150 % and up the program takes the 100 % set scaled once to the
#     window's size; without the 150 % set alone, the 175 % set scaled down.
# Screenshots go to build/dpi. The pictures they are compared with are the generator's, in
# ROOT/dist/skins, whatever program folder is tested (another build's shows which checks it fails).
#   run-dpi.sh ROOT [PROGRAM_FOLDER]   (default ROOT/dist)
set -uo pipefail
source "$(dirname "$0")/harness.sh"
suite dpi "$1" no-wine
program=${2:-$root/dist}
pictures=$root/dist/skins
out=$root/build/dpi
mkdir -p "$out"
rm -f "$out"/*.png
tmp=$(mktemp -d)
at_exit 'rm -rf "$tmp"'
# The settings window is told from Wine's tray window (titled as the tooltip) by its size:
# 709x477 at $dpi, give or take a pixel (the size check below says how far off it is).
sized_about() {
  local w h
  w=$(s 709) h=$(s 477)
  window_size="($((w - 1))|$w|$((w + 1)))x($((h - 1))|$h|$((h + 1)))"
}

# A 96-DPI figure at $dpi, rounded as the program rounds it (src/ui/display_scale.cpp).
s() {
  local v=$1 m
  m=$(((${v#-} * dpi * 2 + 96) / 192))
  [[ $v == -* ]] && echo $((-m)) || echo $m
}

# The manifest, as the program carries it.
manifest=$(grep -ao '<dpiAware[^<]*</dpiAware>\|<dpiAwareness[^<]*</dpiAwareness>' "$program/MorviCorvelConfig.exe")
check "manifest: per-monitor v2, then per-monitor ($(grep -o '>[^<]*<' <<<"$manifest" | tr -d '<>' | paste -sd'|'))" \
  grep -q '>PerMonitorV2, PerMonitor<' <<<"$manifest"
check "manifest: dpiAware true/pm for Windows before 10" grep -q '>true/pm<' <<<"$manifest"

# The sets: the files of the 100 % set in each, every picture at the scaled size. A picture at
# (x, y) of its window is S(x + w) - S(x) wide: the slider's at (36, 47), the animations' at (444, 122).
sets_complete() {
  local skins=$1 percent dpi name w h sw sh x y bad=0
  local base
  base=$(cd "$skins" && find . -type f -not -path './[0-9]*/*' | sort)
  [[ "$(cd "$skins" && find . -mindepth 1 -maxdepth 1 -type d -name '[0-9]*' | sort | tr '\n' ' ')" == \
     "./125 ./150 ./175 ./200 " ]] || { echo "     scale folders: $(ls "$skins" | grep '^[0-9]' | tr '\n' ' ')"; return 1; }
  for percent in 125 150 175 200; do
    [[ "$(cd "$skins/$percent" && find . -type f | sort)" == "$base" ]] || { echo "     $percent: other files"; return 1; }
    dpi=$((percent * 96 / 100))
    while read -r name w h; do
      x=0 y=0
      [[ $name == ./pointer_speed_* ]] && x=36 y=47
      [[ $name == ./gesture_detail_gif/* ]] && x=444 y=122
      read -r sw sh < <(identify -format '%w %h\n' "$skins/$percent/$name" 2>/dev/null | head -1)
      if [[ "$sw $sh" != "$(($(s $((x + w))) - $(s $x))) $(($(s $((y + h))) - $(s $y)))" ]]; then
        echo "     $percent/$name: ${sw:-?}x${sh:-?}, not $(($(s $((x + w))) - $(s $x)))x$(($(s $((y + h))) - $(s $y)))"
        bad=1
      fi
    done < <(cd "$skins" && for f in $base; do identify -format "$f %w %h\n" "$f" | head -1; done)
  done
  return $bad
}
check "skins: the 125, 150, 175 and 200 % sets, every picture at its scaled size" sets_complete "$program/skins"
loadable() {  # every file of the sets through the program's own loaders (GDI+, our GIF reader)
  local list=$tmp/list-$1
  [[ -d "$program/skins/$1" ]] || return 1
  (cd "$program/skins/$1" && find . -type f | sed 's|^\./||' | while read -r f; do
     identify -format "${f//\//\\\\} %w %h\n" "$f" | head -1; done) >"$list"
  # As many pictures as the 100 % set has.
  [[ $(wc -l <"$list") -eq $(cd "$program/skins" && find . -type f -not -path './[0-9]*/*' | wc -l) ]] || return 1
  wine "$root/build/windows/skin_check.exe" "$(winepath -w "$program/skins/$1")" "$(winepath -w "$list")" |
    tr -d '\r' | grep -q ' 0 failed'
}

# A session at $dpi, on a display tall enough for both menu levels to open below the
# function button at 200 %, as they do at 96 DPI on 1280 x 1024.
session_at() {  # session_at DPI (ended when the calling subshell ends)
  MV_SCREEN=2560x1920x24 session || return 1
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
  wine reg add 'HKCU\Control Panel\Mouse' /v MouseSensitivity /t REG_SZ /d 10 /f >/dev/null 2>&1
  wine reg add 'HKCU\Control Panel\Mouse' /v MouseSpeed /t REG_SZ /d 1 /f >/dev/null 2>&1
}

# Starts the program of folder $1, the pointer out of the way, and shows its settings window.
start_scaled() {
  xdotool mousemove 2550 1910
  start_program "$1" && sleep 1
}

# The part of a sheet under a control, scaled to the control's size as the button draws it.
cut() {  # cut SHEET X Y W H WIDTH HEIGHT OUT   (pixels)
  convert "$1" -crop "$4x$5+$2+$3" +repage -resize "$6x$7!" "$8"
}
# A 96-DPI rectangle X Y RIGHT BOTTOM as "x y w h" in pixels at $dpi.
box() { echo "$(s "$1") $(s "$2") $(($(s "$3") - $(s "$1"))) $(($(s "$4") - $(s "$2")))"; }
looks_like() {  # looks_like NAME SHOT X Y W H GOOD BAD LIMIT   (window pixels)
  local name=$1 shot=$2 good bad
  crop "$shot" $((X + $3)) $((Y + $4)) "$5" "$6" "$tmp/area.png"
  good=$(rmse "$tmp/area.png" "$7")
  bad=$(rmse "$tmp/area.png" "$8")
  check "$name (rmse $good, against $bad)" test "$good" -le "$9" -a $((good * 2)) -lt "$bad"
}
# A tile of page sheet $1 at cell $2 (0..5) scaled to the tile, as the program shows it.
tile_picture() {  # tile_picture SHEET CELL OUT
  local cx=$((10 + ($2 % 3) * 117)) cy=$((7 + ($2 / 3) * 112)) tx=$((51 + ($2 % 3) * 118)) ty=$((133 + ($2 / 3) * 110))
  local c t
  c=($(box $cx $cy $((cx + 113)) $((cy + 105))))
  t=($(box $tx $ty $((tx + 114)) $((ty + 105))))
  cut "$1" "${c[@]}" "${t[2]}" "${t[3]}" "$3"
  TILE=("${t[@]}")
}

screens() {  # screens FOLDER SUFFIX: the checks of one language at $dpi
  local folder=$1 sfx=$2 k=$((dpi * 100 / 96)) skins=$pictures/$((dpi * 100 / 96)) shot=$tmp/root.png
  local ew eh a b
  if ! start_scaled "$folder"; then
    check "settings window shown$sfx" false
    return
  fi
  ew=$((709 * dpi)); eh=$((477 * dpi))
  check "window$sfx ${W}x$H: 709x477 times $k % is $(awk -v w=$ew -v h=$eh 'BEGIN {printf "%gx%g", w / 96, h / 96}'), within a pixel" \
    test $((W * 96 - ew)) -le 96 -a $((ew - W * 96)) -le 96 -a $((H * 96 - eh)) -le 96 -a $((eh - H * 96)) -le 96
  shot "$shot"
  crop "$shot" $((X - 20)) $((Y - 20)) $((W + 40)) $((H + 40)) "$out/main-$dpi$sfx.png"
  # The header: logo, wordmark, minimize and close, nothing drawn over them.
  a=($(box 0 0 709 50))
  crop "$skins/MorviCorvel_Main_Normal.png" "${a[@]}" "$tmp/header.png"
  crop "$skins/MorviCorvel_Main_Over.png" "${a[@]}" "$tmp/header-over.png"
  looks_like "header drawn from the $k % normal sheet$sfx" "$shot" "${a[@]}" "$tmp/header.png" "$tmp/header-over.png" 5

  tile_picture "$skins/movcli_gesure_down.png" 0 "$tmp/down.png"
  tile_picture "$skins/movcli_gesure_normal.png" 0 "$tmp/normal.png"
  looks_like "slot 0's tile pressed$sfx" "$shot" "${TILE[@]}" "$tmp/down.png" "$tmp/normal.png" 120
  a=($(box 241 363 280 394))
  crop "$skins/MorviCorvel_Main_Normal.png" "${a[@]}" "$tmp/function.png"
  faded "$tmp/function.png" "$tmp/function-faded.png"
  looks_like "function button disabled: faded$sfx" "$shot" "${a[@]}" "$tmp/function-faded.png" "$tmp/function.png" 15

  click "$(s 238)" "$(s 85)"; point "$(s 600)" "$(s 460)"
  shot "$shot"
  crop "$shot" $((X - 20)) $((Y - 20)) $((W + 40)) $((H + 40)) "$out/page2-$dpi$sfx.png"
  tile_picture "$skins/win8_gesure_down.png" 0 "$tmp/down.png"
  tile_picture "$skins/win8_gesure_normal.png" 0 "$tmp/normal.png"
  looks_like "page 2: its first gesture selected$sfx" "$shot" "${TILE[@]}" "$tmp/down.png" "$tmp/normal.png" 120
  looks_like "page 2: function button enabled$sfx" "$shot" "${a[@]}" "$tmp/function.png" "$tmp/function-faded.png" 15

  # The function menu of slot 6, the pointer resting on the media category's second entry.
  click "$(s 160)" "$(s 378)" 1.5
  point "$(s 71)" "$(s $((395 + 3 * 18 + 8)))"
  point "$(s $((41 + 160 + 40)))" "$(s $((395 + 3 * 18 + 18 + 8)))" 1
  wait_popups 2 exactly
  shot "$shot"
  crop "$shot" $((X - 20)) $((Y - 20)) $((W + 400)) $((H + 100)) "$out/menu-$dpi$sfx.png"
  check "menu: two levels open$sfx" test "$POPUPS" = 2
  check "menu: first level below the function button, $(s 160)x$(s 108)$sfx (${POPUP[1]:-none})" \
    test "${POPUP[1]:-none}" = "$((X + $(s 41))) $((Y + $(s 395))) $(s 160) $(s 108)"
  check "menu: second level beside the media category, $(s 184)x$(s 126)$sfx (${POPUP[0]:-none})" \
    test "${POPUP[0]:-none}" = "$((X + $(s 41) + $(s 160))) $((Y + $(s 395) + $(s 54))) $(s 184) $(s 126)"
  # Rows cut at the program's scaled edges: the media row of the over sheet in the normal one.
  # Compared where no caption lies (the captions' size changes with the scale): the first
  # level's right end with the chevrons, the second level's right end.
  a=($(box 0 54 160 71))
  convert "$skins/menu/menu_normal.png" \( "$skins/menu/menu_over.png" -crop "${a[2]}x${a[3]}+0+${a[1]}" +repage \) \
    -geometry "+0+${a[1]}" -composite "$tmp/first.png"
  b=($(box 136 0 160 108))
  crop "$tmp/first.png" "${b[@]}" "$tmp/first-end.png"
  crop "$skins/menu/menu_normal.png" "${b[@]}" "$tmp/plain-end.png"
  looks_like "menu: first level, media highlighted$sfx" "$shot" $(($(s 41) + b[0])) "$(s 395)" "${b[2]}" "${b[3]}" \
    "$tmp/first-end.png" "$tmp/plain-end.png" 15
  a=($(box 0 18 184 35))
  convert "$skins/menu/submenu_normal.png" -crop "$(s 184)x$(s 126)+0+0" +repage \
    \( "$skins/menu/submenu_over.png" -crop "${a[2]}x${a[3]}+0+${a[1]}" +repage \) -geometry "+0+${a[1]}" -composite \
    "$tmp/second.png"
  convert "$skins/menu/submenu_normal.png" -crop "$(s 184)x$(s 126)+0+0" +repage \
    \( "$skins/menu/submenu_over.png" -crop "${a[2]}x${a[3]}+0+0" +repage \) -geometry +0+0 -composite "$tmp/second-wrong.png"
  b=($(box 160 0 184 126))
  crop "$tmp/second.png" "${b[@]}" "$tmp/second-end.png"
  crop "$tmp/second-wrong.png" "${b[@]}" "$tmp/second-wrong-end.png"
  looks_like "menu: second level, its second entry highlighted$sfx" "$shot" $(($(s 41) + $(s 160) + b[0])) \
    $(($(s 395) + $(s 54))) "${b[2]}" "${b[3]}" "$tmp/second-end.png" "$tmp/second-wrong-end.png" 15
  # The key-chord editor from the custom functions, for the eye.
  point "$(s 71)" "$(s $((395 + 5 * 18 + 8)))" 1.2
  point "$(s $((41 + 160 + 40)))" "$(s $((395 + 5 * 18 + 8)))" 1
  xdotool click 1
  wait_popups 1 exactly
  sleep 1
  shot "$shot"
  if [[ -n "${POPUP[0]:-}" ]]; then
    b=(${POPUP[0]})
    crop "$shot" $((b[0] - 20)) $((b[1] - 20)) $((b[2] + 40)) $((b[3] + 40)) "$out/editor-$dpi$sfx.png"
    check "key-chord editor: $(s 360)x$(s 220)$sfx (${b[2]}x${b[3]})" test "${b[2]}x${b[3]}" = "$(s 360)x$(s 220)"
    click_screen $((b[0] + $(s 312))) $((b[1] + $(s 194))) 1   # its cancel button
    wait_popups 0 exactly
  else
    check "key-chord editor shown$sfx" false
  fi

  # The pointer dialog: speed 10 (notch 5) and acceleration on.
  click "$(s 349)" "$(s 378)" 1.5
  wait_popups 1 exactly
  local dialog=(${POPUP[0]:-0 0 0 0})
  shot "$shot"
  crop "$shot" $((dialog[0] - 20)) $((dialog[1] - 20)) $((dialog[2] + 40)) $((dialog[3] + 40)) "$out/pointer-$dpi$sfx.png"
  check "pointer dialog: $(s 259)x$(s 154)$sfx (${dialog[2]}x${dialog[3]})" test "${dialog[2]}x${dialog[3]}" = "$(s 259)x$(s 154)"
  a=($(box 36 47 225 68))
  crop "$shot" $((dialog[0] + a[0])) $((dialog[1] + a[1])) "${a[2]}" "${a[3]}" "$tmp/slider.png"
  check "pointer dialog: the slider at notch 5$sfx" test "$(rmse "$tmp/slider.png" "$skins/pointer_speed_6.png")" -le 5
  a=($(box 36 97 54 116))
  crop "$skins/pointer_setting_down.png" "${a[@]}" "$tmp/on.png"
  crop "$skins/pointer_setting_normal.png" "${a[@]}" "$tmp/off.png"
  X=${dialog[0]} Y=${dialog[1]} looks_like "pointer dialog: acceleration on$sfx" "$shot" "${a[@]}" "$tmp/on.png" "$tmp/off.png" 15
  keys Escape
  wait_popups 0 exactly
  click "$(s 500)" "$(s 445)" 1.5
  wait_popups 1 exactly
  dialog=(${POPUP[0]:-0 0 0 0})
  shot "$shot"
  crop "$shot" $((dialog[0] - 20)) $((dialog[1] - 20)) $((dialog[2] + 40)) $((dialog[3] + 40)) "$out/restore-$dpi$sfx.png"
  a=($(box 60 50 250 100))
  crop "$shot" $((dialog[0] + a[0])) $((dialog[1] + a[1])) "${a[2]}" "${a[3]}" "$tmp/question.png"
  crop "$skins/default_config_normal.png" "${a[@]}" "$tmp/question-sheet.png"
  local h
  h=$(diff_height "$tmp/question.png" "$tmp/question-sheet.png")
  check "restore question on two lines ($h pixels high)$sfx" test "${h:-0}" -ge "$(s 16)"
  a=($(box 0 0 259 45))
  crop "$shot" "${dialog[0]}" "${dialog[1]}" "${a[2]}" "${a[3]}" "$tmp/header.png"
  crop "$skins/default_config_normal.png" "${a[@]}" "$tmp/header-sheet.png"
  check "restore dialog drawn from its $k % normal sheet$sfx" test "$(rmse "$tmp/header.png" "$tmp/header-sheet.png")" -le 5
  keys Escape
  stop_program
}

# Without some sets: the window keeps its size at $dpi, the pictures scaled once from the set
# the rule picks; compared with that set's header scaled by ImageMagick and with the other's.
fallback() {  # fallback REMOVED... : the sets taken away
  local folder=$tmp/fallback from a others
  rm -rf "$folder"; mkdir -p "$folder"
  cp -r "$program/MorviCorvelConfig.exe" "$program/language.xml" "$program/skins" "$folder/"
  for a in "$@"; do rm -rf "$folder/skins/$a"; done
  from=100; for a in 175 200; do [[ -d "$folder/skins/$a" ]] && { from=$a; break; }; done
  others=100; [[ $from == 100 ]] && others=200
  if ! start_scaled "$folder"; then
    check "without the sets $*: settings window shown" false
    return
  fi
  shot "$tmp/root.png"
  crop "$tmp/root.png" "$X" "$Y" "$W" "$H" "$out/main-$dpi-without-$(IFS=-; echo "$*").png"
  check "without the sets $*: the window ${W}x$H, the size for $dpi DPI" test "${W}x$H" = "$(s 709)x$(s 477)"
  a=($(box 0 0 709 50))
  for set in $from $others; do
    local source="$pictures/$set/MorviCorvel_Main_Normal.png"
    [[ $set == 100 ]] && source="$pictures/MorviCorvel_Main_Normal.png"
    convert "$source" -filter Catrom -resize "$(s 709)x$(s 477)!" -crop "${a[2]}x${a[3]}+0+0" +repage "$tmp/header-$set.png"
  done
  local good bad
  crop "$tmp/root.png" "$X" "$Y" "${a[2]}" "${a[3]}" "$tmp/area.png"
  good=$(rmse "$tmp/area.png" "$tmp/header-$from.png")
  bad=$(rmse "$tmp/area.png" "$tmp/header-$others.png")
  check "without the sets $*: the header from the $from % set scaled once (rmse $good, against $bad from the $others % set)" \
    test "$good" -le 30 -a "$good" -lt "$bad"
  stop_program
}

run_at() {  # run_at DPI: one prefix and display at that DPI
  dpi=$1
  sized_about
  session_at "$dpi" || { check "a Wine session at $dpi DPI" false; return; }
  if [[ $dpi == 144 ]]; then
    for percent in 125 150 175 200; do check "skins: the $percent % set loads as the program loads it" loadable $percent; done
  fi
  screens "$program" ""
  if [[ $dpi == 144 ]]; then
    fallback 150
    fallback 150 175 200
    # The same in Chinese.
    local zh=$tmp/zh
    mkdir -p "$zh"
    cp -r "$program/MorviCorvelConfig.exe" "$program/skins" "$zh/"
    cp "$root/lang/zh-CN/language.xml" "$zh/language.xml"
    local saved=$title
    title="Morvi Corvel 设置"
    check "the CJK font linked into the prefix" link_cjk_font
    screens "$zh" "-zh"
    title=$saved
  fi
  echo "$passes $failures" >"$tmp/counts-$dpi"
}

# Each DPI in a subshell of its own, which ends its session; their counts added here.
for d in 144 192; do
  (MV_AT_EXIT=(); passes=0; failures=0; run_at "$d")
  if read -r p f <"$tmp/counts-$d"; then
    passes=$((passes + p)) failures=$((failures + f))
  else
    check "the checks at $d DPI ran to their end" false
  fi
done
echo "dpi: screenshots in $out"
finish
