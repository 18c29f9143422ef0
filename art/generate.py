#!/usr/bin/env python3
"""Draws Tunebalk's artwork and writes it out as encoded C++ pictures and the application icon.

Everything is drawn from shapes given as inside-tests, sampled 4 x 4 per pixel for smooth
edges, so the output is fully determined by this file: running it again gives the same bytes.
Each picture is drawn at 100, 125, 150 and 200 % (for 96, 120, 144 and 192 dpi), from the
shapes at that size.

    python3 art/generate.py                 # from the repository root
    python3 art/generate.py --preview DIR   # also writes a PNG sheet per scale into DIR
    python3 art/generate.py --out DIR       # writes below DIR instead of the repository

Writes src/art/ArtData.h, src/art/ArtData.cpp and art/tunebalk.ico (paths relative to the
repository, or to DIR with --out, where missing folders are made).
"""

import base64
import math
import os
import struct
import sys
import zlib

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

# ---- palette (r, g, b) ---------------------------------------------------------------------
BG = (0x17, 0x1A, 0x20)  # the bar's back colour; every opaque picture is drawn over it
BORDER_DARK = (0x0A, 0x0C, 0x0F)
BORDER_LIGHT = (0x2A, 0x2F, 0x39)
TEXT = (0xA6, 0xC8, 0xD3)  # the bar's text colour, 0xD3C8A6 as Windows stores it
KEY_COLOR = (0xFF, 0x00, 0xFF)  # transparent pixels of keyed pictures
FACE = (0xF0, 0xF0, 0xF0)  # a dialog's face: what the settings window's pictures stand on

SS = 4  # samples per pixel along each axis


def mix(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


def hexrgb(s):
    return (int(s[0:2], 16), int(s[2:4], 16), int(s[4:6], 16))


# ---- shapes: functions (x, y) -> bool --------------------------------------------------------
def rrect(x0, y0, x1, y1, r):
    left, right, top, bottom, rr = x0 + r, x1 - r, y0 + r, y1 - r, r * r

    def inside(x, y):
        if x < x0 or x > x1 or y < y0 or y > y1:
            return False
        # The nearest point of the inner rectangle (min(max(x, left), right), spelled out: this
        # runs for every sample).
        cx = left if x < left else x
        cx = right if cx > right else cx
        cy = top if y < top else y
        cy = bottom if cy > bottom else cy
        return (x - cx) ** 2 + (y - cy) ** 2 <= rr
    return inside


def circle(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def capsule(ax, ay, bx, by, r):
    dx, dy = bx - ax, by - ay
    ll = dx * dx + dy * dy

    def inside(x, y):
        t = 0.0 if ll == 0 else max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / ll))
        px, py = ax + dx * t - x, ay + dy * t - y
        return px * px + py * py <= r * r
    return inside


def polygon(points):
    """Convex polygon, points in either winding."""
    n = len(points)
    area = sum(points[i][0] * points[(i + 1) % n][1] - points[(i + 1) % n][0] * points[i][1]
               for i in range(n))
    sign = 1 if area > 0 else -1

    def inside(x, y):
        for i in range(n):
            ax, ay = points[i]
            bx, by = points[(i + 1) % n]
            if sign * ((bx - ax) * (y - ay) - (by - ay) * (x - ax)) < 0:
                return False
        return True
    return inside


def union(*shapes):
    return lambda x, y: any(s(x, y) for s in shapes)


def minus(a, *bs):
    return lambda x, y: a(x, y) and not any(b(x, y) for b in bs)


def shifted(shape, dx, dy):
    return lambda x, y: shape(x - dx, y - dy)


def mirrored_x(shape, width):
    return lambda x, y: shape(width - x, y)


# ---- pictures ---------------------------------------------------------------------------------
def scaled(n, k):
    """A length of n pixels at 100 % as whole pixels at scale k, halves to even (as the program
    turns twips into pixels)."""
    return int(round(n * k))


