#!/usr/bin/env python3
"""Checks that a screenshot shows a window picture: finds the picture's place (the rows
and columns of the black screen that are lit over a third of the picture's size, then a
small search around them) and compares pixel by pixel. The gesture animation may be at another frame, so up to
MAX_DIFFERENT of the pixels may differ by more than TOLERANCE.

    find_window.py SCREENSHOT PICTURE
"""
import sys

from PIL import Image, ImageChops

TOLERANCE = 48
MAX_DIFFERENT = 0.03


def different_share(shot, picture, x, y):
    crop = shot.crop((x, y, x + picture.width, y + picture.height))
    diff = ImageChops.difference(crop, picture).convert("L")
    histogram = diff.histogram()
    return sum(histogram[TOLERANCE + 1:]) / (picture.width * picture.height)


def main():
    shot = Image.open(sys.argv[1]).convert("RGB")
    picture = Image.open(sys.argv[2]).convert("RGB")
    lit = shot.convert("L").point(lambda v: 1 if v > 8 else 0)
    pixels = lit.load()
    rows = [y for y in range(shot.height) if sum(pixels[x, y] for x in range(shot.width)) > picture.width // 3]
    cols = [x for x in range(shot.width) if sum(pixels[x, y] for y in range(shot.height)) > picture.height // 3]
    if not rows or not cols:
        print(f"find_window: nothing of the size of {sys.argv[2]} in {sys.argv[1]}")
        return 1
    box = (cols[0], rows[0])
    best = None
    for dy in range(-8, 9):
        for dx in range(-8, 9):
            x, y = box[0] + dx, box[1] + dy
            if x < 0 or y < 0 or x + picture.width > shot.width or y + picture.height > shot.height:
                continue
            share = different_share(shot, picture, x, y)
            if best is None or share < best[0]:
                best = (share, x, y)
    if best is None or best[0] > MAX_DIFFERENT:
        found = f"{best[0]:.1%} of the pixels differ at best" if best else "no room for it"
        print(f"find_window: {sys.argv[2]} is not in {sys.argv[1]} ({found})")
        return 1
    print(f"find_window: {sys.argv[2]} found at ({best[1]}, {best[2]}), {best[0]:.1%} of the pixels differ")
    return 0


if __name__ == "__main__":
    sys.exit(main())
