#!/usr/bin/env python3
"""Draws OrvikCalendar's icons and toolbar bitmap.

Run from the repository root:

    python3 res/art/draw_resources.py [--preview-dir DIR]

It rewrites these files (the outputs are committed; this script is the source):

    res/OrvikCalendar.ico   program icon, 32x32 and 16x16, 32-bit BGRA + AND mask
    res/Alarm.ico           16x16 notification-area blink icon, 32-bit BGRA + AND mask
    res/Toolbar.bmp         144x15 toolbar strip, nine 16x15 images, 4 bits per pixel

and writes 8x PNG previews to /tmp/art-preview/ (or DIR) for looking at.
After writing, it reads every file back and checks it against what was drawn.

Standard library only: the ICO, BMP and PNG formats are written by hand.
"""

import os
import struct
import sys
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
RES_DIR = os.path.dirname(HERE)
DEFAULT_PREVIEW_DIR = "/tmp/art-preview"

CLEAR = (0, 0, 0, 0)


# --------------------------------------------------------------------------
# Canvas and drawing helpers.  Colours are (r, g, b) or (r, g, b, a) tuples.
# --------------------------------------------------------------------------

def rgba(colour):
    return colour if len(colour) == 4 else (colour[0], colour[1], colour[2], 255)


class Canvas:
    def __init__(self, width, height, fill=CLEAR):
        self.width = width
        self.height = height
        self.rows = [[rgba(fill)] * width for _ in range(height)]

    def get(self, x, y):
        return self.rows[y][x]

    def pixel(self, x, y, colour):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.rows[y][x] = rgba(colour)

    def blend(self, x, y, colour, coverage=1.0):
        """Paints colour over the pixel, 'over' compositing with straight alpha."""
        if not (0 <= x < self.width and 0 <= y < self.height) or coverage <= 0:
            return
        r, g, b, a = rgba(colour)
        sa = a / 255.0 * min(coverage, 1.0)
        dr, dg, db, da = self.rows[y][x]
        da /= 255.0
        oa = sa + da * (1.0 - sa)
        if oa <= 0:
            self.rows[y][x] = CLEAR
            return

        def mix(s, d):
            return int(round((s * sa + d * da * (1.0 - sa)) / oa))

        self.rows[y][x] = (mix(r, dr), mix(g, dg), mix(b, db), int(round(oa * 255)))

    def rect(self, x0, y0, x1, y1, fill=None, outline=None):
        """Rectangle with inclusive corners."""
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                edge = x in (x0, x1) or y in (y0, y1)
                if edge and outline is not None:
                    self.pixel(x, y, outline)
                elif fill is not None:
                    self.pixel(x, y, fill)

    def line(self, x0, y0, x1, y1, colour):
        """Bresenham line, both ends included."""
        dx, dy = abs(x1 - x0), -abs(y1 - y0)
        sx = 1 if x0 < x1 else -1
        sy = 1 if y0 < y1 else -1
        err = dx + dy
        while True:
            self.pixel(x0, y0, colour)
            if (x0, y0) == (x1, y1):
                return
            e2 = 2 * err
            if e2 >= dy:
                err += dy
                x0 += sx
            if e2 <= dx:
                err += dx
                y0 += sy

    def disc(self, cx, cy, radius, colour, shade=None):
        """Antialiased filled circle; (cx, cy) in pixel-edge coordinates, so a
        disc centred on pixel (5, 5) has cx = cy = 5.5.  shade(x, y) may return
        a colour per pixel instead of the flat colour."""
        steps = 4
        for y in range(int(cy - radius) - 1, int(cy + radius) + 2):
            for x in range(int(cx - radius) - 1, int(cx + radius) + 2):
                inside = 0
                for j in range(steps):
                    for i in range(steps):
                        px = x + (i + 0.5) / steps - cx
                        py = y + (j + 0.5) / steps - cy
                        if px * px + py * py <= radius * radius:
                            inside += 1
                if inside:
                    c = shade(x, y) if shade else colour
                    self.blend(x, y, c, inside / float(steps * steps))

    def glyph(self, x, y, rows, key):
        """Pixel art: one string per row, one character per pixel, looked up in
        key.  '.' and ' ' leave the pixel alone."""
        for j, row in enumerate(rows):
            for i, ch in enumerate(row):
                if ch in ". ":
                    continue
                self.pixel(x + i, y + j, key[ch])

    def paste(self, x, y, other):
        for j in range(other.height):
            for i in range(other.width):
                self.blend(x + i, y + j, other.get(i, j))


