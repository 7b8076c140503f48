#!/usr/bin/env python3
"""Draws every skin picture of the settings window into the folder given as argument.

    gen_skins.py OUTDIR [PERCENT...]

Writes OUTDIR/MorviCorvel_Main_*.png, the page sheets, menu/, the pointer and
restore-defaults dialog sheets, the sheets of the key-chord, program, web-page
and macro editors, the pointer speed slider pictures and
gesture_detail_gif/1.gif to 17.gif: the 100 % set. The same files for each
display scale of SCALES go to OUTDIR/125/, OUTDIR/150/ and so on (PERCENT
arguments choose some of them; 100 is the set in OUTDIR itself). The output is
the same bytes on every run: everything is vector drawing with Pillow,
supersampled and box-filtered, PNGs without time stamps and GIFs written block
by block with our own LZW encoder.

Every drawing is given in pixels at 96 DPI. A set for another scale puts each
whole 96-DPI coordinate v at scale_px(v, dpi), the program's own rounding of a
96-DPI figure (src/ui/display_scale.cpp), and what lies between two whole
coordinates in proportion; lengths (radii, stroke widths) are scaled as they
are. So every edge that the program cuts a control's picture at falls on the
pixel where the program puts the control, at every scale.

Roles the drawings respect: the program draws every caption itself, dark
(80, 92, 107) on normal pictures, light grey (200, 200, 200) on hover pictures
and white on pressed ones, so normal pictures are light, hover pictures dark
slate and pressed pictures the blue accent where a caption sits. All PNGs are
opaque RGB, so a control looks the same whatever lies beneath it.
"""
import math
import multiprocessing
import os
import struct
import sys
import zlib

from PIL import Image, ImageDraw

SS = 4  # supersampling factor of the PNG drawings
BASE_DPI = 96
SCALES = (125, 150, 175, 200)  # the display scales drawn beside 100 %, in percent


def scale_px(v, dpi):
    """A whole 96-DPI figure at `dpi`: v * dpi / 96 to the nearest pixel, halves away from zero."""
    m = (abs(v) * dpi * 2 + BASE_DPI) // (2 * BASE_DPI)
    return m if v >= 0 else -m


def dpi_of_percent(percent):
    return (percent * BASE_DPI * 2 + 100) // 200

# Colours.
BG_TOP = (243, 246, 250)
BG_BOTTOM = (226, 232, 240)
HEADER_TOP = (30, 41, 59)
HEADER_BOTTOM = (44, 58, 80)
FRAME = (100, 116, 139)
CARD = (255, 255, 255)
CARD_BORDER = (214, 221, 231)
SHADOW = (205, 213, 224)
FIELD = (248, 250, 252)
FIELD_BORDER = (196, 206, 219)
SLATE = (51, 65, 85)
SLATE_BORDER = (30, 41, 59)
ACCENT = (37, 99, 235)
ACCENT_DARK = (29, 78, 216)
ACCENT_TINT = (224, 236, 254)
ACCENT_SOFT = (147, 187, 250)
ICON = (90, 105, 128)
ICON_LIGHT = (203, 213, 225)
HEADER_ICON = (203, 213, 225)
CLOSE_RED = (220, 38, 38)
CLOSE_RED_DARK = (170, 30, 30)
FINGER = (249, 115, 22)
FINGER_RING = (255, 255, 255)
PAD = (236, 241, 247)
PAD_EDGE = (176, 190, 208)
TRAIL = (251, 146, 60)
HINT = (191, 211, 245)
TAB_NORMAL = (226, 232, 240)

STATES = ('normal', 'over', 'down')


# ---------------------------------------------------------------- drawing helpers

class Canvas:
    """An RGB picture drawn at SS times its size; coordinates are in pixels at 96 DPI and the
    picture is drawn for `dpi` (see the top of the file). A picture that the program shows
    in a control of its own has that control's top-left corner (96 DPI, in the window that
    holds it) as `origin`: the picture is then as large as the control at every scale."""

    def __init__(self, width, height, colour=CARD, scale=SS, dpi=BASE_DPI, origin=(0, 0)):
        self.dpi, self.k, self.s = dpi, dpi / BASE_DPI, scale
        self.origin = origin
        self.w = scale_px(origin[0] + width, dpi) - scale_px(origin[0], dpi)
        self.h = scale_px(origin[1] + height, dpi) - scale_px(origin[1], dpi)
        self.img = Image.new('RGB', (self.w * scale, self.h * scale), colour)
        self.d = ImageDraw.Draw(self.img)

    def at(self, v, axis=0):
        """A 96-DPI coordinate (x for axis 0, y for 1) in final pixels at the canvas's DPI."""
        if self.dpi == BASE_DPI:
            return v
        o = self.origin[axis]
        whole = math.floor(v + o)
        a = scale_px(whole, self.dpi)
        return a + (v + o - whole) * (scale_px(whole + 1, self.dpi) - a) - scale_px(o, self.dpi)

    def px(self, v, axis=0):
        """A 96-DPI coordinate in supersampled pixels."""
        return round(self.at(v, axis) * self.s)

    def length(self, v):
        """A 96-DPI length (radius, stroke) in supersampled pixels."""
        return v * self.k * self.s

    def box(self, x0, y0, x1, y1):
        return [self.px(x0), self.px(y0, 1), self.px(x1) - 1, self.px(y1, 1) - 1]

    def rect(self, x0, y0, x1, y1, fill):
        self.d.rectangle(self.box(x0, y0, x1, y1), fill=fill)

    def rrect(self, x0, y0, x1, y1, r, fill=None, outline=None, width=1):
        self.d.rounded_rectangle(self.box(x0, y0, x1, y1), radius=round(self.length(r)), fill=fill,
                                 outline=outline, width=round(self.length(width)) if outline else 0)

    def panel(self, x0, y0, x1, y1, r, fill, border, width=1):
        """A rounded panel with a border of the given width drawn inside its edge."""
        self.rrect(x0, y0, x1, y1, r, fill=border)
        self.rrect(x0 + width, y0 + width, x1 - width, y1 - width, max(r - width, 0), fill=fill)

    def circle(self, cx, cy, r, fill=None, outline=None, width=1):
        self.ellipse(cx, cy, r, r, fill=fill, outline=outline, width=width, exact=False)

    def ellipse(self, cx, cy, rx, ry, fill=None, outline=None, width=1, exact=True):
        x, y, s = self.at(cx), self.at(cy, 1), self.s
        ex, ey = rx * self.k, ry * self.k
        cut = 0 if exact else 1  # circles end one supersampled pixel inside, as a box does
        self.d.ellipse([round((x - ex) * s), round((y - ey) * s), round((x + ex) * s) - cut, round((y + ey) * s) - cut],
                       fill=fill, outline=outline, width=max(1, round(self.length(width))) if outline else 0)

    def line(self, points, fill, width):
        pts = [(self.px(x), self.px(y, 1)) for x, y in points]
        self.d.line(pts, fill=fill, width=max(1, round(self.length(width))))
        r = width / 2
        for x, y in points:  # round joins and caps
            self.circle(x, y, r, fill=fill)

    def polygon(self, points, fill):
        self.d.polygon([(self.px(x), self.px(y, 1)) for x, y in points], fill=fill)

    def vgradient(self, x0, y0, x1, y1, top, bottom):
        py0, py1 = self.px(y0, 1), self.px(y1, 1)
        for py in range(py0, py1):
            t = (py - py0) / max(1, py1 - py0 - 1)
            self.d.line([(self.px(x0), py), (self.px(x1) - 1, py)], fill=lerp(top, bottom, t))

    def result(self):
        return self.img.reduce(self.s) if self.s > 1 else self.img.copy()


