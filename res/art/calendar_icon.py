"""The program icon: a yellow desk calendar open at "1" and "2", alarm clock in front."""

from canvas import Canvas, art, lerp


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