def art(rows, key, width, height, fill=CLEAR):
    """A canvas drawn from pixel-art strings, checking the size."""
    assert len(rows) == height, "expected %d rows, got %d" % (height, len(rows))
    for n, row in enumerate(rows):
        assert len(row) == width, "row %d is %d wide, expected %d: %r" % (n, len(row), width, row)
    canvas = Canvas(width, height, fill)
    canvas.glyph(0, 0, rows, key)
    return canvas


def lerp(c0, c1, t):
    t = max(0.0, min(1.0, t))
    return tuple(int(round(a + (b - a) * t)) for a, b in zip(c0, c1))


# --------------------------------------------------------------------------
# Program icon: a yellow desk calendar open at "1" and "2", alarm clock in front.
# --------------------------------------------------------------------------

OUTLINE = (92, 58, 8)
PAGE = (255, 216, 48)
PAGE_LIGHT = (255, 238, 150)
PAGE_SHADE = (222, 170, 20)
PAGE_EDGE = (240, 200, 90)
BINDING = (58, 60, 84)
BINDING_LIGHT = (104, 108, 140)
RING = (150, 154, 170)
INK = (40, 34, 30)
CLOCK = (214, 40, 36)
CLOCK_DARK = (120, 16, 14)
CLOCK_LIGHT = (250, 120, 100)
FACE = (255, 253, 244)
HAND = (24, 24, 28)

DIGIT_ONE = [
    "..XX..",
    ".XXX..",
    "XXXX..",
    "..XX..",
    "..XX..",
    "..XX..",
    "..XX..",
    "..XX..",
    "XXXXXX",
]
DIGIT_TWO = [
    ".XXXX.",
    "XX..XX",
    "....XX",
    "....XX",
    "...XX.",
    "..XX..",
    ".XX...",
    "XX....",
    "XXXXXX",
]


def draw_alarm_clock(c, cx, cy, r):
    """Alarm clock centred at pixel-edge point (cx, cy), body radius r."""
    # Bells first, so the body sits in front of them.
    for side in (-1, 1):
        bx, by = cx + side * r * 0.78, cy - r * 0.86
        c.disc(bx, by, r * 0.45 + 0.9, CLOCK_DARK)
        c.disc(bx, by, r * 0.45, CLOCK_LIGHT)
    c.disc(cx, cy - r - 0.6, 1.2, CLOCK_DARK)          # knob between the bells
    # Legs.
    x0, y0 = int(cx), int(cy)
    leg = int(round(r * 0.7))
    c.line(x0 - leg, y0 + leg, x0 - leg - 1, y0 + leg + 2, CLOCK_DARK)
    c.line(x0 + leg - 1, y0 + leg, x0 + leg, y0 + leg + 2, CLOCK_DARK)
    # Body: dark outline, red rim with a highlight, white face.
    c.disc(cx, cy, r + 0.9, CLOCK_DARK)
    c.disc(cx, cy, r, CLOCK,
           shade=lambda x, y: lerp(CLOCK_LIGHT, CLOCK, ((x - cx + 2) ** 2 + (y - cy + 2) ** 2) ** 0.5 / (r * 0.9)))
    c.disc(cx, cy, r - 1.4, FACE)
    # Hands at ten past ten, from the centre pixel.
    c.line(x0, y0, x0 - 2, y0 - 2, HAND)                # hour
    c.line(x0, y0, x0 + 3, y0 - 3, HAND)                # minute
    c.pixel(x0, y0, CLOCK_DARK)


