#!/usr/bin/env python3
"""Draws the program's icons as .ico files (32-bit): 128 the program, 129-140 the tray menu items.

The program icon has a frame for every size Windows asks for from 100 % to 200 % display
scale (small icons 16 to 32, large ones 32 to 64) and 256 for large views; the menu glyphs
have the small sizes. Frames up to 64 pixels are bitmaps, the 256-pixel one a PNG.
"""
import math
import os
import struct
import sys
import zlib

PROGRAM_SIZES = (16, 20, 24, 28, 32, 40, 48, 56, 64, 256)
GLYPH_SIZES = (16, 20, 24, 28, 32)


def lerp(a, b, t):
    return tuple(int(round(x + (y - x) * t)) for x, y in zip(a, b))


def rounded_rect_coverage(x, y, left, top, right, bottom, radius):
    """Anti-aliased coverage of a pixel centre by a rounded rectangle."""
    cx = min(max(x, left + radius), right - radius)
    cy = min(max(y, top + radius), bottom - radius)
    d = math.hypot(x - cx, y - cy) - radius
    inside_box = left <= x <= right and top <= y <= bottom
    if not inside_box and d > 1:
        return 0.0
    return max(0.0, min(1.0, 0.5 - d))


def circle_coverage(x, y, cx, cy, r):
    return max(0.0, min(1.0, r - math.hypot(x - cx, y - cy) + 0.5))


def blend(dst, src, alpha):
    """Source-over of a straight-alpha colour onto a straight-alpha pixel."""
    r, g, b, a = dst
    sr, sg, sb = src
    out_a = alpha + a * (1 - alpha)
    if out_a <= 0:
        return (0, 0, 0, 0)
    mix = lambda s, d: (s * alpha + d * a * (1 - alpha)) / out_a
    return (mix(sr, r), mix(sg, g), mix(sb, b), out_a)


def draw_main(size):
    """A touch-pad mouse seen from above: a blue body, a glass touch area and a fingertip trail."""
    s = size / 32.0
    px = []
    for j in range(size):
        row = []
        for i in range(size):
            x, y = i + 0.5, j + 0.5
            p = (0, 0, 0, 0)
            body = rounded_rect_coverage(x, y, 5 * s, 1.5 * s, 27 * s, 30.5 * s, 10 * s)
            if body:
                p = blend(p, lerp((52, 120, 230), (20, 60, 150), y / size), body)
            pad = rounded_rect_coverage(x, y, 8.5 * s, 5 * s, 23.5 * s, 20 * s, 5 * s)
            if pad:
                p = blend(p, lerp((235, 244, 255), (170, 200, 240), y / size), pad * 0.95)
            for k, (fx, fy, fr) in enumerate(((12.5, 15.5, 1.6), (16, 12.5, 2.0), (19.5, 9.5, 2.4))):
                c = circle_coverage(x, y, fx * s, fy * s, max(fr * s, 0.9))
                if c:
                    p = blend(p, (255, 140, 40), c * (0.45 + 0.25 * k))
            seam = rounded_rect_coverage(x, y, 15.5 * s, 22.5 * s, 16.5 * s, 27.5 * s, 0.5 * s)
            if seam and body:
                p = blend(p, (200, 220, 255), seam * 0.8)
            row.append(p)
        px.append(row)
    return px


def draw_glyph(size, colour, coverage):
    """A one-colour 16-unit glyph; coverage(x, y, scale) gives the alpha at a pixel centre."""
    s = size / 16.0
    return [[blend((0, 0, 0, 0), colour, a) if (a := coverage((i + 0.5) / s, (j + 0.5) / s, s)) else (0, 0, 0, 0)
             for i in range(size)] for j in range(size)]


def power_coverage(x, y, s):
    d = math.hypot(x - 8, y - 8.5)
    ring = max(0.0, min(1.0, (1.1 - abs(d - 5.2)) * s))
    if abs(math.degrees(math.atan2(x - 8, -(y - 8.5)))) < 35:
        ring = 0.0
    return max(ring, rounded_rect_coverage(x, y, 7.1, 1.5, 8.9, 8.5, 0.9))


def gear_coverage(x, y, s):
    d = math.hypot(x - 8, y - 8)
    tooth = 0.5 + 0.5 * math.cos(8 * math.atan2(y - 8, x - 8))
    outer = 5.2 + (1.6 if tooth > 0.5 else 0)
    return min(max(0.0, min(1.0, (outer - d) * s + 0.5)), max(0.0, min(1.0, (d - 2.2) * s + 0.5)))


def draw_power(size, selected):
    """The exit item: a power symbol, red when selected."""
    return draw_glyph(size, (200, 40, 40) if selected else (90, 90, 100), power_coverage)


def draw_gear(size, selected):
    """The show item: a gear, blue when selected."""
    return draw_glyph(size, (30, 90, 200) if selected else (90, 90, 100), gear_coverage)


def pause_coverage(x, y, s):
    return max(rounded_rect_coverage(x, y, 4, 3, 6.8, 13, 0.8), rounded_rect_coverage(x, y, 9.2, 3, 12, 13, 0.8))