class Pic:
    """RGB pixels plus coverage; opaque pictures start filled with the bar's back colour.

    Shapes and colours are given in the picture's own units at 100 % (w x h); at scale k the
    picture has w x h times k pixels, rounded, with the drawing centred in them, and every
    shape is sampled at that size."""

    def __init__(self, w, h, k=1.0, keyed=False, base=BG, over=BG):
        self.k, self.keyed, self.over = k, keyed, over
        self.w, self.h = scaled(w, k), scaled(h, k)
        self.ox, self.oy = (self.w - w * k) / 2, (self.h - h * k) / 2
        self.rgb = [list(base) for _ in range(self.w * self.h)]
        self.alpha = [0.0 if keyed else 1.0] * (self.w * self.h)

    def units(self, x, y):
        """A point in pixels as the drawing's units."""
        return (x - self.ox) / self.k, (y - self.oy) / self.k

    def coverage(self, shape):
        cov = [0.0] * (self.w * self.h)
        step = 1.0 / SS
        # Each pixel's sample points in the drawing's units, along each axis.
        xs = [[self.units(x + (s + 0.5) * step, 0)[0] for s in range(SS)] for x in range(self.w)]
        ys = [[self.units(0, y + (s + 0.5) * step)[1] for s in range(SS)] for y in range(self.h)]
        for y in range(self.h):
            for x in range(self.w):
                hits = 0
                for uy in ys[y]:
                    for ux in xs[x]:
                        if shape(ux, uy):
                            hits += 1
                cov[y * self.w + x] = hits / (SS * SS)
        return cov

    def fill(self, shape, color, opacity=1.0, cov=None):
        """color: an (r, g, b) or a function (x, y) -> (r, g, b) of the pixel centre."""
        if cov is None:
            cov = self.coverage(shape)
        for i, c in enumerate(cov):
            k = c * opacity
            if k <= 0:
                continue
            x, y = i % self.w, i // self.w
            col = color(*self.units(x + 0.5, y + 0.5)) if callable(color) else color
            if self.keyed:
                a0 = self.alpha[i]
                a = a0 + k * (1 - a0)
                self.rgb[i] = [(self.rgb[i][j] * a0 * (1 - k) + col[j] * k) / a for j in range(3)]
                self.alpha[i] = a
            else:
                self.rgb[i] = [self.rgb[i][j] * (1 - k) + col[j] * k for j in range(3)]

    def glow(self, cov, color, strength, radius):
        """A soft halo: the coverage blurred by a box filter twice, laid under later strokes."""
        radius = max(1, scaled(radius, self.k))
        blurred = box_blur(box_blur(cov, self.w, self.h, radius), self.w, self.h, radius)
        self.fill(None, color, strength, cov=[min(1.0, b * 1.6) for b in blurred])

    def final(self, key_threshold=0.45):
        """Pixels as 0x00BBGGRR; in keyed pictures faint edges become the key, the rest is
        flattened over the colour the picture stands on (the bar's back colour by default)."""
        out = []
        for i in range(self.w * self.h):
            a = self.alpha[i]
            if self.keyed and a < key_threshold:
                r, g, b = KEY_COLOR
            else:
                col = self.rgb[i]
                if self.keyed and a < 1.0:
                    col = [col[j] * a + self.over[j] * (1 - a) for j in range(3)]
                r, g, b = (max(0, min(255, int(round(c)))) for c in col)
            out.append(r | (g << 8) | (b << 16))
        return out


def box_blur(src, w, h, r):
    out = [0.0] * (w * h)
    for y in range(h):
        for x in range(w):
            s, n = 0.0, 0
            for yy in range(max(0, y - r), min(h, y + r + 1)):
                for xx in range(max(0, x - r), min(w, x + r + 1)):
                    s += src[yy * w + xx]
                    n += 1
            out[y * w + x] = s / n
    return out


def vgrad(top, bottom, y0, y1):
    return lambda x, y: mix(top, bottom, max(0.0, min(1.0, (y - y0) / (y1 - y0))))


def hgrad(left, right, x0, x1):
    return lambda x, y: mix(left, right, max(0.0, min(1.0, (x - x0) / (x1 - x0))))


# ---- button faces (21 x 22) -------------------------------------------------------------------
FACE_W, FACE_H = 21, 22


def gear():
    cx, cy = 10.5, 11.0

    def inside(x, y):
        dx, dy = x - cx, y - cy
        d = math.hypot(dx, dy)
        if d < 1.9:
            return False
        t = 0.5 + 0.5 * math.cos(8 * math.atan2(dy, dx))
        t = max(0.0, min(1.0, (t - 0.3) / 0.4))  # square-ish teeth
        return d <= 3.9 + 1.45 * t
    return inside