def draw_calendar_32():
    c = Canvas(32, 32)
    left, right, top, bottom = 0, 27, 4, 23
    mid = (left + right) // 2            # fold between columns mid and mid+1
    # Stacked page edges under the open pages (the pad's thickness).
    c.rect(left + 1, bottom, right - 1, bottom + 2, fill=PAGE_EDGE, outline=OUTLINE)
    c.line(left + 2, bottom + 1, right - 2, bottom + 1, PAGE_SHADE)
    # The two pages.
    c.rect(left, top, mid, bottom, fill=PAGE, outline=OUTLINE)
    c.rect(mid + 1, top, right, bottom, fill=PAGE, outline=OUTLINE)
    c.line(left + 1, top + 1, left + 1, bottom - 1, PAGE_LIGHT)
    c.line(mid + 2, top + 1, mid + 2, bottom - 1, PAGE_LIGHT)
    c.line(mid - 1, top + 1, mid - 1, bottom - 1, PAGE_SHADE)
    c.line(right - 1, top + 1, right - 1, bottom - 1, PAGE_SHADE)
    c.line(left + 1, bottom - 1, right - 1, bottom - 1, PAGE_SHADE)
    # Binding along the top, with rings through it.
    c.rect(left, top - 2, right, top + 1, fill=BINDING, outline=OUTLINE)
    c.line(left + 1, top - 1, right - 1, top - 1, BINDING_LIGHT)
    for x in (3, 7, 10, 17, 20, 24):
        c.line(x, top - 4, x, top + 2, HAND)
        c.pixel(x, top - 3, RING)
        c.pixel(x, top - 4, (70, 70, 80))
    # Big digits.
    c.glyph(4, top + 4, DIGIT_ONE, {"X": INK})
    c.glyph(mid + 4, top + 4, DIGIT_TWO, {"X": INK})
    # Alarm clock in front, lower right.
    draw_alarm_clock(c, 24.5, 24.5, 5.6)
    return c


CALENDAR_16 = [
    ".r.r.r..r.r.r...",
    "bbbbbbbbbbbbbbb.",
    "oYYYYYYooYYYYYo.",
    "oYYYkYYooYkkkYo.",
    "oYYkkYYooYYYkYo.",
    "oYYYkYYooYkkkYo.",
    "oYYYkYYooYkYYYo.",
    "oYYkkkYooYkkkYo.",
    "oYYYYYYooYYYYYo.",
    "oYYYYYYooddRRRdd",
    "oYYYYYYoodRWWWRd",
    "oooooooooRWWkWWR",
    ".eeeeeee.RWWkkWR",
    ".........RWWWWWR",
    "..........RWWWR.",
    "...........RRR..",
]
CALENDAR_16_KEY = {
    "o": OUTLINE,
    "Y": PAGE,
    "e": PAGE_SHADE,
    "b": BINDING,
    "r": (70, 70, 80),
    "k": INK,
    "R": CLOCK,
    "d": CLOCK_DARK,
    "W": FACE,
}


def draw_calendar_16():
    return art(CALENDAR_16, CALENDAR_16_KEY, 16, 16)


# --------------------------------------------------------------------------
# Blink icon: a yellow disc on a dark square.
# --------------------------------------------------------------------------

ALARM_GROUND = (18, 22, 40)
ALARM_GROUND_EDGE = (44, 50, 78)
ALARM_YELLOW = (255, 200, 0)
ALARM_HIGHLIGHT = (255, 246, 180)
ALARM_RIM = (200, 130, 0)


def draw_alarm_16():
    c = Canvas(16, 16, ALARM_GROUND)
    c.rect(0, 0, 15, 15, outline=ALARM_GROUND_EDGE)
    c.disc(8.0, 8.0, 6.0, ALARM_RIM)
    hx, hy = 6.2, 6.0
    c.disc(8.0, 8.0, 5.1, ALARM_YELLOW,
           shade=lambda x, y: lerp(ALARM_HIGHLIGHT, ALARM_YELLOW,
                                   ((x + 0.5 - hx) ** 2 + (y + 0.5 - hy) ** 2) ** 0.5 / 4.0))
    return c


# --------------------------------------------------------------------------
# Toolbar: nine 16x15 images in the standard 16-colour palette, on light grey.
# --------------------------------------------------------------------------

VGA_PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BUTTON_FACE = VGA_PALETTE[7]