def play_coverage(x, y, s):
    # A triangle pointing right: inside when left of both slanted edges and right of the back.
    d = min(x - 4.5, (13 - x) - abs(y - 8) * 8.5 / 5.5)
    return max(0.0, min(1.0, d * s * 0.7 + 0.5)) if 2.5 <= y <= 13.5 else 0.0


def label_coverage(checked):
    """A speech label; a tick inside when the hints are on, a bare outline when off."""
    def coverage(x, y, s):
        outer = rounded_rect_coverage(x, y, 1.5, 2.5, 14.5, 11.5, 2.5)
        inner = rounded_rect_coverage(x, y, 2.8, 3.8, 13.2, 10.2, 1.5)
        tail = 1.0 if 4 <= x <= 7 and 11 <= y <= 14.5 - (x - 4) else 0.0
        frame = max(outer - inner, tail)
        if not checked:
            return frame
        tick = 0.0
        for (ax, ay, bx, by) in ((5, 7, 7.3, 9.2), (7.3, 9.2, 11.2, 5.2)):
            t = max(0.0, min(1.0, ((x - ax) * (bx - ax) + (y - ay) * (by - ay)) / ((bx - ax) ** 2 + (by - ay) ** 2)))
            d = math.hypot(x - (ax + t * (bx - ax)), y - (ay + t * (by - ay)))
            tick = max(tick, max(0.0, min(1.0, (1.0 - d) * s + 0.5)))
        return max(frame, tick)
    return coverage


def draw_pause(size, selected):
    """The pause item while gestures run: two bars, amber when selected."""
    return draw_glyph(size, (210, 130, 20) if selected else (90, 90, 100), pause_coverage)


def draw_play(size, selected):
    """The pause item while gestures are paused: a play triangle, green when selected."""
    return draw_glyph(size, (30, 150, 60) if selected else (90, 90, 100), play_coverage)


def draw_label(size, selected, checked):
    """The hints item: a label, ticked while the hints are on, blue when selected."""
    return draw_glyph(size, (30, 90, 200) if selected else (90, 90, 100), label_coverage(checked))


def png_frame(pixels):
    """A 32-bit RGBA PNG of the pixels, without time stamps: an icon frame of 256 pixels."""
    size = len(pixels)
    rows = b''.join(b'\x00' + bytes(v for r, g, b, a in row for v in (int(r), int(g), int(b), int(round(a * 255))))
                    for row in pixels)

    def chunk(kind, data):
        return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data) & 0xFFFFFFFF)

    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', size, size, 8, 6, 0, 0, 0))
            + chunk(b'IDAT', zlib.compress(rows, 9)) + chunk(b'IEND', b''))


def encode_ico(images):
    entries, blobs = [], []
    offset = 6 + 16 * len(images)
    for pixels in images:
        size = len(pixels)
        if size >= 256:
            blob = png_frame(pixels)
            entries.append(struct.pack('<BBBBHHII', 0, 0, 0, 0, 1, 32, len(blob), offset))
            blobs.append(blob)
            offset += len(blob)
            continue
        xor = bytearray()
        for row in reversed(pixels):
            for r, g, b, a in row:
                xor += bytes((int(b), int(g), int(r), int(round(a * 255))))
        mask_row = ((size + 31) // 32) * 4
        mask = bytearray()
        for row in reversed(pixels):
            bits = bytearray(mask_row)
            for i, (_, _, _, a) in enumerate(row):
                if a < 0.5:
                    bits[i // 8] |= 0x80 >> (i % 8)
            mask += bits
        header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
        blob = header + bytes(xor) + bytes(mask)
        entries.append(struct.pack('<BBBBHHII', size % 256, size % 256, 0, 0, 1, 32, len(blob), offset))
        blobs.append(blob)
        offset += len(blob)
    return struct.pack('<HHH', 0, 1, len(images)) + b''.join(entries) + b''.join(blobs)


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else '.'
    os.makedirs(out, exist_ok=True)
    icons = {
        128: [draw_main(n) for n in PROGRAM_SIZES],
        129: [draw_power(n, True) for n in GLYPH_SIZES],
        130: [draw_power(n, False) for n in GLYPH_SIZES],
        131: [draw_gear(n, True) for n in GLYPH_SIZES],
        132: [draw_gear(n, False) for n in GLYPH_SIZES],
        133: [draw_pause(n, True) for n in GLYPH_SIZES],
        134: [draw_pause(n, False) for n in GLYPH_SIZES],
        135: [draw_play(n, True) for n in GLYPH_SIZES],
        136: [draw_play(n, False) for n in GLYPH_SIZES],
        137: [draw_label(n, True, True) for n in GLYPH_SIZES],
        138: [draw_label(n, False, True) for n in GLYPH_SIZES],
        139: [draw_label(n, True, False) for n in GLYPH_SIZES],
        140: [draw_label(n, False, False) for n in GLYPH_SIZES],
    }
    for number, images in icons.items():
        with open(os.path.join(out, 'icon%d.ico' % number), 'wb') as f:
            f.write(encode_ico(images))


if __name__ == '__main__':
    main()