def glyphs():
    top, bottom = 6.5, 15.5
    play = polygon([(7.5, top), (7.5, bottom), (15.0, 11.0)])
    pause = union(rrect(6.8, top, 9.4, bottom, 0.6), rrect(11.6, top, 14.2, bottom, 0.6))
    stop = rrect(6.4, 6.9, 14.6, 15.1, 1.0)
    prev = union(rrect(5.8, top, 7.8, bottom, 0.5), polygon([(15.2, top), (15.2, bottom),
                                                             (8.4, 11.0)]))
    nxt = mirrored_x(prev, FACE_W)
    window = minus(rrect(5.2, 6.2, 15.8, 15.6, 1.0), rrect(6.7, 8.7, 14.3, 14.1, 0.3))
    hide = union(rrect(9.3, 5.6, 11.7, 9.2, 0.4), polygon([(6.5, 8.6), (14.5, 8.6), (10.5, 12.6)]),
                 rrect(5.6, 13.6, 15.4, 15.6, 0.7))
    bubble = minus(union(rrect(4.8, 5.4, 16.2, 13.6, 2.6),
                         polygon([(7.0, 12.5), (10.6, 12.5), (6.6, 16.6)])),
                   circle(7.7, 9.5, 1.0), circle(10.5, 9.5, 1.0), circle(13.3, 9.5, 1.0))
    close = union(capsule(7.2, 7.7, 13.8, 14.3, 1.15), capsule(13.8, 7.7, 7.2, 14.3, 1.15))
    return [prev, play, pause, stop, nxt, window, hide, bubble, gear(), close, None]


LOOKS = {
    # key top, key bottom, rim top, rim bottom, highlight, glyph top, glyph bottom
    "normal": dict(key=("2b3039", "1f232a"), rim=("383e4a", "262a32"), hi=("434b59", 0.55),
                   glyph=("c6dde5", "93b7c4"), glow=None, press=False),
    "hover": dict(key=("343b47", "262b34"), rim=("5d7d8b", "3b4a54"), hi=("56606f", 0.6),
                  glyph=("ffffff", "d2ecf5"), glow=("7fc8e0", 0.55), press=False),
    "pressed": dict(key=("121418", "1b1f25"), rim=("262a31", "2d323b"), hi=None,
                    glyph=("9dbfcb", "7d9fac"), glow=None, press=True),
}


def face(glyph, look, k=1.0):
    L = LOOKS[look]
    p = Pic(FACE_W, FACE_H, k)
    x0, y0, x1, y1, r = 1.0, 1.0, 20.0, 21.0, 4.0
    if not L["press"]:
        p.fill(rrect(x0, y0 + 1.0, x1, y1 + 0.8, r), (0x0c, 0x0e, 0x11), 0.7)  # drop shadow
    p.fill(rrect(x0, y0, x1, y1, r), vgrad(hexrgb(L["rim"][0]), hexrgb(L["rim"][1]), y0, y1))
    p.fill(rrect(x0 + 1, y0 + 1, x1 - 1, y1 - 1, r - 1),
           vgrad(hexrgb(L["key"][0]), hexrgb(L["key"][1]), y0, y1))
    if L["hi"]:
        p.fill(minus(rrect(x0 + 1, y0 + 1, x1 - 1, y1 - 1, r - 1),
                     rrect(x0 + 1, y0 + 2, x1 - 1, y1, r - 1)), hexrgb(L["hi"][0]), L["hi"][1])
    else:  # pressed: the key's upper inside edge lies in shadow
        p.fill(minus(rrect(x0 + 1, y0 + 1, x1 - 1, y1 - 1, r - 1),
                     rrect(x0 + 1, y0 + 3, x1 - 1, y1, r - 1)), (0x08, 0x09, 0x0b), 0.55)
    if glyph is None:
        return p
    g = shifted(glyph, 0.0, 1.0) if L["press"] else glyph
    cov = p.coverage(g)
    if L["glow"]:
        p.glow(cov, hexrgb(L["glow"][0]), L["glow"][1], 1)
    p.fill(g, vgrad(hexrgb(L["glyph"][0]), hexrgb(L["glyph"][1]), 6.0, 16.0), cov=cov)
    return p


# ---- sliders ----------------------------------------------------------------------------------
GROOVE = (0x0b, 0x0d, 0x10)
GROOVE_LIP = (0x2e, 0x34, 0x3f)