TB_KEY = {
    "K": VGA_PALETTE[0],    # black
    "r": VGA_PALETTE[1],    # dark red
    "e": VGA_PALETTE[2],    # dark green
    "o": VGA_PALETTE[3],    # olive
    "n": VGA_PALETTE[4],    # navy
    "p": VGA_PALETTE[5],    # purple
    "t": VGA_PALETTE[6],    # teal
    "G": VGA_PALETTE[7],    # light grey (same as the transparent ground)
    "g": VGA_PALETTE[8],    # dark grey
    "R": VGA_PALETTE[9],    # red
    "E": VGA_PALETTE[10],   # green
    "Y": VGA_PALETTE[11],   # yellow
    "B": VGA_PALETTE[12],   # blue
    "M": VGA_PALETTE[13],   # magenta
    "C": VGA_PALETTE[14],   # cyan
    "W": VGA_PALETTE[15],   # white
}

TB_NEW = [
    "................",
    "...KKKKKKK......",
    "...KWWWWWKK.....",
    "...KWWWWWKWK....",
    "...KWWWWWKWWK...",
    "...KWWWWWKKKKK..",
    "...KWWWWWWWWWK..",
    "...KWWWWWWWWWK..",
    "...KWWWWWWWWWK..",
    "...KWWWWWWWWWK..",
    "...KWWWWWWWWWK..",
    "...KWWWWWWWWWK..",
    "...KWWWWWWWWWK..",
    "...KKKKKKKKKKK..",
    "................",
]

TB_OPEN = [
    "................",
    "................",
    ".KKKK...........",
    "KooooK..........",
    "KoooooKKKKKKK...",
    "KoooooooooooK...",
    "KoooooooooooK...",
    "KoooKKKKKKKKKKKK",
    "KooKWWWWWWWWWWWK",
    "KooKYYYYYYYYYYK.",
    "KoKYYYYYYYYYYYK.",
    "KoKYYYYYYYYYYK..",
    "KKYYYYYYYYYYYK..",
    "KKKKKKKKKKKKK...",
    "................",
]

TB_SAVE = [
    "................",
    ".KKKKKKKKKKKKKK.",
    ".KnKWWWWWWWWKnK.",
    ".KnKWWWWWWWWKnK.",
    ".KnKWggggggWKnK.",
    ".KnKWWWWWWWWKnK.",
    ".KnKWggggggWKnK.",
    ".KnKWWWWWWWWKnK.",
    ".KnnKKKKKKKKnnK.",
    ".KnnnnnnnnnnnnK.",
    ".KnnKKKKKKKKnnK.",
    ".KnnKWWKKWWWKnK.",
    ".KnnKWWKKWWWKnK.",
    "..KKKKKKKKKKKKK.",
    "................",
]

TB_CUT = [
    "................",
    "....K.....K.....",
    "....K.....K.....",
    "....KK...KK.....",
    ".....K...K......",
    ".....KK.KK......",
    "......KKK.......",
    ".......K........",
    "......rKr.......",
    "...rrrr.rrrr....",
    "..r...r.r...r...",
    "..r...r.r...r...",
    "..r...r.r...r...",
    "...rrr...rrr....",
    "................",
]

TB_COPY = [
    "................",
    "KKKKKK..........",
    "KWWWWKK.........",
    "KWnnWKWK........",
    "KWWWWKKKK.......",
    "KWnnnnnWK.......",
    "KWWWWWKKKKKK....",
    "KWnnnnKWWWWKK...",
    "KWWWWWKWnnWKWK..",
    "KWnnnnKWWWWKKKK.",
    "KWWWWWKWnnnnnWK.",
    "KKKKKKKWWWWWWWK.",
    "......KWnnnnnWK.",
    "......KWWWWWWWK.",
    "......KKKKKKKKK.",
]

TB_PASTE = [
    "................",
    "....KKKKK.......",
    ".KKKKgWgKKKK....",
    "KooKgWWWgKooK...",
    "KoooKKKKKoooK...",
    "KoooooooooooK...",
    "KooooooKKKKKKK..",
    "KooooooKWWWWWKK.",
    "KooooooKWnnnWKWK",
    "KooooooKWWWWWKKK",
    "KooooooKWnnnnnWK",
    "KooooooKWWWWWWWK",
    "KooooooKWnnnnnWK",
    ".KKKKKKKWWWWWWWK",
    ".......KKKKKKKKK",
]

