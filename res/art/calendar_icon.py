"""The program icon: a yellow desk calendar open at "1" and "2", alarm clock in front."""

from calendar_art import (
    BINDING, BINDING_LIGHT, CALENDAR_16, CALENDAR_20, CALENDAR_24, CLOCK, CLOCK_20, CLOCK_24,
    CLOCK_DARK, CLOCK_LIGHT, DIGIT_ONE, DIGIT_ONE_20, DIGIT_ONE_24, DIGIT_ONE_40, DIGIT_ONE_48,
    DIGIT_TWO, DIGIT_TWO_20, DIGIT_TWO_24, DIGIT_TWO_40, DIGIT_TWO_48, FACE, HAND, INK, KEY,
    OUTLINE, PAGE, PAGE_EDGE, PAGE_LIGHT, PAGE_SHADE, RING, RING_TOP)
from canvas import Canvas, art, bounds, in_capsule, in_ellipse, in_polygon, lerp


def draw_alarm_clock(c, cx, cy, r, line=1, u=1.0):
    """Alarm clock centred at pixel-edge point (cx, cy), body radius r.  line
    is the outline's width and u the size of one pixel of the 32x32 icon.
    Below u = 2 legs and hands are steps of whole pixels, as antialiased
    strokes that thin would only blur."""
    rim = 0.9 * line
    # Bells first, so the body sits in front of them.
    for side in (-1, 1):
        bx, by = cx + side * r * 0.78, cy - r * 0.86
        c.disc(bx, by, r * 0.45 + rim, CLOCK_DARK)
        c.disc(bx, by, r * 0.45, CLOCK_LIGHT)
    c.disc(cx, cy - r - 0.6 * u, 1.2 * u, CLOCK_DARK)          # knob between the bells
    x0, y0 = int(cx), int(cy)
    whole_pixels = u < 2
    if whole_pixels:
        leg = int(round(r * 0.7))
        thick_line(c, x0 - leg, y0 + leg, x0 - leg - 1, y0 + leg + 2, CLOCK_DARK, line)
        thick_line(c, x0 + leg - 1, y0 + leg, x0 + leg, y0 + leg + 2, CLOCK_DARK, line)
    else:
        for side in (-1, 1):
            ax, ay = cx + side * 0.7 * r, cy + 0.7 * r
            stroke(c, ax, ay, ax + side * u, ay + 2 * u, 0.6 * u, CLOCK_DARK)
    # Body: dark outline, red rim with a highlight, white face.
    c.disc(cx, cy, r + rim, CLOCK_DARK)
    c.disc(cx, cy, r, CLOCK,
           shade=lambda x, y: lerp(CLOCK_LIGHT, CLOCK, ((x - cx + 2 * u) ** 2 + (y - cy + 2 * u) ** 2) ** 0.5 / (r * 0.9)))
    face = r - 1.4 * u
    c.disc(cx, cy, face, FACE)
    # Hands at ten past ten.
    hour, minute = int(2 * u), int(3 * u)
    if whole_pixels:
        # One pixel wide at any size: doubled, the two hands read as a smile.
        c.line(x0, y0, x0 - hour, y0 - hour, HAND)
        c.line(x0, y0, x0 + minute, y0 - minute, HAND)
        c.pixel(x0, y0, CLOCK_DARK)
    else:
        for dx, dy in ((0, -1), (1, 0), (0, 1), (-1, 0)):      # marks at 12, 3, 6 and 9
            stroke(c, cx + dx * (face - 0.9 * u), cy + dy * (face - 0.9 * u),
                   cx + dx * (face - 0.5 * u), cy + dy * (face - 0.5 * u), 0.35 * u, RING)
        stroke(c, cx, cy, cx - 2 * u, cy - 2 * u, 0.55 * u, HAND)
        stroke(c, cx, cy, cx + 3 * u, cy - 3 * u, 0.45 * u, HAND)
        c.disc(cx, cy, 0.6 * u, CLOCK_DARK)


def thick_line(c, x0, y0, x1, y1, colour, width):
    """A pixel line made width pixels wide by repeating it to the right."""
    for k in range(width):
        c.line(x0 + k, y0, x1 + k, y1, colour)


def stroke(c, x0, y0, x1, y1, radius, colour):
    """An antialiased line with round ends."""
    c.shape(in_capsule(x0, y0, x1, y1, radius), bounds([(x0, y0), (x1, y1)], radius), colour)


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
        c.pixel(x, top - 4, RING_TOP)
    # Big digits.
    c.glyph(4, top + 4, DIGIT_ONE, KEY)
    c.glyph(mid + 4, top + 4, DIGIT_TWO, KEY)
    # Alarm clock in front, lower right.
    draw_alarm_clock(c, 24.5, 24.5, 5.6)
    return c


def draw_calendar_16():
    return art(CALENDAR_16, KEY, 16, 16)


def draw_calendar_small(calendar, layers):
    """Pixel art: the calendar, then each layer (rows, left, top) over it."""
    size = len(calendar)
    c = art(calendar, KEY, size, size)
    for rows, x, y in layers:
        c.glyph(x, y, rows, KEY)
    return c