def groove(p, x0, y0, x1, y1):
    """A slot cut into the bar: dark inside, its lower lip catching the light."""
    r = min(x1 - x0, y1 - y0) / 2
    p.fill(rrect(x0 - 0.4, y0, x1 + 0.4, y1 + 0.9, r + 0.4), GROOVE_LIP)
    p.fill(rrect(x0, y0, x1, y1, r), GROOVE)


def progress_rail(k=1.0):
    p = Pic(184, 11, k)
    groove(p, 5.0, 3.0, 179.0, 7.0)
    return p


def volume_rail(k=1.0):
    p = Pic(62, 10, k)
    ramp = polygon([(5.0, 7.6), (57.0, 7.6), (57.0, 2.4), (5.0, 6.4)])
    lip = polygon([(4.6, 8.4), (57.4, 8.4), (57.4, 2.6), (4.6, 6.8)])
    p.fill(union(lip, capsule(57.0, 3.0, 57.0, 7.6, 0.4)), GROOVE_LIP)
    p.fill(ramp, GROOVE)
    inner = polygon([(6.0, 7.0), (56.2, 7.0), (56.2, 3.3), (6.0, 6.3)])
    p.fill(inner, hgrad((0x1f, 0x33, 0x3b), (0x4f, 0x84, 0x96), 6.0, 56.0))
    return p


def scroll_rail(k=1.0):
    # Drawn 81 high; the control paints it stretched to 86, so the slot is kept clear of the
    # last rows that fall outside.
    p = Pic(14, 81, k)
    groove(p, 5.0, 5.0, 9.0, 71.0)
    return p


def thumb(w, h, vertical, k=1.0):
    p = Pic(w, h, k, keyed=True)
    r = (w if vertical else h) / 2.0
    p.fill(rrect(0.0, 0.0, w, h, r), (0x0a, 0x0c, 0x0f))
    p.fill(rrect(0.7, 0.7, w - 0.7, h - 0.7, r - 0.7),
           vgrad((0xe4, 0xf1, 0xf5), (0x8c, 0xae, 0xba), 0.7, h - 0.7))
    if vertical:
        for y in (5.5, 7.5, 9.5):
            p.fill(rrect(2.4, y - 0.45, w - 2.4, y + 0.45, 0.2), (0x52, 0x6b, 0x75), 0.8)
    else:
        for x in (5.5, 7.5, 9.5):
            p.fill(rrect(x - 0.45, 2.4, x + 0.45, h - 2.4, 0.2), (0x52, 0x6b, 0x75), 0.8)
    return p


# ---- corner decorations -----------------------------------------------------------------------
def corner_left(k=1.0):
    """A bracket of light in the bar's top corner, fading along both arms."""
    p = Pic(14, 14, k)
    fade = lambda x, y: mix(TEXT, BG, min(1.0, max(0.0, (max(x, y) - 2.0) / 11.0)) ** 0.8)
    p.fill(union(rrect(2.0, 2.0, 13.5, 3.6, 0.8), rrect(2.0, 2.0, 3.6, 13.5, 0.8)), fade)
    p.fill(circle(2.8, 2.8, 0.9), (0xe8, 0xf6, 0xfa), 0.9)
    return p


def corner_right(k=1.0):
    left = corner_left(k)
    p = Pic(14, 14, k)
    for y in range(p.h):
        for x in range(p.w):
            p.rgb[y * p.w + x] = left.rgb[y * p.w + p.w - 1 - x]
    return p


# ---- the application icon ---------------------------------------------------------------------
def icon(size, over=BG):
    s = float(size)
    p = Pic(size, size, keyed=True, over=over)
    ss_backup = globals()["SS"]
    globals()["SS"] = 4 if size <= 96 else 2
    m = s * 0.04
    rad = s * 0.2
    p.fill(rrect(m, m, s - m, s - m, rad), (0x0c, 0x0e, 0x11))
    p.fill(rrect(m + s * 0.03, m + s * 0.03, s - m - s * 0.03, s - m - s * 0.03, rad - s * 0.03),
           vgrad((0x33, 0x3a, 0x46), (0x17, 0x1a, 0x20), m, s - m))
    # The bar hanging from the top edge, with the play sign below it.
    p.fill(rrect(s * 0.2, s * 0.2, s * 0.8, s * 0.31, s * 0.05),
           hgrad((0x5f, 0x8c, 0x9c), (0xc6, 0xdd, 0xe5), s * 0.2, s * 0.8))
    p.fill(polygon([(s * 0.36, s * 0.42), (s * 0.36, s * 0.82), (s * 0.74, s * 0.62)]),
           vgrad((0xf0, 0xfa, 0xfd), (0x93, 0xb7, 0xc4), s * 0.42, s * 0.82))
    globals()["SS"] = ss_backup
    return p