TB_PREVIEW = [
    "................",
    ".KKKKKKKK.......",
    ".KWWWWWWKK......",
    ".KWnnnnWKWK.....",
    ".KWWWWWWKKKK....",
    ".KWnnnnnnnWK....",
    ".KWWWWWKKKKK....",
    ".KWnnnKBEEBBK...",
    ".KWWWKBEEEBBBK..",
    ".KWnnKBBEEEBBEK.",
    ".KWWWKBBEEBBEEK.",
    ".KWnnKBBBEBBBBK.",
    ".KWWWKBBBBEBBBK.",
    ".KKKKKKBBBBBBK..",
    ".......KKKKKK...",
]

TB_OPTIONS_FOLDER = [
    "................",
    "................",
    "................",
    ".KKKK...........",
    "KWWWWK..........",
    "KWYYYWKKKKKKK...",
    "KWYYYYWWWWWWWK..",
    "KWYYYYYYYYYYoK..",
    "KWYYYYYYYYYYoK..",
    "KWYYYYYYYYYYoK..",
    "KWYYYYYYYYYYoK..",
    "KWYYYYYYYYYYoK..",
    "KWooooooooooooK.",
    "KKKKKKKKKKKKKKK.",
    "................",
]
TB_OPTIONS_WRENCH = [
    "..........KK.KK.",
    ".........KWK.KgK",
    ".........KWKKKgK",
    ".........KWggggK",
    "........KWgggKK.",
    ".......KWgKKK...",
    "......KWgK......",
    ".....KWgK.......",
    "....KWgK........",
    "...KWgK.........",
    "...KgK..........",
    "...KK...........",
    "................",
    "................",
    "................",
]

TB_ABOUT = [
    "................",
    ".....KKKKK......",
    "....KBBBBBK.....",
    "...KBBnnnBBK....",
    "...KBBK.KBBK....",
    "....KK..KBBK....",
    "........KBBK....",
    ".......KBBK.....",
    "......KBBK......",
    "......KBBK......",
    ".......KK.......",
    "......KKKK......",
    "......KBBK......",
    "......KBBK......",
    ".......KK.......",
]

TOOLBAR_IMAGES = [
    # name, then one or more layers of pixel art drawn in order
    ("new", TB_NEW),
    ("open", TB_OPEN),
    ("save", TB_SAVE),
    ("cut", TB_CUT),
    ("copy", TB_COPY),
    ("paste", TB_PASTE),
    ("preview", TB_PREVIEW),
    ("options", TB_OPTIONS_FOLDER, TB_OPTIONS_WRENCH),
    ("about", TB_ABOUT),
]
TB_W, TB_H = 16, 15


def draw_toolbar():
    strip = Canvas(TB_W * len(TOOLBAR_IMAGES), TB_H, BUTTON_FACE)
    for n, (name, *layers) in enumerate(TOOLBAR_IMAGES):
        for rows in layers:
            strip.paste(n * TB_W, 0, art(rows, TB_KEY, TB_W, TB_H))
    return strip


# --------------------------------------------------------------------------
# File formats.
# --------------------------------------------------------------------------

def bitmap_info_header(width, height, bit_count, size_image, colours_used=0):
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, bit_count, 0,
                       size_image, 0, 0, colours_used, 0)