def lerp(a, b, t):
    return tuple(int(round(x + (y - x) * t)) for x, y in zip(a, b))


def arrow(c, x0, y0, x1, y1, colour, width, head=None):
    """A line from (x0, y0) to (x1, y1) with a filled triangular head at the end."""
    head = head or width * 2.6
    length = math.hypot(x1 - x0, y1 - y0)
    ux, uy = (x1 - x0) / length, (y1 - y0) / length
    bx, by = x1 - ux * head, y1 - uy * head
    c.line([(x0, y0), (bx + ux * 0.5, by + uy * 0.5)], colour, width)
    nx, ny = -uy, ux
    c.polygon([(x1 + ux * width * 0.3, y1 + uy * width * 0.3),
               (bx + nx * head * 0.75, by + ny * head * 0.75),
               (bx - nx * head * 0.75, by - ny * head * 0.75)], colour)


def chevron(c, cx, cy, size, colour, width, direction='down'):
    if direction == 'down':
        pts = [(cx - size, cy - size / 2), (cx, cy + size / 2), (cx + size, cy - size / 2)]
    else:  # right
        pts = [(cx - size / 2, cy - size), (cx + size / 2, cy), (cx - size / 2, cy + size)]
    c.line(pts, colour, width)


# ---------------------------------------------------------------- gestures

# One entry per slot (file number = slot + 1): kind, finger count and direction.
GESTURES = [
    dict(kind='press', fingers=1),                        # 0  press
    dict(kind='tap', fingers=2),                          # 1  two-finger click
    dict(kind='swipe', fingers=1, dir=(0, -1)),           # 2  scroll up
    dict(kind='swipe', fingers=1, dir=(0, 1)),            # 3  scroll down
    dict(kind='swipe', fingers=1, dir=(-1, 0)),           # 4  scroll left
    dict(kind='swipe', fingers=1, dir=(1, 0)),            # 5  scroll right
    dict(kind='edge', fingers=1, edge='left'),            # 6  swipe in from the left edge
    dict(kind='edge', fingers=1, edge='right'),           # 7  swipe in from the right edge
    dict(kind='edge', fingers=1, edge='top'),             # 8  swipe in from the top edge
    dict(kind='swipe', fingers=3, dir=(0, 1)),            # 9  three-finger swipe down
    dict(kind='swipe', fingers=3, dir=(0, -1)),           # 10 three-finger swipe up
    dict(kind='tap', fingers=3),                          # 11 three-finger click
    dict(kind='swipe', fingers=3, dir=(-1, 0)),           # 12 three-finger swipe left
    dict(kind='swipe', fingers=3, dir=(1, 0)),            # 13 three-finger swipe right
    dict(kind='swipe', fingers=4, dir=(0, -1)),           # 14 four-finger swipe up
    dict(kind='swipe', fingers=4, dir=(0, 1)),            # 15 four-finger swipe down
    dict(kind='pinch', fingers=2),                        # 16 pinch: zoom in and out
]


class PadGeometry:
    """The touch surface inside a box, and the finger layout in its units.

    Positions are given in pad units: (0, 0) is the pad centre, the pad spans
    -1..1 horizontally and -1.28..1.28 vertically.
    """

    ASPECT = 1.28

    def __init__(self, x0, y0, x1, y1):
        self.cx, self.cy = (x0 + x1) / 2, (y0 + y1) / 2
        self.hw = min((x1 - x0) / 2, (y1 - y0) / 2 / self.ASPECT)
        self.hh = self.hw * self.ASPECT

    def pt(self, u, v):
        return self.cx + u * self.hw, self.cy + v * self.hw

    @property
    def rect(self):
        return self.cx - self.hw, self.cy - self.hh, self.cx + self.hw, self.cy + self.hh


def finger_offsets(n, radius):
    """Fingertips side by side in a gentle arc, the middle ones a little higher."""
    spacing = max(0.30, radius * 2.15)
    out = []
    for i in range(n):
        k = i - (n - 1) / 2
        out.append((k * spacing, 0.10 * k * k - (0.05 if n > 2 else 0)))
    return out


def gesture_path(g):
    """Start and end of the finger group's centre, in pad units."""
    kind = g['kind']
    if kind == 'swipe':
        dx, dy = g['dir']
        span = 0.62 if dx else 0.78
        return (-dx * span, -dy * span), (dx * span, dy * span)
    if kind == 'edge':
        return {'left': ((-1.0, 0.0), (-0.05, 0.0)),
                'right': ((1.0, 0.0), (0.05, 0.0)),
                'top': ((0.0, -1.28), (0.0, -0.25))}[g['edge']]
    return (0.0, 0.1), (0.0, 0.1)


def pinch_offsets(spread):
    """The two fingers of the pinch on a diagonal, `spread` from the centre."""
    return [(-spread * 0.8, spread * 0.6), (spread * 0.8, -spread * 0.6)]


def draw_pad(c, geo, style, pressed=0.0, glow_edge=None):
    x0, y0, x1, y1 = geo.rect
    r = geo.hw * 0.30
    sink = pressed * geo.hw * 0.035
    edge_w = max(1.0, geo.hw * 0.022)
    if style['shadow']:
        c.rrect(x0 + geo.hw * 0.02, y0 + geo.hw * 0.05, x1 + geo.hw * 0.02, y1 + geo.hw * 0.05, r, fill=style['shadow'])
    fill = lerp(style['pad'], style['pad_pressed'], pressed)
    c.panel(x0 + sink, y0 + sink, x1 - sink, y1 - sink, r, fill, style['pad_edge'], edge_w)
    if glow_edge:
        band = geo.hw * 0.16
        gx0, gy0, gx1, gy1 = x0 + sink + edge_w, y0 + sink + edge_w, x1 - sink - edge_w, y1 - sink - edge_w
        box = {'left': (gx0, gy0 + r, gx0 + band, gy1 - r), 'right': (gx1 - band, gy0 + r, gx1, gy1 - r),
               'top': (gx0 + r, gy0, gx1 - r, gy0 + band)}[glow_edge]
        c.rrect(*box, band / 2, fill=style['edge_glow'])


def draw_finger(c, x, y, r, style, alpha=1.0, press=0.0):
    """A fingertip: a soft shadow, a white ring and the orange tip, fading with alpha."""
    bg = style['bg_under_finger']
    if style['shadow']:
        c.circle(x + r * 0.12, y + r * 0.22, r * 1.08, fill=lerp(bg, style['shadow'], alpha))
    c.circle(x, y, r * (1.0 - 0.08 * press), fill=lerp(bg, style['ring'], alpha))
    c.circle(x, y, r * (0.78 - 0.08 * press), fill=lerp(bg, style['finger'], alpha))


def draw_ripple(c, x, y, r, style, t):
    """A touch ripple around a fingertip, growing and fading with t in 0..1."""
    if t <= 0:
        return
    rad = r * (1.15 + 0.9 * t)
    colour = lerp(style['ripple'], style['bg_under_finger'], t * 0.85)
    c.circle(x, y, rad, outline=colour, width=max(1.0, r * 0.16))