# --------------------------------------------------------------------------
# Larger sizes keep the 32's proportions, measured in units of 1/32 of the
# icon, with edges on whole pixels and stroke widths chosen per size.
# --------------------------------------------------------------------------

def outlined(c, x0, y0, x1, y1, fill, line):
    c.box(x0, y0, x1, y1, OUTLINE)
    c.box(x0 + line, y0 + line, x1 - line, y1 - line, fill)


def digit_one(w, h, stem, bar):
    """A bold "1" in a w x h pixel box with upright strokes stem pixels wide
    and level ones bar pixels high, as a point test relative to the box."""
    x = (w - stem) // 2
    flag = in_polygon([(x, 0), (0, 0.24 * h), (0, 0.24 * h + 0.9 * stem), (x, 0.9 * stem)])

    def inside(px, py):
        return (x <= px <= x + stem and 0 <= py <= h) or flag(px, py) or (h - bar <= py <= h and 0 <= px <= w)
    return inside


def digit_two(w, h, stem, bar):
    top = 0.34 * h                      # where the bowl turns into the neck
    outer = in_ellipse(w / 2.0, top, w / 2.0, top)
    inner = in_ellipse(w / 2.0, top + 0.3 * bar, w / 2.0 - stem, top - 0.7 * bar)
    neck = in_polygon([(w - stem, top), (w, top), (w, top + 0.5 * stem),
                       (1.15 * stem, h - bar), (0, h - bar), (0, h - bar - 0.6 * stem)])

    def inside(px, py):
        bowl = py <= top and not (px < w / 2.0 and py > 0.24 * h) and outer(px, py) and not inner(px, py)
        return bowl or neck(px, py) or (h - bar <= py <= h and 0 <= px <= w)
    return inside


def drawn_digits(w, h, stem, bar):
    """Draws "1" and "2" centred in the two page spans at the given top."""
    def draw(c, spans, top):
        for digit, (x0, x1) in zip((digit_one, digit_two), spans):
            inside = digit(w, h, stem, bar)
            left = (x0 + x1 - w) // 2
            c.shape(lambda x, y: inside(x - left, y - top), (left - 1, top - 1, left + w + 1, top + h + 1), INK)
    return draw


def pixel_digits(one, two):
    def draw(c, spans, top):
        for rows, (x0, x1) in zip((one, two), spans):
            c.glyph((x0 + x1 - len(rows[0])) // 2, top, rows, KEY)
    return draw


# Size, outline width and digits.  Below 64 pixels the digits are pixel art,
# as antialiased curves that small only blur.
CALENDAR_SIZES = [
    (256, 6, drawn_digits(48, 72, 16, 10)),
    (64, 2, drawn_digits(12, 18, 4, 2)),
    (48, 2, pixel_digits(DIGIT_ONE_48, DIGIT_TWO_48)),
    (40, 1, pixel_digits(DIGIT_ONE_40, DIGIT_TWO_40)),
]


def draw_calendar_large(size, line, draw_digits):
    u = size / 32.0

    def at(v):
        return int(round(v * u))

    c = Canvas(size, size)
    left, top, bottom, fold = at(0), at(4), at(24), at(14)
    right = 2 * fold                    # two pages of one width
    # The pad's thickness under the open pages.
    outlined(c, left + at(1), bottom - line, right - at(1), bottom + at(2), PAGE_SHADE, line)
    for x0, x1 in ((left, fold), (fold, right)):
        outlined(c, x0, top, x1, bottom, PAGE, line)
        c.box(x0 + line, top, x0 + 2 * line, bottom - line, PAGE_LIGHT)
        c.box(x1 - 2 * line, top, x1 - line, bottom - line, PAGE_SHADE)
        c.box(x0 + line, bottom - 2 * line, x1 - line, bottom - line, PAGE_SHADE)
    outlined(c, left, at(2), right, at(6), BINDING, line)
    c.box(left + line, at(2) + line, right - line, at(2) + 2 * line, BINDING_LIGHT)
    ring = max(1, at(1))
    for x in (3, 7, 10, 17, 20, 24):
        x0 = at(x + 0.5) - ring // 2
        c.box(x0, at(0.5), x0 + ring, at(7), HAND)
        c.box(x0, at(0.5), x0 + ring, at(0.5) + ring, RING_TOP)
        c.box(x0, at(1.5), x0 + max(1, ring // 3), at(2.5), RING)
    draw_digits(c, [(left, fold), (fold, right)], at(8))
    centre = 24.5 * u if u >= 2 else int(24.5 * u) + 0.5      # whole-pixel hands pivot on a pixel
    draw_alarm_clock(c, centre, centre, 5.6 * u, line, u)
    return c


def calendar_images():
    """Every size, largest first."""
    small = [
        (CALENDAR_24, [(DIGIT_ONE_24, 3, 6), (DIGIT_TWO_24, 14, 6), (CLOCK_24, 13, 13)]),
        (CALENDAR_20, [(DIGIT_ONE_20, 2, 5), (DIGIT_TWO_20, 11, 5), (CLOCK_20, 11, 11)]),
    ]
    return ([draw_calendar_large(size, line, digits) for size, line, digits in CALENDAR_SIZES]
            + [draw_calendar_32()]
            + [draw_calendar_small(calendar, layers) for calendar, layers in small]
            + [draw_calendar_16()])