# ---- the settings window's small icon ---------------------------------------------------------
def settings_icon(k=1.0):
    """A gear, 16 x 16: light teeth in a dark rim, so that its edge reads on any title bar."""
    p = Pic(16, 16, k, keyed=True)
    c = 8.0

    def gear16(outer, teeth, hole):
        def inside(x, y):
            dx, dy = x - c, y - c
            d = math.hypot(dx, dy)
            t = 0.5 + 0.5 * math.cos(8 * math.atan2(dy, dx))
            t = max(0.0, min(1.0, (t - 0.3) / 0.4))
            return hole <= d <= outer + teeth * t
        return inside

    p.fill(gear16(5.6, 2.3, 1.6), (0x1c, 0x20, 0x27))
    p.fill(gear16(4.6, 2.1, 2.6), vgrad((0xe6, 0xf1, 0xf5), (0x7d, 0x9f, 0xad), 1, 15))
    return p


# ---- the settings window's pictures of the five hotkey actions --------------------------------
def action_icons(k=1.0):
    """Previous, play, pause, stop and next, 16 x 16, dark on the dialog's light face."""
    out = []
    for g in glyphs()[:5]:
        p = Pic(16, 16, k, keyed=True, over=FACE)
        # The button glyphs' grid (21 x 22, centred at 10.5, 11) scaled to fill 14 pixels.
        f = 0.78
        p.fill(lambda x, y, g=g: g(10.5 + (x - 8.0) * f, 11.0 + (y - 8.0) * f),
               vgrad((0x3b, 0x5a, 0x68), (0x1c, 0x2b, 0x33), 2, 14))
        out.append(p)
    return out


def rgba_rows(p):
    """Rows of (r, g, b, a) bytes, top row first, with straight alpha."""
    rows = []
    for y in range(p.h):
        row = []
        for x in range(p.w):
            i = y * p.w + x
            a = p.alpha[i]
            r, g, b = (max(0, min(255, int(round(c)))) for c in p.rgb[i])
            row.append((r, g, b, max(0, min(255, int(round(a * 255))))))
        rows.append(row)
    return rows