def draw_gesture(c, geo, g, style, phase):
    """One picture of gesture g: `phase` says where the motion is and what is drawn.

    phase keys: t (0..1 along the path or pinch), touch (finger opacity), trail
    (how much trail to draw behind), press (0..1 press depth), ripple (0..1 or
    negative for none), hint (draw the direction arrows).
    """
    kind = g['kind']
    n = g['fingers']
    pressed = phase.get('press', 0.0) if kind in ('press',) else 0.0
    draw_pad(c, geo, style, pressed=pressed, glow_edge=g.get('edge'))
    r = geo.hw * style['finger_r']
    touch = phase.get('touch', 1.0)
    t = phase.get('t', 0.0)

    if kind in ('swipe', 'edge'):
        (sx, sy), (ex, ey) = gesture_path(g)
        offs = finger_offsets(n, style['finger_r'])
        if sy == ey:
            # Sideways moves: the fingers stand across the movement, the middle one leading.
            lead = 1 if ex > sx else -1
            offs = [(-lead * oy * 0.8, ox) for ox, oy in offs]
        if phase.get('hint'):
            dx, dy = ex - sx, ey - sy
            ln = math.hypot(dx, dy)
            ux, uy = dx / ln, dy / ln
            # A pale arrow beside the finger group, showing the whole movement.
            side = (-uy, ux)
            reach = max(abs(o[0]) for o in offs) + 0.34 if uy else max(abs(o[1]) for o in offs) + 0.36
            if kind == 'edge':
                reach = 0.42
            ox, oy = side[0] * reach, side[1] * reach
            if uy == 0 and dx > 0:
                ox, oy = -ox, -oy
            a0 = geo.pt(sx + ox + ux * 0.05, sy + oy + uy * 0.05)
            a1 = geo.pt(ex + ox, ey + oy)
            arrow(c, a0[0], a0[1], a1[0], a1[1], style['hint'], geo.hw * 0.07)
        trail = phase.get('trail', 0.0)
        for ox, oy in offs:
            if trail > 0:
                steps = 14
                t0 = max(0.0, t - trail)
                for k in range(steps + 1):
                    tt = t0 + (t - t0) * k / steps
                    px, py = geo.pt(sx + (ex - sx) * tt + ox, sy + (ey - sy) * tt + oy)
                    w = (k + 1) / (steps + 1)
                    c.circle(px, py, r * (0.25 + 0.35 * w),
                             fill=lerp(style['pad'], style['trail'], (0.25 + 0.6 * w) * touch))
        for ox, oy in offs:
            px, py = geo.pt(sx + (ex - sx) * t + ox, sy + (ey - sy) * t + oy)
            if touch > 0:
                draw_ripple(c, px, py, r, style, phase.get('ripple', -1))
                draw_finger(c, px, py, r, style, touch)
        return

    if kind == 'pinch':
        spread = 0.22 + 0.48 * t
        if phase.get('hint'):
            # a double-headed arrow beside the diagonal: apart, then together
            ux, uy = 0.8, -0.6
            px_, py_ = 0.6 * 0.62, 0.8 * 0.62
            a0 = geo.pt(-0.62 * ux + px_, -0.62 * uy + py_)
            a1 = geo.pt(0.62 * ux + px_, 0.62 * uy + py_)
            mid = ((a0[0] + a1[0]) / 2, (a0[1] + a1[1]) / 2)
            arrow(c, mid[0], mid[1], a1[0], a1[1], style['hint'], geo.hw * 0.06)
            arrow(c, mid[0], mid[1], a0[0], a0[1], style['hint'], geo.hw * 0.06)
        trail = phase.get('trail', 0.0)
        offs = pinch_offsets(spread)
        if trail > 0:
            for ox, oy in offs:
                lo = pinch_offsets(max(0.22, spread - trail))[offs.index((ox, oy))]
                hi = (ox, oy)
                for k in range(11):
                    w = k / 10
                    px, py = geo.pt(lo[0] + (hi[0] - lo[0]) * w, lo[1] + (hi[1] - lo[1]) * w)
                    c.circle(px, py, r * (0.25 + 0.3 * w), fill=lerp(style['pad'], style['trail'], (0.3 + 0.5 * w) * touch))
        for ox, oy in offs:
            px, py = geo.pt(ox, oy)
            if touch > 0:
                draw_ripple(c, px, py, r, style, phase.get('ripple', -1))
                draw_finger(c, px, py, r, style, touch)
        return

    # press and tap: fingers resting in the middle of the pad
    offs = finger_offsets(n, style['finger_r']) if kind == 'tap' else [(0.0, 0.0)]
    (cx, cy), _ = gesture_path(g)
    press = phase.get('press', 0.0)
    if phase.get('hint'):
        # a pale ring around the resting place of the fingers
        pts = [geo.pt(cx + ox, cy + oy) for ox, oy in offs]
        xs, ys = [p[0] for p in pts], [p[1] for p in pts]
        rx = (max(xs) - min(xs)) / 2 + r * 2.1
        ry = (max(ys) - min(ys)) / 2 + r * 2.1
        mx, my = (max(xs) + min(xs)) / 2, (max(ys) + min(ys)) / 2
        c.ellipse(mx, my, rx, ry, outline=style['hint'], width=geo.hw * 0.04)
    for ox, oy in offs:
        px, py = geo.pt(cx + ox, cy + oy)
        if touch > 0:
            draw_ripple(c, px, py, r, style, phase.get('ripple', -1))
            draw_finger(c, px, py, r, style, touch, press)


# ---------------------------------------------------------------- gesture animations

GIF_W, GIF_H = 225, 262
GIF_AT = (444, 122)  # the animation's place in the main window
GIF_SS = 3

ANIM_STYLE = dict(bg_under_finger=PAD, pad=PAD, pad_pressed=(214, 224, 238), pad_edge=PAD_EDGE, shadow=(226, 231, 238),
                  ring=FINGER_RING, finger=FINGER, trail=TRAIL, hint=HINT, ripple=(249, 160, 100),
                  edge_glow=(205, 222, 250), finger_r=0.13)


def ease(t):
    return 0.5 - 0.5 * math.cos(math.pi * max(0.0, min(1.0, t)))


