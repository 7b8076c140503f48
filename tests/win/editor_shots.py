#!/usr/bin/env python3
"""The custom-function editors' screenshots against their skin sheets (run-editors.sh).

    editor_shots.py sizes                 "EDITOR WxH" for each editor, the size of its sheet
    editor_shots.py compare SHOTS SKINS   the checks, one "ok   ..." or "FAIL ..." line each;
                                          SHOTS holds editor-EDITOR-LANG.png for en and zh-CN;
                                          exit status 1 when one failed

Each editor has its sheet's size, shows the sheet where no control draws, and draws text
(different in the two languages) in its title, tips or list label, and OK button.
"""
import sys

# Per editor: its sheet, its size, the rectangles (left, top, right, bottom) holding text in
# every language (the title, the tips or the list label, the OK button), and one rectangle
# that no control draws on.
EDITORS = {
    'Chord': ('chord', '360x220', [(36, 0, 340, 28), (20, 40, 340, 62), (212, 180, 274, 208)],
              (20, 172, 200, 178)),
    'Program': ('program', '400x200', [(36, 0, 380, 28), (20, 40, 384, 64), (252, 158, 314, 186)],
                (20, 150, 240, 156)),
    'WebPage': ('web', '400x200', [(36, 0, 380, 28), (20, 40, 384, 64), (252, 158, 314, 186)],
                (20, 150, 240, 156)),
    'Macro': ('macro', '560x400', [(36, 0, 540, 28), (16, 42, 200, 60), (416, 358, 478, 386)],
              (220, 346, 400, 350)),
}
LANGUAGES = ('en', 'zh-CN')


def ink(a, b):
    """Pixels where two pictures differ by more than 60 of 255 in grey."""
    from PIL import ImageChops
    d = ImageChops.difference(a.convert('RGB'), b.convert('RGB')).convert('L')
    return sum(1 for p in d.getdata() if p > 60)


def compare(shots_dir, skins):
    from PIL import Image
    lines = []

    def result(ok, text):
        lines.append(('ok   ' if ok else 'FAIL ') + text)

    for editor, (name, _, text_rects, blank) in EDITORS.items():
        sheet = Image.open(f'{skins}/editor_{name}_normal.png').convert('RGB')
        shots = {}
        for lang in LANGUAGES:
            try:
                shot = Image.open(f'{shots_dir}/editor-{editor}-{lang}.png').convert('RGB')
            except OSError:
                result(False, f'{lang} {editor}: no screenshot')
                continue
            shots[lang] = shot
            ok = shot.size == sheet.size
            result(ok, f'{lang} {editor}: size {shot.size} = sheet {sheet.size}')
            if not ok:
                continue
            n = ink(shot.crop(blank), sheet.crop(blank))
            result(n == 0, f'{lang} {editor}: the sheet shows where no control draws ({n} pixels differ)')
            for r in text_rects:
                n = ink(shot.crop(r), sheet.crop(r))
                result(n >= 20, f'{lang} {editor}: text drawn in {r} ({n} pixels)')
        if len(shots) == 2 and shots['en'].size == shots['zh-CN'].size:
            r = text_rects[0]
            n = ink(shots['en'].crop(r), shots['zh-CN'].crop(r))
            result(n >= 20, f'{editor}: English and Chinese titles differ ({n} pixels)')
    print('\n'.join(lines))
    return all(line.startswith('ok') for line in lines)


if __name__ == '__main__':
    if sys.argv[1:] == ['sizes']:
        for editor, (_, size, _, _) in EDITORS.items():
            print(editor, size)
    elif len(sys.argv) == 4 and sys.argv[1] == 'compare':
        sys.exit(0 if compare(sys.argv[2], sys.argv[3]) else 1)
    else:
        sys.exit(__doc__)
