#!/usr/bin/env bash
# Screenshots of the custom-function editors in English and Chinese, into build/editors,
# compared with their skin sheets: each editor has its sheet's size, shows the sheet where
# no control draws, and draws its texts (different in the two languages) in the header,
# the tips and the buttons. Chinese needs a CJK font: WenQuanYi Micro Hei from the
# system's fonts is linked behind the prefix's dialog fonts.
set -euo pipefail
root=$1
out=$root/build/editors
mkdir -p "$out"
failures=0
check() { if eval "$2"; then echo "ok   $1"; else echo "FAIL $1"; failures=$((failures + 1)); fi; }

for face in "Tahoma" "MS Shell Dlg" "MS Shell Dlg 2" "Microsoft Sans Serif"; do
  wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' /v "$face" \
    /t REG_MULTI_SZ /d 'wqy-microhei.ttc,WenQuanYi Micro Hei' /f >/dev/null 2>&1
done
wineserver -w

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
declare -A sizes=([Chord]=360x220 [Program]=400x200 [WebPage]=400x200 [Macro]=560x400)
declare -A sheets=([Chord]=chord [Program]=program [WebPage]=web [Macro]=macro)
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
    wait $pid || true
    check "$lang $editor shown at its sheet's size (${sizes[$editor]})" '[[ -n "$id" && -s "$shot" ]]'
  done
done

# Pixel comparisons with the sheets (Python with Pillow).
result=$(/usr/bin/python3 - "$out" "$root/dist/skins" <<'PY'
import sys
from PIL import Image, ImageChops
out, skins = sys.argv[1], sys.argv[2]
sheet_of = {'Chord': 'chord', 'Program': 'program', 'WebPage': 'web', 'Macro': 'macro'}
# Rectangles (left, top, right, bottom) holding text in every language: the title,
# the tips or list label, and the OK button; and one that no control draws on.
text_rects = {
    'Chord': [(36, 0, 340, 28), (20, 40, 340, 62), (212, 180, 274, 208)],
    'Program': [(36, 0, 380, 28), (20, 40, 384, 64), (252, 158, 314, 186)],
    'WebPage': [(36, 0, 380, 28), (20, 40, 384, 64), (252, 158, 314, 186)],
    'Macro': [(36, 0, 540, 28), (16, 42, 200, 60), (416, 358, 478, 386)],
}
blank = {'Chord': (20, 172, 200, 178), 'Program': (20, 150, 240, 156), 'WebPage': (20, 150, 240, 156),
         'Macro': (220, 346, 400, 350)}
lines = []
def ink(a, b):
    d = ImageChops.difference(a.convert('RGB'), b.convert('RGB')).convert('L')
    return sum(1 for p in d.getdata() if p > 60)
for editor, name in sheet_of.items():
    sheet = Image.open(f'{skins}/editor_{name}_normal.png').convert('RGB')
    shots = {}
    for lang in ('en', 'zh-CN'):
        try:
            shot = Image.open(f'{out}/editor-{editor}-{lang}.png').convert('RGB')
        except OSError:
            lines.append(f'FAIL {lang} {editor}: no screenshot')
            continue
        shots[lang] = shot
        ok = shot.size == sheet.size
        lines.append(f'{"ok  " if ok else "FAIL"} {lang} {editor}: size {shot.size} = sheet {sheet.size}')
        if not ok:
            continue
        b = blank[editor]
        n = ink(shot.crop(b), sheet.crop(b))
        lines.append(f'{"ok  " if n == 0 else "FAIL"} {lang} {editor}: the sheet shows where no control draws ({n} pixels differ)')
        for r in text_rects[editor]:
            n = ink(shot.crop(r), sheet.crop(r))
            lines.append(f'{"ok  " if n >= 20 else "FAIL"} {lang} {editor}: text drawn in {r} ({n} pixels)')
    if len(shots) == 2 and shots['en'].size == shots['zh-CN'].size:
        r = text_rects[editor][0]
        n = ink(shots['en'].crop(r), shots['zh-CN'].crop(r))
        lines.append(f'{"ok  " if n >= 20 else "FAIL"} {editor}: English and Chinese titles differ ({n} pixels)')
print('\n'.join(lines))
PY
)
echo "$result"
failures=$((failures + $(grep -c '^FAIL' <<<"$result" || true)))
passed=$(grep -c '^ok' <<<"$result" || true)
echo "editors: $passed passed, $failures failed"
exit $((failures != 0))