def animation_frames(g):
    """(phase, delay in hundredths) for every frame of gesture g."""
    kind = g['kind']
    frames = []
    if kind in ('swipe', 'edge'):
        frames.append((dict(t=0.0, touch=0.0, hint=True), 40))
        frames.append((dict(t=0.0, touch=0.5, ripple=0.2, hint=True), 6))
        frames.append((dict(t=0.0, touch=1.0, ripple=0.6, hint=True), 6))
        moves = 10
        for k in range(1, moves + 1):
            t = ease(k / moves)
            frames.append((dict(t=t, touch=1.0, trail=min(t, 0.45), hint=True), 6))
        frames.append((dict(t=1.0, touch=0.55, trail=0.2, hint=True), 6))
        frames.append((dict(t=1.0, touch=0.2, trail=0.08, hint=True), 6))
        frames.append((dict(t=0.0, touch=0.0, hint=True), 20))
    elif kind == 'pinch':
        frames.append((dict(t=0.0, touch=0.0, hint=True), 40))
        frames.append((dict(t=0.0, touch=0.5, ripple=0.3, hint=True), 6))
        frames.append((dict(t=0.0, touch=1.0, ripple=0.7, hint=True), 6))
        for k in range(1, 7):
            t = ease(k / 6)
            frames.append((dict(t=t, touch=1.0, trail=min(t, 0.4) * 0.48, hint=True), 6))
        frames.append((dict(t=1.0, touch=1.0, hint=True), 24))
        for k in range(1, 7):
            t = 1.0 - ease(k / 6)
            frames.append((dict(t=t, touch=1.0, hint=True), 6))
        frames.append((dict(t=0.0, touch=1.0, hint=True), 12))
        frames.append((dict(t=0.0, touch=0.4, hint=True), 6))
        frames.append((dict(t=0.0, touch=0.0, hint=True), 20))
    else:
        def click():
            return [(dict(touch=0.5, hint=True), 6),
                    (dict(touch=1.0, hint=True), 6),
                    (dict(touch=1.0, press=1.0, ripple=0.15, hint=True), 8),
                    (dict(touch=1.0, press=0.6, ripple=0.5, hint=True), 6),
                    (dict(touch=1.0, press=0.0, ripple=0.85, hint=True), 6),
                    (dict(touch=0.4, hint=True), 6)]
        frames.append((dict(touch=0.0, hint=True), 40))
        frames.extend(click())
        frames.append((dict(touch=0.0, hint=True), 16))
        frames.extend(click())
        frames.append((dict(touch=0.0, hint=True), 20))
    return frames


def render_animation_frame(g, phase, dpi):
    c = Canvas(GIF_W, GIF_H, CARD, GIF_SS, dpi, GIF_AT)
    geo = PadGeometry(18, 14, GIF_W - 18, GIF_H - 14)
    draw_gesture(c, geo, g, ANIM_STYLE, phase)
    return c.result()


def lzw_encode(indices, min_code_size=8):
    """GIF LZW: variable-width codes from min_code_size + 1 bits up to 12, packed LSB first."""
    clear = 1 << min_code_size
    end = clear + 1
    out = bytearray()
    acc = 0
    nbits = 0
    width = min_code_size + 1

    def emit(code):
        nonlocal acc, nbits
        acc |= code << nbits
        nbits += width
        while nbits >= 8:
            out.append(acc & 0xFF)
            acc >>= 8
            nbits -= 8

    table = {}
    next_code = end + 1
    emit(clear)
    prefix = indices[0]
    for k in indices[1:]:
        key = (prefix << 8) | k
        code = table.get(key)
        if code is not None:
            prefix = code
            continue
        emit(prefix)
        if next_code < 4096:
            table[key] = next_code
            next_code += 1
            if next_code > (1 << width) and width < 12:
                width += 1
        else:
            emit(clear)
            table = {}
            next_code = end + 1
            width = min_code_size + 1
        prefix = k
    emit(prefix)
    emit(end)
    if nbits:
        out.append(acc & 0xFF)
    return bytes(out)


def sub_blocks(data):
    out = bytearray()
    for i in range(0, len(data), 255):
        chunk = data[i:i + 255]
        out.append(len(chunk))
        out += chunk
    out.append(0)
    return bytes(out)


def encode_gif(frames, delays):
    """An animated GIF89a: global palette, NETSCAPE2.0 loop, one control extension per frame."""
    w, h = frames[0].size
    strip = Image.new('RGB', (w, h * len(frames)))
    for i, f in enumerate(frames):
        strip.paste(f, (0, i * h))
    pal_img = strip.quantize(colors=256, method=Image.Quantize.MEDIANCUT, dither=Image.Dither.NONE)
    palette = pal_img.getpalette()[:768]
    palette += [0] * (768 - len(palette))
    out = bytearray(b'GIF89a')
    out += struct.pack('<HHBBB', w, h, 0xF7, 0, 0)
    out += bytes(palette)
    out += b'\x21\xFF\x0BNETSCAPE2.0\x03\x01' + struct.pack('<H', 0) + b'\x00'
    for f, delay in zip(frames, delays):
        q = f.quantize(palette=pal_img, dither=Image.Dither.NONE)
        # disposal 1 (leave in place), no transparency
        out += b'\x21\xF9\x04' + bytes([1 << 2]) + struct.pack('<H', delay) + b'\x00\x00'
        out += b'\x2C' + struct.pack('<HHHHB', 0, 0, w, h, 0)
        out.append(8)
        out += sub_blocks(lzw_encode(q.tobytes()))
    out.append(0x3B)
    return bytes(out)


def write_animations(outdir, dpi):
    folder = os.path.join(outdir, 'gesture_detail_gif')
    os.makedirs(folder, exist_ok=True)
    for slot, g in enumerate(GESTURES):
        timeline = animation_frames(g)
        frames = [render_animation_frame(g, phase, dpi) for phase, _ in timeline]
        with open(os.path.join(folder, '%d.gif' % (slot + 1)), 'wb') as f:
            f.write(encode_gif(frames, [d for _, d in timeline]))


# ---------------------------------------------------------------- PNG writing

def png_bytes(img):
    """A plain RGB PNG (no time stamp, no text chunks), the same bytes on every run."""
    assert img.mode == 'RGB'
    w, h = img.size
    raw = img.tobytes()
    stride = w * 3
    rows = b''.join(b'\x00' + raw[y * stride:(y + 1) * stride] for y in range(h))

    def chunk(kind, data):
        return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data) & 0xFFFFFFFF)

    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', w, h, 8, 2, 0, 0, 0))
            + chunk(b'IDAT', zlib.compress(rows, 9)) + chunk(b'IEND', b''))


def save_png(img, outdir, name):
    path = os.path.join(outdir, *name.split('/'))
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, 'wb') as f:
        f.write(png_bytes(img))


# ---------------------------------------------------------------- buttons

def push_button(c, x0, y0, x1, y1, state, primary=False, r=6, inset=1):
    """A caption button: light on normal, slate on over, accent on down."""
    x0, y0, x1, y1 = x0 + inset, y0 + inset, x1 - inset, y1 - inset
    if state == 'normal':
        if primary:
            c.panel(x0, y0, x1, y1, r, ACCENT_TINT, ACCENT_SOFT)
        else:
            c.panel(x0, y0, x1, y1, r, FIELD, FIELD_BORDER)
        # a one-pixel highlight at the top edge gives a little relief
        c.rect(x0 + r, y0 + 1, x1 - r, y0 + 2, (255, 255, 255))
    elif state == 'over':
        c.panel(x0, y0, x1, y1, r, SLATE, SLATE_BORDER)
    else:
        c.panel(x0, y0, x1, y1, r, ACCENT, ACCENT_DARK)


def close_glyph(c, cx, cy, size, colour, width):
    c.line([(cx - size, cy - size), (cx + size, cy + size)], colour, width)
    c.line([(cx - size, cy + size), (cx + size, cy - size)], colour, width)


