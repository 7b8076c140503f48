#!/usr/bin/env bash
# The skins folder of dist/: every file the program opens, with its exact size,
# loadable the way the program loads it (GDI+ for PNGs, our GIF parser and
# OleLoadPicture for the animation frames), and generated reproducibly.
#   run-skins.sh ROOT
set -uo pipefail
source "$(dirname "$0")/harness.sh"
suite skins "$1"
skins="$root/dist/skins"
check "dist/skins exists" test -d "$skins" || finish

tmp=$(mktemp -d)
at_exit 'rm -rf "$tmp"'
list=$tmp/list
{
  for s in Normal Over Down; do echo "MorviCorvel_Main_$s.png 709 477"; done
  for page in movcli win8 ngwctr; do
    for s in normal over down; do echo "${page}_gesure_$s.png 357 224"; done
  done
  for s in normal over; do echo "menu\\menu_$s.png 160 108"; done
  for s in normal over down; do echo "menu\\submenu_$s.png 184 216"; done
  for s in normal over down; do echo "pointer_setting_$s.png 259 154"; done
  for n in $(seq 1 10); do echo "pointer_speed_$n.png 189 21"; done
  for s in normal over down; do echo "default_config_$s.png 259 155"; done
  for s in normal over down; do
    echo "editor_chord_$s.png 360 220"
    echo "editor_program_$s.png 400 200"
    echo "editor_web_$s.png 400 200"
    echo "editor_macro_$s.png 560 400"
  done
  for n in $(seq 1 17); do echo "gesture_detail_gif\\$n.gif 225 262"; done
} >"$list"

# Exactly these files and nothing else (the 100 % set; run-dpi.sh checks the scale folders).
expected=$(sed 's/ .*//; s/\\/\//g' "$list" | sort)
actual=$(cd "$skins" && find . -type f -not -path './[0-9]*/*' | sed 's|^\./||' | sort)
same_files() { [[ "$expected" == "$actual" ]] || { diff <(echo "$expected") <(echo "$actual"); return 1; }; }
check "the skins folder holds exactly the expected files" same_files

# Sizes and frame counts as ImageMagick sees them (an independent decoder).
identified() {  # identified FILE KIND W H
  local sizes
  sizes=$(identify -format '%m %w %h\n' "$1" 2>/dev/null | sort -u)
  [[ "$sizes" == "$2 $3 $4" ]] || { echo "   identify gives '$sizes'"; return 1; }
}
while read -r name w h; do
  file="$skins/${name//\\//}"
  [[ -f "$file" ]] || continue
  kind=PNG; [[ "$name" == *.gif ]] && kind=GIF
  check "$name: $kind $w x $h" identified "$file" "$kind" "$w" "$h"
done <"$list"

# The program's own loaders, under Wine.
loaded() { wine "$root/build/windows/skin_check.exe" "$(winepath -w "$skins")" "$(winepath -w "$list")" | tr -d '\r'; }
check "the program's loaders read every file at its size (skin_check.exe)" loaded

# The generator gives the same bytes again.
py=""
if python3 -c 'import PIL' 2>/dev/null; then py=python3; elif /usr/bin/python3 -c 'import PIL' 2>/dev/null; then py=/usr/bin/python3; fi
if [[ -n "$py" ]]; then
  reproducible() { "$py" "$root/res/skins/gen_skins.py" "$tmp/again" >/dev/null && diff -r "$tmp/again" "$skins" >/dev/null; }
  check "the generator's second run gives the same bytes" reproducible
fi
finish