def png_bytes(rows):
    h, w = len(rows), len(rows[0])
    raw = b"".join(b"\x00" + bytes(c for px in row for c in px) for row in rows)

    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data +
                struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 6, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def ico_bytes(pics):
    """An icon file: small sizes as 32-bit bitmaps with an AND mask, 256 as PNG."""
    entries, blobs = [], []
    for p in pics:
        rows = rgba_rows(p)
        if p.w >= 256:
            blob = png_bytes(rows)
        else:
            header = struct.pack("<IiiHHIIiiII", 40, p.w, p.h * 2, 1, 32, 0, 0, 0, 0, 0, 0)
            xor = b"".join(bytes((b, g, r, a)) for row in reversed(rows) for (r, g, b, a) in row)
            stride = ((p.w + 31) // 32) * 4
            mask = b""
            for row in reversed(rows):
                bits = bytearray(stride)
                for x, px in enumerate(row):
                    if px[3] == 0:
                        bits[x // 8] |= 0x80 >> (x % 8)
                mask += bytes(bits)
            blob = header + xor + mask
        entries.append((p.w, p.h, blob))
        blobs.append(blob)
    out = struct.pack("<HHH", 0, 1, len(entries))
    offset = 6 + 16 * len(entries)
    for w, h, blob in entries:
        out += struct.pack("<BBBBHHII", w % 256, h % 256, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
    return out + b"".join(blobs)


# ---- output -----------------------------------------------------------------------------------
STYLE_NAMES = ["Prev", "Play", "Pauze", "Stop", "Next", "Herstel", "Verberg", "MSN",
               "Instellingen", "Afsluiten", "Leeg"]
LOOK_NAMES = ["normal", "hover", "pressed"]


def cxx_color(c):
    r, g, b = (int(round(v)) for v in c)
    return "0x%02X%02X%02X" % (b, g, r)


def write_file(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    mode = "wb" if isinstance(data, bytes) else "w"
    with open(path, mode, **({} if mode == "wb" else {"newline": "\n"})) as f:
        f.write(data)


def encode(pixels):
    """A picture's 0x00BBGGRR pixels as bytes of a run, index and difference code (the one
    Artwork.cpp decodes), one op per pixel or run:
      0b00iiiiii          the colour in slot i of a table of 64 seen colours, slot
                          (r * 3 + g * 5 + b * 7) % 64
      0b01rrggbb          the previous colour plus r, g, b - 2 (each -2 .. 1)
      0b10gggggg, rrrrbbbb  green plus g - 32, red and blue plus (r - 8, b - 8) + that
      0b11nnnnnn          n + 1 more of the previous colour (n below 62)
      0xFE r g b          a colour as it is
    The previous colour starts black and the table empty; every colour an op gives goes into
    its slot."""
    out = bytearray()
    seen = [None] * 64
    prev = (0, 0, 0)
    run = 0
    for v in pixels:
        c = (v & 255, (v >> 8) & 255, (v >> 16) & 255)
        if c == prev:
            run += 1
            if run == 62:
                out.append(0xC0 | 61)
                run = 0
            continue
        if run:
            out.append(0xC0 | (run - 1))
            run = 0
        slot = (c[0] * 3 + c[1] * 5 + c[2] * 7) % 64
        dr, dg, db = ((c[i] - prev[i] + 128) % 256 - 128 for i in range(3))
        if seen[slot] == c:
            out.append(slot)
        elif all(-2 <= d <= 1 for d in (dr, dg, db)):
            out.append(0x40 | ((dr + 2) << 4) | ((dg + 2) << 2) | (db + 2))
        elif -32 <= dg <= 31 and -8 <= dr - dg <= 7 and -8 <= db - dg <= 7:
            out += bytes((0x80 | (dg + 32), ((dr - dg + 8) << 4) | (db - dg + 8)))
        else:
            out += bytes((0xFE,) + c)
        seen[slot] = c
        prev = c
    if run:
        out.append(0xC0 | (run - 1))
    return bytes(out)


def cxx_picture(p, indent):
    """A RawImage initialiser: size, key, and the code as base-64 text in lines of a string."""
    text = base64.b64encode(encode(p.final())).decode("ascii")
    lines = ['%s"%s"' % (indent, text[i:i + 92]) for i in range(0, len(text), 92)]
    return "{%d, %d, %s,\n%s}" % (p.w, p.h, "true" if p.keyed else "false", "\n".join(lines))


# The scales each picture is drawn at, as the densities (dots per inch) they are for.
SET_DPI = [96, 120, 144, 192]
SINGLES = ["progressRail", "progressThumb", "volumeRail", "volumeThumb", "scrollRail",
           "scrollThumb", "topLeft", "topRight", "settingsIcon"]


def draw_set(k):
    """Every picture at scale k: the button faces [style][look], the named single pictures,
    the five action icons and the logo."""
    faces = [[face(g, look, k) for look in LOOK_NAMES] for g in glyphs()]
    singles = dict(zip(SINGLES, [
        progress_rail(k), thumb(14, 8, False, k), volume_rail(k), thumb(14, 8, False, k),
        scroll_rail(k), thumb(8, 14, True, k), corner_left(k), corner_right(k),
        settings_icon(k)]))
    return faces, singles, action_icons(k), icon(scaled(48, k), over=FACE)


def main():
    preview_dir = None
    out = ROOT
    args = sys.argv[1:]
    while args:
        if len(args) < 2 or args[0] not in ("--preview", "--out"):
            sys.exit(__doc__)
        if args[0] == "--preview":
            preview_dir = args[1]
        else:
            out = args[1]
        args = args[2:]

    sets = [draw_set(dpi / 96.0) for dpi in SET_DPI]
    faces, singles, actions, logo = sets[0]

    gen = "// Generated by art/generate.py from its drawing code; regenerate, do not edit.\n"
    header = gen + """#pragma once

#include <cstdint>

namespace tb::art::data {

// One picture of width x height pixels, row-major from the top row, encoded: base-64 text of
// the run, index and difference code of its 0x00BBGGRR colours that art/generate.py describes
// (encode) and Artwork.cpp decodes. In keyed pictures the pixels equal to kKeyColor are
// transparent.
struct RawImage {
    std::int32_t width;
    std::int32_t height;
    bool keyed;
    const char* code;
};

constexpr std::uint32_t kKeyColor = %s;
constexpr std::uint32_t kBarBackColor = %s;
constexpr std::uint32_t kBarBorderDark = %s;
constexpr std::uint32_t kBarBorderLight = %s;
constexpr std::uint32_t kTextColor = %s;

constexpr int kFaceStyles = %d;  // the ten button styles and a blank face
constexpr int kFaceLooks = 3;    // normal, hover, pressed
constexpr int kActionIcons = %d;

// Every picture drawn at one scale.
struct RawSet {
    RawImage buttonFaces[kFaceStyles][kFaceLooks];
%s    RawImage actionIcons[kActionIcons];
    RawImage logo;
};

// The scales the pictures are drawn at, as the densities they are for (100 %% is 96 dpi).
constexpr int kSetCount = %d;
constexpr int kSetDpi[kSetCount] = {%s};
extern const RawSet kSets[kSetCount];

}  // namespace tb::art::data
""" % (cxx_color(KEY_COLOR), cxx_color(BG), cxx_color(BORDER_DARK), cxx_color(BORDER_LIGHT),
       cxx_color(TEXT), len(faces), len(actions),
       "".join("    RawImage %s;\n" % n for n in SINGLES), len(SET_DPI),
       ", ".join(str(d) for d in SET_DPI))

    body = [gen + "// clang-format off\n#include \"art/ArtData.h\"\n\nnamespace tb::art::data {\n",
            "const RawSet kSets[kSetCount] = {"]
    for dpi, (set_faces, set_singles, set_actions, set_logo) in zip(SET_DPI, sets):
        body.append("// %d dpi\n{{" % dpi)
        for s, row in enumerate(set_faces):
            body.append("    // %s\n    {" % STYLE_NAMES[s])
            body.append(",\n".join("    " + cxx_picture(p, "     ") for p in row) + "},")
        body.append("},")
        for n in SINGLES:
            body.append("// %s\n%s," % (n, cxx_picture(set_singles[n], " ")))
        body.append("{" + ",\n".join(cxx_picture(p, "  ") for p in set_actions) + "},")
        body.append(cxx_picture(set_logo, " ") + "},")
    body.append("};\n\n}  // namespace tb::art::data")

    write_file(os.path.join(out, "src", "art", "ArtData.h"), header)
    write_file(os.path.join(out, "src", "art", "ArtData.cpp"), "\n".join(body) + "\n")
    write_file(os.path.join(out, "art", "tunebalk.ico"),
                     ico_bytes([icon(16), icon(24), icon(32), icon(48), icon(256)]))

    if preview_dir:
        write_previews(preview_dir, sets)


def write_previews(d, sets):
    """One sheet per scale, four times enlarged: the faces by look, the sliders and corners, the
    settings window's pictures."""
    os.makedirs(d, exist_ok=True)
    zoom, gap = 4, 4

    def sheet(pics_rows):
        w = max(sum(p.w + gap for p in row) for row in pics_rows) + gap
        h = sum(max(p.h for p in row) + gap for row in pics_rows) + gap
        canvas = [[(0x30, 0x30, 0x30, 255)] * w for _ in range(h)]
        y = gap
        for row in pics_rows:
            x = gap
            for p in row:
                px = p.final()
                for yy in range(p.h):
                    for xx in range(p.w):
                        v = px[yy * p.w + xx]
                        canvas[y + yy][x + xx] = (v & 255, (v >> 8) & 255, (v >> 16) & 255, 255)
                x += p.w + gap
            y += max(p.h for p in row) + gap
        return [[px for px in row for _ in range(zoom)] for row in canvas for _ in range(zoom)]

    for dpi, (faces, singles, actions, logo) in zip(SET_DPI, sets):
        rows = [[faces[s][l] for s in range(len(faces))] for l in range(3)]
        rows.append([singles["progressRail"], singles["volumeRail"], singles["progressThumb"],
                     singles["scrollThumb"], singles["scrollRail"], singles["topLeft"],
                     singles["topRight"]])
        rows.append(actions + [singles["settingsIcon"], logo])
        with open(os.path.join(d, "art-%ddpi.png" % dpi), "wb") as f:
            f.write(png_bytes(sheet(rows)))


if __name__ == "__main__":
    main()