def header_button(c, x0, y0, x1, y1, state, kind, r=4):
    """Close and minimize glyphs on the dark header: red / lighter slate behind them when active."""
    if state == 'over':
        c.rrect(x0, y0, x1, y1, r, fill=CLOSE_RED if kind == 'close' else (71, 85, 105))
    elif state == 'down':
        c.rrect(x0, y0, x1, y1, r, fill=CLOSE_RED_DARK if kind == 'close' else ACCENT)
    colour = HEADER_ICON if state == 'normal' else (255, 255, 255)
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    size = min(x1 - x0, y1 - y0) * 0.18
    if kind == 'close':
        close_glyph(c, cx, cy, size, colour, 1.6)
    else:
        c.line([(cx - size * 1.2, cy + size * 0.6), (cx + size * 1.2, cy + size * 0.6)], colour, 1.6)


def logo(c, x, y, size):
    """The program's mark: a blue touch-pad mouse with a fingertip trail (as the program icon)."""
    s = size / 32.0
    c.rrect(x + 5 * s, y + 1.5 * s, x + 27 * s, y + 30.5 * s, 10 * s, fill=(52, 120, 230))
    c.rrect(x + 8.5 * s, y + 5 * s, x + 23.5 * s, y + 20 * s, 5 * s, fill=(225, 236, 252))
    for k, (fx, fy, fr) in enumerate(((12.5, 15.5, 1.6), (16, 12.5, 2.0), (19.5, 9.5, 2.4))):
        c.circle(x + fx * s, y + fy * s, fr * s, fill=lerp((225, 236, 252), (255, 140, 40), 0.45 + 0.25 * k))
    c.rrect(x + 15.5 * s, y + 22.5 * s, x + 16.5 * s, y + 27.5 * s, 0.5 * s, fill=(200, 220, 255))


def _arc(cx, cy, rx, ry, a0, a1, steps=16):
    return [(cx + rx * math.cos(math.radians(a0 + (a1 - a0) * k / steps)),
             cy + ry * math.sin(math.radians(a0 + (a1 - a0) * k / steps))) for k in range(steps + 1)]


# Stroke letters of the wordmark, in a box 1 unit high: (advance, [polylines]).
LETTERS = {
    'M': (0.92, [[(0, 1), (0, 0), (0.46, 0.62), (0.92, 0), (0.92, 1)]]),
    'O': (0.98, [_arc(0.49, 0.5, 0.49, 0.5, 0, 360, 32)]),
    'R': (0.70, [[(0, 1), (0, 0), (0.42, 0)] + _arc(0.42, 0.26, 0.26, 0.26, -90, 90)[1:] + [(0, 0.52)],
                 [(0.38, 0.52), (0.70, 1)]]),
    'V': (0.84, [[(0, 0), (0.42, 1), (0.84, 0)]]),
    'I': (0.0, [[(0, 0), (0, 1)]]),
    'C': (0.84, [_arc(0.5, 0.5, 0.5, 0.5, 45, 315, 28)]),
    'E': (0.62, [[(0.62, 0), (0, 0), (0, 1), (0.62, 1)], [(0, 0.5), (0.52, 0.5)]]),
    'L': (0.60, [[(0, 0), (0, 1), (0.60, 1)]]),
}


def wordmark(c, x, y, height, text, colour, width, tracking=0.42):
    """Capital letters drawn as strokes, so no font file is involved."""
    for ch in text:
        if ch == ' ':
            x += height * 0.55
            continue
        advance, strokes = LETTERS[ch]
        for stroke in strokes:
            c.line([(x + px * height, y + py * height) for px, py in stroke], colour, width)
        x += (advance + tracking) * height
    return x


def header(c, width, height):
    c.vgradient(0, 0, width, height, HEADER_TOP, HEADER_BOTTOM)
    c.rect(0, height - 2, width, height, ACCENT)


def window_frame(c, width, height):
    c.rect(0, 0, width, 1, FRAME)
    c.rect(0, height - 1, width, height, FRAME)
    c.rect(0, 0, 1, height, FRAME)
    c.rect(width - 1, 0, width, height, FRAME)


# ---------------------------------------------------------------- main window

MAIN_W, MAIN_H = 709, 477
HEADER_H = 50
LEFT_CARD = (28, 105, 422, 405)
RIGHT_CARD = (432, 105, 683, 405)
TABS = [(40, 65, 165, 105), (167, 65, 309, 105), (311, 65, 416, 105)]
TILE_RECTS = [(51, 133, 165, 238), (169, 133, 283, 238), (287, 133, 401, 238),
              (51, 243, 165, 348), (169, 243, 283, 348), (287, 243, 401, 348)]
ANIM_RECT = (444, 122, 669, 384)
FUNCTION_RECT = (41, 363, 280, 394)
POINTER_RECT = (289, 363, 409, 394)
RESET_RECT = (450, 421, 551, 469)
APPLY_RECT = (562, 421, 662, 469)
CLOSE_RECT = (682, 0, 709, 26)
MINIMIZE_RECT = (654, 0, 681, 26)


def tab_icon(c, kind, x, y, colour):
    """16 x 16 pictograms at the left of the page tabs."""
    if kind == 0:    # click and scroll: a fingertip on a pad with a scroll arrow
        c.rrect(x + 2, y + 1, x + 12, y + 15, 3.2, outline=colour, width=1.4)
        c.circle(x + 7, y + 6, 1.9, fill=colour)
        arrow(c, x + 15, y + 12, x + 15, y + 3, colour, 1.3, head=3.2)
    elif kind == 1:  # Windows 8: four tiles
        for i in range(2):
            for j in range(2):
                c.rect(x + 1.5 + i * 7, y + 1.5 + j * 7, x + 7.5 + i * 7, y + 7.5 + j * 7, colour)
    else:            # window control: a window with a title bar
        c.rrect(x + 0.5, y + 1.5, x + 15.5, y + 14.5, 2, outline=colour, width=1.4)
        c.rect(x + 0.5, y + 1.5, x + 15.5, y + 5.5, colour)


def draw_tab(c, index, state):
    x0, y0, x1, y1 = TABS[index]
    r = 7
    if state == 'normal':
        fill, border, icon = TAB_NORMAL, CARD_BORDER, ICON
    elif state == 'over':
        fill, border, icon = SLATE, SLATE_BORDER, ICON_LIGHT
    else:
        fill, border, icon = ACCENT, ACCENT_DARK, (255, 255, 255)
    # rounded at the top, square where it meets the card
    c.rrect(x0, y0 + 3, x1, y1 + r, r, fill=border)
    c.rrect(x0 + 1, y0 + 4, x1 - 1, y1 + r, r - 1, fill=fill)
    tab_icon(c, index, x0 + 9, y0 + 13, icon)


def draw_function_field(c, state):
    x0, y0, x1, y1 = FUNCTION_RECT
    # The field keeps a light face even pressed: while the function menu is open it
    # stays latched and shows its pressed picture with the dark caption.
    if state == 'normal':
        c.panel(x0, y0, x1, y1, 5, FIELD, FIELD_BORDER)
        mark = ICON
    elif state == 'over':
        c.panel(x0, y0, x1, y1, 5, SLATE, SLATE_BORDER)
        mark = ICON_LIGHT
    else:
        c.panel(x0, y0, x1, y1, 5, ACCENT_TINT, ACCENT, 1.5)
        mark = ACCENT
    chevron(c, x1 - 15, (y0 + y1) / 2, 3.6, mark, 1.6)


