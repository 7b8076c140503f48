#!/usr/bin/env bash
# The skins folder of dist/: every file the program opens, with its exact size,
# loadable the way the program loads it (GDI+ for PNGs, our GIF parser and
# OleLoadPicture for the animation frames), and generated reproducibly.
set -euo pipefail
root=$1
skins="$root/dist/skins"
fail() { echo "FAILED: $*"; exit 1; }
[[ -d "$skins" ]] || fail "no $skins"

list=$(mktemp)
trap 'rm -rf "$list" "$list.dir"' EXIT
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

status=0
# Exactly these files and nothing else (the 100 % set; run-dpi.sh checks the scale folders).
expected=$(sed 's/ .*//; s/\\/\//g' "$list" | sort)
actual=$(cd "$skins" && find . -type f -not -path './[0-9]*/*' | sed 's|^\./||' | sort)
if [[ "$expected" != "$actual" ]]; then
  echo "FAILED: the skins folder differs from the expected file list:"
  diff <(echo "$expected") <(echo "$actual") || true
  status=1
fi

# Sizes and frame counts as ImageMagick sees them (an independent decoder).
checked=0
while read -r name w h; do
  file="$skins/${name//\\//}"
  [[ -f "$file" ]] || continue
  sizes=$(identify -format '%m %w %h\n' "$file" 2>/dev/null | sort -u || true)
  kind=PNG; [[ "$name" == *.gif ]] && kind=GIF
  if [[ "$sizes" != "$kind $w $h" ]]; then
    echo "FAILED: $name: identify gives '$sizes', expected '$kind $w $h'"
    status=1
  fi
  checked=$((checked + 1))
done <"$list"
echo "identify: $checked files looked at"

# The program's own loaders, under Wine.
wine "$root/build/windows/skin_check.exe" "$(winepath -w "$skins")" "$(winepath -w "$list")" | tr -d '\r' || status=1

# The generator gives the same bytes again.
if python3 -c 'import PIL' 2>/dev/null || /usr/bin/python3 -c 'import PIL' 2>/dev/null; then
  py=python3; python3 -c 'import PIL' 2>/dev/null || py=/usr/bin/python3
  "$py" "$root/res/skins/gen_skins.py" "$list.dir" >/dev/null
  if diff -r "$list.dir" "$skins" >/dev/null; then
    echo "reproducible: the generator's second run gives the same bytes"
  else
    echo "FAILED: the generator's output differs from dist/skins"
    status=1
  fi
fi
[[ $status -eq 0 ]] && echo "skins: 1 passed, 0 failed" || echo "skins: 0 passed, 1 failed"
exit $status