def mask_row_bytes(width):
    return ((width + 31) // 32) * 4


def ico_image(canvas):
    """One icon image: BITMAPINFOHEADER (height doubled), bottom-up BGRA, AND mask.
    Fully transparent pixels get mask bit 1; everything else 0."""
    w, h = canvas.width, canvas.height
    xor = bytearray()
    mask = bytearray()
    for y in reversed(range(h)):
        row_mask = bytearray(mask_row_bytes(w))
        for x in range(w):
            r, g, b, a = canvas.get(x, y)
            if a == 0:
                r = g = b = 0
                row_mask[x // 8] |= 0x80 >> (x % 8)
            xor += struct.pack("<BBBB", b, g, r, a)
        mask += row_mask
    header = bitmap_info_header(w, h * 2, 32, len(xor) + len(mask))
    return header + bytes(xor) + bytes(mask)


def ico_bytes(canvases):
    images = [ico_image(c) for c in canvases]
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for canvas, data in zip(canvases, images):
        out += struct.pack("<BBBBHHII", canvas.width % 256, canvas.height % 256, 0, 0,
                           1, 32, len(data), offset)
        offset += len(data)
    for data in images:
        out += data
    return bytes(out)


def bmp4_bytes(canvas, palette):
    """16-colour BMP, bottom-up, rows padded to 4 bytes."""
    assert len(palette) == 16
    index = {colour: n for n, colour in enumerate(palette)}
    row_bytes = ((canvas.width * 4 + 31) // 32) * 4
    pixels = bytearray()
    for y in reversed(range(canvas.height)):
        row = bytearray(row_bytes)
        for x in range(canvas.width):
            colour = canvas.get(x, y)
            assert colour[3] == 255 and colour[:3] in index, \
                "pixel (%d,%d) = %r is not a palette colour" % (x, y, colour)
            n = index[colour[:3]]
            row[x // 2] |= n << 4 if x % 2 == 0 else n
        pixels += row
    colour_table = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    info = bitmap_info_header(canvas.width, canvas.height, 4, len(pixels), 16)
    offset = 14 + len(info) + len(colour_table)
    file_header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    return file_header + info + colour_table + bytes(pixels)


def png_bytes(canvas, scale=1, ground=None):
    """RGB PNG, scaled up by whole pixels.  Transparent parts are shown over
    ground, or over a checkerboard when ground is None."""
    w, h = canvas.width * scale, canvas.height * scale
    raw = bytearray()
    for y in range(h):
        raw.append(0)                      # filter: none
        for x in range(w):
            if ground is None:
                square = ((x // 4) + (y // 4)) % 2
                under = (204, 204, 204) if square else (240, 240, 240)
            else:
                under = ground
            r, g, b, a = canvas.get(x // scale, y // scale)
            raw += bytes(lerp(under, (r, g, b), a / 255.0))

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    ihdr = struct.pack(">IIBBBBB", w, h, 8, 2, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr)
            + chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b""))


# --------------------------------------------------------------------------
# Readers, for checking what was written.
# --------------------------------------------------------------------------

def read_ico(data):
    """Returns [(width, height, rows of (r, g, b, a))] from a 32-bit icon file."""
    reserved, kind, count = struct.unpack_from("<HHH", data, 0)
    assert reserved == 0 and kind == 1 and count > 0, "not an icon file"
    images = []
    for n in range(count):
        w, h, colours, res, planes, bits, size, offset = struct.unpack_from("<BBBBHHII", data, 6 + 16 * n)
        w, h = w or 256, h or 256
        assert (colours, res, planes, bits) == (0, 0, 1, 32)
        assert offset + size <= len(data)
        (hsize, bw, bh, bplanes, bbits, compression, size_image,
         _, _, _, _) = struct.unpack_from("<IiiHHIIiiII", data, offset)
        assert (hsize, bw, bh, bplanes, bbits, compression) == (40, w, 2 * h, 1, 32, 0)
        xor_size = w * h * 4
        mask_size = mask_row_bytes(w) * h
        assert size_image == xor_size + mask_size
        assert size == 40 + xor_size + mask_size
        base = offset + 40
        rows = [[None] * w for _ in range(h)]
        for row in range(h):
            y = h - 1 - row
            mask_row = data[base + xor_size + row * mask_row_bytes(w):]
            for x in range(w):
                b, g, r, a = struct.unpack_from("<BBBB", data, base + (row * w + x) * 4)
                masked = bool(mask_row[x // 8] & (0x80 >> (x % 8)))
                assert masked == (a == 0), "mask disagrees with alpha at (%d,%d)" % (x, y)
                rows[y][x] = (r, g, b, a)
        images.append((w, h, rows))
    return images


def read_bmp4(data):
    """Returns (width, height, palette, rows of palette indices) from a 4-bit BMP."""
    magic, file_size, _, _, offset = struct.unpack_from("<2sIHHI", data, 0)
    assert magic == b"BM" and file_size == len(data)
    (hsize, w, h, planes, bits, compression, size_image,
     _, _, colours_used, _) = struct.unpack_from("<IiiHHIIiiII", data, 14)
    assert (hsize, planes, bits, compression, colours_used) == (40, 1, 4, 0, 16)
    assert h > 0, "expected a bottom-up bitmap"
    row_bytes = ((w * 4 + 31) // 32) * 4
    assert size_image == row_bytes * h and offset + size_image == len(data)
    assert offset == 14 + 40 + 16 * 4
    palette = [struct.unpack_from("<BBBB", data, 54 + 4 * n)[2::-1] for n in range(16)]
    rows = []
    for y in range(h):
        start = offset + (h - 1 - y) * row_bytes
        rows.append([(data[start + x // 2] >> (4 if x % 2 == 0 else 0)) & 15 for x in range(w)])
    return w, h, palette, rows


def self_check(ico_sources, toolbar, toolbar_path):
    for path, canvases in ico_sources:
        with open(path, "rb") as f:
            images = read_ico(f.read())
        assert [(w, h) for w, h, _ in images] == [(c.width, c.height) for c in canvases], path
        for (w, h, rows), canvas in zip(images, canvases):
            expected = [[p if p[3] else CLEAR for p in row] for row in canvas.rows]
            assert rows == expected, "%s: %dx%d image differs" % (path, w, h)
            opaque = sum(1 for row in rows for p in row if p[3] == 255)
            assert opaque > w * h // 4, "%s: %dx%d image is mostly empty" % (path, w, h)
    with open(toolbar_path, "rb") as f:
        w, h, palette, rows = read_bmp4(f.read())
    assert (w, h) == (TB_W * len(TOOLBAR_IMAGES), TB_H)
    assert [tuple(p) for p in palette] == VGA_PALETTE
    assert all(VGA_PALETTE[rows[y][x]] == toolbar.get(x, y)[:3] for y in range(h) for x in range(w))
    for n, (name, *_) in enumerate(TOOLBAR_IMAGES):
        cell = [rows[y][x] for y in range(h) for x in range(n * TB_W, (n + 1) * TB_W)]
        assert any(i != 7 for i in cell), "toolbar image %s is blank" % name


# --------------------------------------------------------------------------

def write(path, data):
    with open(path, "wb") as f:
        f.write(data)
    print("wrote %s (%d bytes)" % (os.path.relpath(path), len(data)))


def main(argv):
    preview_dir = DEFAULT_PREVIEW_DIR
    if len(argv) == 2 and argv[0] == "--preview-dir":
        preview_dir = argv[1]
    elif argv:
        sys.exit("usage: draw_resources.py [--preview-dir DIR]")

    calendar = [draw_calendar_32(), draw_calendar_16()]
    alarm = [draw_alarm_16()]
    toolbar = draw_toolbar()

    calendar_path = os.path.join(RES_DIR, "OrvikCalendar.ico")
    alarm_path = os.path.join(RES_DIR, "Alarm.ico")
    toolbar_path = os.path.join(RES_DIR, "Toolbar.bmp")
    write(calendar_path, ico_bytes(calendar))
    write(alarm_path, ico_bytes(alarm))
    write(toolbar_path, bmp4_bytes(toolbar, VGA_PALETTE))
    self_check([(calendar_path, calendar), (alarm_path, alarm)], toolbar, toolbar_path)
    print("read back and checked")

    os.makedirs(preview_dir, exist_ok=True)
    previews = [
        ("calendar32.png", calendar[0], None),
        ("calendar16.png", calendar[1], None),
        ("alarm16.png", alarm[0], None),
        ("toolbar.png", toolbar, None),
    ]
    for name, canvas, ground in previews:
        with open(os.path.join(preview_dir, name), "wb") as f:
            f.write(png_bytes(canvas, 8, ground))
    # Everything at 2x on a window-grey ground, to judge it near real size.
    sheet = Canvas(160, 56, BUTTON_FACE)
    sheet.paste(4, 4, calendar[0])
    sheet.paste(44, 4, calendar[1])
    sheet.paste(68, 4, alarm[0])
    sheet.paste(8, 40, toolbar)
    with open(os.path.join(preview_dir, "sheet.png"), "wb") as f:
        f.write(png_bytes(sheet, 2, BUTTON_FACE))
    print("previews in %s" % preview_dir)


if __name__ == "__main__":
    main(sys.argv[1:])