def draw_main(state, dpi):
    c = Canvas(MAIN_W, MAIN_H, dpi=dpi)
    c.vgradient(0, 0, MAIN_W, MAIN_H, BG_TOP, BG_BOTTOM)
    header(c, MAIN_W, HEADER_H)
    logo(c, 14, 10, 30)
    wordmark(c, 56, 19, 12, 'MORVI CORVEL', (226, 232, 240), 1.7)
    header_button(c, *MINIMIZE_RECT, state, 'minimize')
    header_button(c, *CLOSE_RECT, state, 'close')
    # the tabs stand on the left card; the cards have a soft shadow
    for i in range(3):
        draw_tab(c, i, state)
    for x0, y0, x1, y1 in (LEFT_CARD, RIGHT_CARD):
        c.rrect(x0 + 1, y0 + 3, x1 + 1, y1 + 3, 10, fill=SHADOW)
        c.panel(x0, y0, x1, y1, 10, CARD, CARD_BORDER)
    c.rect(TABS[0][0], LEFT_CARD[1], TABS[2][2], LEFT_CARD[1] + 2, ACCENT)
    # behind the gesture animation: a thin frame
    ax0, ay0, ax1, ay1 = ANIM_RECT
    c.rrect(ax0 - 3, ay0 - 3, ax1 + 3, ay1 + 3, 6, fill=CARD_BORDER)
    c.rect(ax0, ay0, ax1, ay1, CARD)
    # a divider between the tiles and the function row
    c.rect(LEFT_CARD[0] + 14, 355, LEFT_CARD[2] - 14, 356, (232, 236, 242))
    draw_function_field(c, state)
    push_button(c, *POINTER_RECT, state, r=5, inset=0)
    push_button(c, *RESET_RECT, state, r=7, inset=2)
    push_button(c, *APPLY_RECT, state, primary=True, r=7, inset=2)
    window_frame(c, MAIN_W, MAIN_H)
    return c.result()


# ---------------------------------------------------------------- page sheets

PAGE_W, PAGE_H = 357, 224
CELL_W, CELL_H = 113, 105
CELL_X = (10, 127, 244)
CELL_Y = (7, 119)
PAGES = [('movcli', range(0, 6)), ('win8', range(6, 11)), ('ngwctr', range(11, 17))]


def tile_style(state):
    if state == 'normal':
        face, edge = CARD, CARD_BORDER
        return face, edge, dict(finger_r=0.16, bg_under_finger=(241, 245, 250), pad=(241, 245, 250), pad_pressed=(221, 230, 242),
                                pad_edge=(148, 163, 184), shadow=None, ring=(255, 255, 255), finger=FINGER,
                                trail=TRAIL, hint=(120, 160, 235), ripple=(249, 160, 100), edge_glow=(200, 218, 250))
    if state == 'over':
        face, edge = SLATE, SLATE_BORDER
        return face, edge, dict(finger_r=0.16, bg_under_finger=(71, 85, 105), pad=(71, 85, 105), pad_pressed=(90, 104, 124),
                                pad_edge=(148, 163, 184), shadow=None, ring=(241, 245, 249), finger=FINGER,
                                trail=(234, 128, 60), hint=(147, 187, 250), ripple=(249, 160, 100),
                                edge_glow=(96, 125, 170))
    face, edge = ACCENT, ACCENT_DARK
    return face, edge, dict(finger_r=0.16, bg_under_finger=(59, 121, 244), pad=(59, 121, 244), pad_pressed=(70, 130, 245),
                            pad_edge=(191, 214, 254), shadow=None, ring=(255, 255, 255), finger=FINGER,
                            trail=(236, 140, 90), hint=(255, 255, 255), ripple=(255, 200, 160),
                            edge_glow=(110, 160, 250))


TILE_PHASE = {'swipe': dict(t=0.62, trail=0.55, hint=True), 'edge': dict(t=0.62, trail=0.55, hint=True),
              'pinch': dict(t=0.8, trail=0.3, hint=True), 'press': dict(press=0.3, ripple=0.5, hint=True),
              'tap': dict(ripple=0.5, hint=True)}


def draw_tile(c, x, y, slot, state):
    face, edge, style = tile_style(state)
    c.panel(x + 1, y + 1, x + CELL_W - 1, y + CELL_H - 1, 8, face, edge)
    g = GESTURES[slot]
    geo = PadGeometry(x + 26, y + 6, x + CELL_W - 26, y + 72)
    draw_gesture(c, geo, g, style, TILE_PHASE[g['kind']])


