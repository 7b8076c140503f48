#!/usr/bin/env bash
# Screenshots of the custom-function editors in English and Chinese, into build/editors,
# compared with their skin sheets (editor_shots.py): each editor has its sheet's size, shows
# the sheet where no control draws, and draws its texts (different in the two languages) in
# the header, the tips and the buttons. Chinese needs a CJK font: WenQuanYi Micro Hei from
# the system's fonts is linked behind the prefix's dialog fonts.
#   run-editors.sh ROOT
set -uo pipefail
source "$(dirname "$0")/harness.sh"
suite editors "$1"
out=$root/build/editors
mkdir -p "$out"
py=/usr/bin/python3

check "the CJK font linked into the prefix" link_cjk_font
wineserver -w

tmp=$(mktemp -d)
at_exit 'rm -rf "$tmp"'
declare -A sizes
while read -r editor size; do sizes[$editor]=$size; done < <("$py" "$root/tests/win/editor_shots.py" sizes)
for lang in en zh-CN; do
  folder=$tmp/$lang
  mkdir -p "$folder"
  cp -r "$root/dist/skins" "$folder/"
  cp "$root/lang/$lang/language.xml" "$folder/"
  export MV_DIST_DIR=$(winepath -w "$folder")
  for editor in Chord Program WebPage Macro; do
    MV_SHOWCASE_MS=9000 wine "$root/build/windows/win_tests.exe" --gtest_also_run_disabled_tests \
      --gtest_filter="DISABLED_EditorShowcase.$editor" >/dev/null 2>&1 &
    pid=$!
    id=""
    for _ in $(seq 40); do
      sleep 0.5
      id=$(xwininfo -root -tree | awk -v g="${sizes[$editor]}+" 'index($0, g) {print $1; exit}')
      [[ -n "$id" ]] && break
    done
    shot=$out/editor-$editor-$lang.png
    rm -f "$shot"
    if [[ -n "$id" ]]; then sleep 2; import -window "$id" "$shot"; fi
    wait $pid
    check "$lang $editor shown at its sheet's size (${sizes[$editor]})" test -n "$id" -a -s "$shot"
  done
done

# Pixel comparisons with the sheets.
result=$("$py" "$root/tests/win/editor_shots.py" compare "$out" "$root/dist/skins")
status=$?
echo "$result"
tally "$result" $status
finish