def draw_page(slots, state, dpi):
    c = Canvas(PAGE_W, PAGE_H, dpi=dpi)
    for k, slot in enumerate(slots):
        draw_tile(c, CELL_X[k % 3], CELL_Y[k // 3], slot, state)
    return c.result()


# ---------------------------------------------------------------- menus

MENU_W, MENU_ENTRIES = 160, 6
SUBMENU_W, SUBMENU_ENTRIES = 184, 12
ITEM_H = 17


def draw_menu(width, entries, state, arrows, dpi):
    """A menu level: entries of 17 pixels with a one-pixel separator below each."""
    height = entries * (ITEM_H + 1)
    c = Canvas(width, height, FIELD, dpi=dpi)
    for i in range(entries):
        y0 = i * (ITEM_H + 1)
        y1 = y0 + ITEM_H
        if state == 'normal':
            c.rect(0, y0, width, y1, FIELD)
            mark = ICON
        elif state == 'over':
            c.rect(0, y0, width, y1, SLATE)
            c.rect(0, y0, 3, y1, ACCENT_SOFT)
            mark = ICON_LIGHT
        else:
            c.rect(0, y0, width, y1, ACCENT)
            mark = (255, 255, 255)
        c.rect(0, y1, width, y1 + 1, CARD_BORDER)
        if arrows:
            chevron(c, width - 10, y0 + ITEM_H / 2, 3.2, mark, 1.4, 'right')
    c.rect(0, 0, 1, height, FRAME)
    c.rect(width - 1, 0, width, height, FRAME)
    c.rect(0, 0, width, 1, FRAME)
    return c.result()


# ---------------------------------------------------------------- pointer dialog

DIALOG_W = 259
POINTER_H = 154
DEFAULT_H = 155
DIALOG_HEADER = 30
SLIDER_RECT = (36, 47, 225, 68)
SLIDER_W, SLIDER_H = 189, 21
PRECISION_RECT = (36, 97, 226, 116)
P_OK_RECT = (132, 126, 192, 154)
P_CANCEL_RECT = (195, 126, 256, 154)
DIALOG_CLOSE = (244, 7, 259, 22)
D_OK_RECT = (132, 126, 191, 155)
D_CANCEL_RECT = (195, 126, 253, 155)
D_LABEL_RECT = (60, 50, 250, 100)


def pointer_glyph(c, x, y, size, colour):
    """A mouse pointer arrow with its tip at (x, y)."""
    s = size / 16.0
    pts = [(0, 0), (0, 13), (3.4, 10), (6, 15.2), (8.2, 14.2), (5.8, 9.2), (10, 9.2)]
    c.polygon([(x + px * s, y + py * s) for px, py in pts], colour)


def dialog_base(height, title_glyph, dpi):
    c = Canvas(DIALOG_W, height, CARD, dpi=dpi)
    header(c, DIALOG_W, DIALOG_HEADER)
    title_glyph(c)
    return c


def dialog_close(c, state):
    x0, y0, x1, y1 = DIALOG_CLOSE
    # The close button reaches the right edge; keep its face one pixel inside the frame.
    header_button(c, x0, y0, x1 - 1, y1, state, 'close', r=3)


def draw_pointer_setting(state, dpi):
    def glyph(c):
        pointer_glyph(c, 12, 7, 16, HEADER_ICON)
    c = dialog_base(POINTER_H, glyph, dpi)
    dialog_close(c, state)
    # slow and fast marks either side of the slider
    sx0, sy0, sx1, sy1 = SLIDER_RECT
    pointer_glyph(c, 18, sy0 + 5, 10, ICON)
    pointer_glyph(c, sx1 + 8, sy0 + 1, 18, ICON)
    c.rect(14, 84, DIALOG_W - 14, 85, (232, 236, 242))
    draw_checkbox(c, state)
    push_button(c, *P_OK_RECT, state, primary=True, r=6, inset=2)
    push_button(c, *P_CANCEL_RECT, state, r=6, inset=2)
    window_frame(c, DIALOG_W, POINTER_H)
    return c.result()


def draw_checkbox(c, state):
    """The precision toggle: its caption is always dark, so every state keeps a light face.

    Normal: an empty box; over: the box outlined in the accent; down (also the checked
    look): a filled accent box with a tick.
    """
    x0, y0, x1, y1 = PRECISION_RECT
    bx0, by0 = x0 + 1, y0 + 3
    bx1, by1 = bx0 + 13, by0 + 13
    if state == 'normal':
        c.panel(bx0, by0, bx1, by1, 3, CARD, FIELD_BORDER, 1.2)
    elif state == 'over':
        c.rrect(x0 + 16, y0 + 1, x1, y1 - 1, 4, fill=(241, 245, 250))
        c.panel(bx0, by0, bx1, by1, 3, ACCENT_TINT, ACCENT, 1.5)
    else:
        c.rrect(bx0, by0, bx1, by1, 3, fill=ACCENT)
        c.line([(bx0 + 3.2, by0 + 6.8), (bx0 + 5.6, by0 + 9.4), (bx0 + 10, by0 + 3.8)], (255, 255, 255), 1.8)


def draw_speed(step, dpi):
    """Slider of step 0..9: a track, the part up to the knob in the accent, ten tick marks."""
    c = Canvas(SLIDER_W, SLIDER_H, CARD, dpi=dpi, origin=SLIDER_RECT[:2])
    cy = 10.5
    knob = knob_x(step)
    c.rrect(4, cy - 2.5, SLIDER_W - 4, cy + 2.5, 2.5, fill=(214, 221, 231))
    c.rrect(4, cy - 2.5, knob, cy + 2.5, 2.5, fill=ACCENT)
    for n in range(10):
        x = knob_x(n)
        c.rect(x - 0.5, cy + 5.5, x + 0.5, cy + 8.5, ACCENT_SOFT if n <= step else (176, 190, 208))
    c.circle(knob, cy, 7, fill=ACCENT_DARK)
    c.circle(knob, cy, 5.6, fill=(255, 255, 255))
    c.circle(knob, cy, 2.6, fill=ACCENT)
    return c.result()


def knob_x(step):
    # The notches of the pointer dialog's slider: a press or a drag takes the notch nearest
    # to the pointer, with notch n at slider x 8.5 + 19.4 n (src/ui/pointer_settings.h holds
    # the same numbers in tenths).
    return 8.5 + step * 19.4


# ---------------------------------------------------------------- restore-defaults dialog

def restore_glyph(c, cx, cy, r, colour, width):
    """A circular arrow turning back (anticlockwise): the restore pictogram."""
    start, sweep = -50, 280
    pts = []
    for k in range(0, 29):
        a = math.radians(start + sweep * k / 28)
        pts.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    c.line(pts, colour, width)
    # The head sits at the start of the arc and points against the drawing direction.
    a = math.radians(start)
    bx, by = cx + r * math.cos(a), cy + r * math.sin(a)
    ux, uy = math.sin(a), -math.cos(a)
    nx, ny = -uy, ux
    h = width * 1.9
    c.polygon([(bx + ux * h * 1.4, by + uy * h * 1.4), (bx + nx * h, by + ny * h), (bx - nx * h, by - ny * h)], colour)


def draw_default_config(state, dpi):
    def glyph(c):
        restore_glyph(c, 20, 15, 6, HEADER_ICON, 1.6)
    c = dialog_base(DEFAULT_H, glyph, dpi)
    dialog_close(c, state)
    restore_glyph(c, 33, 75, 15, ACCENT, 3.2)
    push_button(c, *D_OK_RECT, state, primary=True, r=6, inset=2)
    push_button(c, *D_CANCEL_RECT, state, r=6, inset=2)
    window_frame(c, DIALOG_W, DEFAULT_H)
    return c.result()



# ---------------------------------------------------------------- editors of the custom functions
# Each editor has the look of the dialogs: the dark header with a glyph and a close
# button, a white card, fields with a light face and a border, push buttons. The
# rectangles are those of src/ui/editors.

EDITOR_HEADER = 30


def field(c, rect, state='normal'):
    """A text field's frame: the program places its edit or list inside, one pixel in."""
    x0, y0, x1, y1 = rect
    if state == 'over':
        c.panel(x0, y0, x1, y1, 4, CARD, ACCENT, 1.5)
    else:
        c.panel(x0, y0, x1, y1, 4, CARD, FIELD_BORDER)


def checkbox_at(c, rect, state):
    x0, y0, x1, y1 = rect
    bx0, by0 = x0 + 1, y0 + (y1 - y0 - 13) / 2
    bx1, by1 = bx0 + 13, by0 + 13
    if state == 'normal':
        c.panel(bx0, by0, bx1, by1, 3, CARD, FIELD_BORDER, 1.2)
    elif state == 'over':
        c.rrect(x0 + 16, y0 + 1, x1, y1 - 1, 4, fill=(241, 245, 250))
        c.panel(bx0, by0, bx1, by1, 3, ACCENT_TINT, ACCENT, 1.5)
    else:
        c.rrect(bx0, by0, bx1, by1, 3, fill=ACCENT)
        c.line([(bx0 + 3.2, by0 + 6.8), (bx0 + 5.6, by0 + 9.4), (bx0 + 10, by0 + 3.8)], (255, 255, 255), 1.8)


def keyboard_glyph(c, x, y, colour):
    c.rrect(x, y + 3, x + 18, y + 14, 2.5, outline=colour, width=1.3)
    for i in range(4):
        c.rect(x + 3 + i * 3.4, y + 6, x + 5 + i * 3.4, y + 8, colour)
    c.rect(x + 5, y + 10, x + 13, y + 11.5, colour)


def launch_glyph(c, x, y, colour):
    c.rrect(x, y + 2, x + 16, y + 15, 2, outline=colour, width=1.3)
    arrow(c, x + 5, y + 12, x + 13, y + 5, colour, 1.4, head=3.4)


def globe_glyph(c, x, y, colour):
    c.circle(x + 8, y + 8.5, 7, outline=colour, width=1.3)
    c.line([(x + 1, y + 8.5), (x + 15, y + 8.5)], colour, 1.1)
    c.line([(x + 8, y + 1.5), (x + 8, y + 15.5)], colour, 1.1)
    c.circle(x + 8, y + 8.5, 3.2, outline=colour, width=1.0)


def macro_glyph(c, x, y, colour):
    c.circle(x + 8, y + 8.5, 7, outline=colour, width=1.3)
    c.circle(x + 8, y + 8.5, 3, fill=colour)


CHORD_W, CHORD_H = 360, 220
CHORD = {
    'field': (20, 66, 270, 96), 'clear': (276, 68, 340, 94),
    'buttons': [(120, 104, 192, 128), (196, 104, 268, 128), (272, 104, 344, 128)],
    'ok': (212, 180, 274, 208), 'cancel': (280, 180, 344, 208),
}
LAUNCH_W, LAUNCH_H = 400, 200
LAUNCH = {'field': (20, 68, 300, 96), 'browse': (306, 68, 384, 96), 'web_field': (20, 68, 384, 96),
          'ok': (252, 158, 314, 186), 'cancel': (320, 158, 384, 186)}
MACRO_W, MACRO_H = 560, 400
MACRO = {
    'list': (16, 62, 200, 300), 'new': (16, 306, 104, 332), 'delete': (112, 306, 200, 332),
    'name': (280, 40, 448, 64), 'rename': (456, 40, 544, 64),
    'steps': (216, 90, 544, 250), 'step_delete': (216, 256, 316, 280), 'delay': (376, 256, 444, 280),
    'set': (480, 256, 544, 280), 'repeat': (216, 288, 300, 312), 'count': (304, 288, 364, 312),
    'start': (216, 318, 300, 344), 'end': (306, 318, 390, 344),
    'ok': (416, 358, 478, 386), 'cancel': (484, 358, 544, 386),
}


def editor_base(width, height, glyph, state, dpi):
    c = Canvas(width, height, CARD, dpi=dpi)
    header(c, width, EDITOR_HEADER)
    glyph(c, 12, 6, HEADER_ICON)
    header_button(c, width - 15, 7, width - 1, 22, state, 'close', r=3)
    return c


def draw_chord_editor(state, dpi):
    c = editor_base(CHORD_W, CHORD_H, keyboard_glyph, state, dpi)
    field(c, CHORD['field'], 'over' if state == 'over' else 'normal')
    push_button(c, *CHORD['clear'], state, r=5, inset=1)
    for rect in CHORD['buttons']:
        push_button(c, *rect, state, r=5, inset=1)
    c.rect(14, 170, CHORD_W - 14, 171, (232, 236, 242))
    push_button(c, *CHORD['ok'], state, primary=True, r=6, inset=2)
    push_button(c, *CHORD['cancel'], state, r=6, inset=2)
    window_frame(c, CHORD_W, CHORD_H)
    return c.result()


def draw_launch_editor(state, web, dpi):
    c = editor_base(LAUNCH_W, LAUNCH_H, globe_glyph if web else launch_glyph, state, dpi)
    if web:
        field(c, LAUNCH['web_field'])
    else:
        field(c, LAUNCH['field'])
        push_button(c, *LAUNCH['browse'], state, r=5, inset=1)
    c.rect(14, 148, LAUNCH_W - 14, 149, (232, 236, 242))
    push_button(c, *LAUNCH['ok'], state, primary=True, r=6, inset=2)
    push_button(c, *LAUNCH['cancel'], state, r=6, inset=2)
    window_frame(c, LAUNCH_W, LAUNCH_H)
    return c.result()


def draw_macro_editor(state, dpi):
    c = editor_base(MACRO_W, MACRO_H, macro_glyph, state, dpi)
    c.rect(208, 40, 209, 344, (232, 236, 242))
    for key in ('list', 'name', 'steps', 'delay', 'count'):
        field(c, MACRO[key])
    for key in ('new', 'delete', 'rename', 'step_delete', 'set', 'start', 'end'):
        push_button(c, *MACRO[key], state, r=5, inset=1)
    checkbox_at(c, MACRO['repeat'], state)
    c.rect(14, 350, MACRO_W - 14, 351, (232, 236, 242))
    push_button(c, *MACRO['ok'], state, primary=True, r=6, inset=2)
    push_button(c, *MACRO['cancel'], state, r=6, inset=2)
    window_frame(c, MACRO_W, MACRO_H)
    return c.result()


# ---------------------------------------------------------------- everything

def skin_pictures(dpi):
    """(relative path, picture) of every PNG for `dpi`, in a fixed order."""
    out = []
    for state, cap in zip(STATES, ('Normal', 'Over', 'Down')):
        out.append(('MorviCorvel_Main_%s.png' % cap, draw_main(state, dpi)))
    for prefix, slots in PAGES:
        for state in STATES:
            out.append(('%s_gesure_%s.png' % (prefix, state), draw_page(list(slots), state, dpi)))
    for state in ('normal', 'over'):
        out.append(('menu/menu_%s.png' % state, draw_menu(MENU_W, MENU_ENTRIES, state, True, dpi)))
    for state in STATES:
        out.append(('menu/submenu_%s.png' % state, draw_menu(SUBMENU_W, SUBMENU_ENTRIES, state, False, dpi)))
    for state in STATES:
        out.append(('pointer_setting_%s.png' % state, draw_pointer_setting(state, dpi)))
    for n in range(1, 11):
        out.append(('pointer_speed_%d.png' % n, draw_speed(n - 1, dpi)))
    for state in STATES:
        out.append(('default_config_%s.png' % state, draw_default_config(state, dpi)))
    for state in STATES:
        out.append(('editor_chord_%s.png' % state, draw_chord_editor(state, dpi)))
        out.append(('editor_program_%s.png' % state, draw_launch_editor(state, False, dpi)))
        out.append(('editor_web_%s.png' % state, draw_launch_editor(state, True, dpi)))
        out.append(('editor_macro_%s.png' % state, draw_macro_editor(state, dpi)))
    return out


def write_set(job):
    """One set: OUTDIR for 100 %, OUTDIR/PERCENT for the others."""
    outdir, percent = job
    folder = outdir if percent == 100 else os.path.join(outdir, str(percent))
    dpi = dpi_of_percent(percent)
    os.makedirs(folder, exist_ok=True)
    for name, img in skin_pictures(dpi):
        save_png(img, folder, name)
    write_animations(folder, dpi)
    return percent


def main(argv):
    if len(argv) < 2:
        sys.stderr.write('usage: gen_skins.py OUTDIR [PERCENT...]\n')
        return 2
    outdir = argv[1]
    try:
        percents = [int(a) for a in argv[2:]] or [100, *SCALES]
    except ValueError:
        percents = []
    if not percents or any(p not in (100, *SCALES) for p in percents):
        sys.stderr.write('gen_skins.py: a scale is one of %s\n' % ', '.join(map(str, (100, *SCALES))))
        return 2
    os.makedirs(outdir, exist_ok=True)
    # The largest sets first, so that the sets drawn side by side end at about the same time.
    jobs = [(outdir, p) for p in sorted(percents, reverse=True)]
    workers = min(len(jobs), os.cpu_count() or 1)
    if workers > 1:
        with multiprocessing.Pool(workers) as pool:
            for _ in pool.imap_unordered(write_set, jobs):
                pass
    else:
        for job in jobs:
            write_set(job)
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))
