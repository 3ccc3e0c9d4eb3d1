"""The toolbar's images above 16 pixels, drawn for each size in the look of
the 16-pixel ones: the 16 colours, one-pixel black outlines, hard edges.

Shapes are measured on the 16-pixel grid and scaled by g = size / 16; a
pixel belongs to a shape when its centre does, and the shape's own border
pixels take the outline colour, so outlines stay one pixel wide."""

from canvas import Canvas, art, in_capsule, in_disc, in_ellipse, in_polygon
from toolbar import TB_H, TB_KEY, TB_W, TOOLBAR_IMAGES

BLACK = TB_KEY["K"]
WHITE = TB_KEY["W"]
NAVY = TB_KEY["n"]
OLIVE = TB_KEY["o"]
YELLOW = TB_KEY["Y"]
GREY = TB_KEY["G"]
DARK_GREY = TB_KEY["g"]
DARK_RED = TB_KEY["r"]
BLUE = TB_KEY["B"]
GREEN = TB_KEY["E"]


def solid(c, inside, fill, outline=BLACK):
    """Paints the pixels whose centres are inside: the shape's border (any
    pixel with an outside neighbour above, below, left or right) in outline,
    the rest in fill."""
    size = c.width
    mask = [[inside(x + 0.5, y + 0.5) for x in range(size)] for y in range(size)]

    def covered(x, y):
        return 0 <= x < size and 0 <= y < size and mask[y][x]

    for y in range(size):
        for x in range(size):
            if mask[y][x]:
                border = not (covered(x - 1, y) and covered(x + 1, y) and covered(x, y - 1) and covered(x, y + 1))
                c.pixel(x, y, outline if border else fill)


def union(*shapes):
    return lambda x, y: any(shape(x, y) for shape in shapes)


def minus(shape, hole):
    return lambda x, y: shape(x, y) and not hole(x, y)


def in_box(x0, y0, x1, y1):
    return lambda x, y: x0 <= x < x1 and y0 <= y < y1


class Grid:
    """Scales 16-pixel-grid measures to the image's pixels."""

    def __init__(self, size):
        self.size = size
        self.g = size / 16.0

    def __call__(self, v):
        """A whole-pixel edge."""
        return int(round(v * self.g))

    def f(self, v):
        """An exact position, for centres and slopes."""
        return v * self.g


def text_lines(c, x0, x1, y0, y1, colour, step=2):
    """Lines of text, every step rows, each a little shorter than the last
    few, so they read as text rather than as stripes."""
    for n, y in enumerate(range(y0, y1, step)):
        end = x1 - (n % 3) * max(1, (x1 - x0) // 5)
        c.line(x0, y, end - 1, y, colour)


def page(c, x0, y0, x1, y1, ear):
    """A sheet with a folded top right corner; pixel-edge box."""
    solid(c, in_polygon([(x0, y0), (x1 - ear, y0), (x1, y0 + ear), (x1, y1), (x0, y1)]), WHITE)
    c.line(x1 - ear - 1, y0, x1 - ear - 1, y0 + ear, BLACK)
    c.line(x1 - ear - 1, y0 + ear, x1 - 1, y0 + ear, BLACK)


def written_page(c, x0, y0, x1, y1, ear):
    page(c, x0, y0, x1, y1, ear)
    text_lines(c, x0 + 2, x1 - 2, y0 + ear + 2, y1 - 1, NAVY)
    text_lines(c, x0 + 2, x1 - ear - 2, y0 + 2, y0 + ear, NAVY)


def folder(p, tab_top, top, right):
    """A folder's outline: a tab with cut corners at the left, then the body."""
    tab = p(6)
    return in_polygon([(0, tab_top + 1.5), (1.5, tab_top), (tab - 1.5, tab_top), (tab, tab_top + 1.5), (tab, top),
                       (right, top), (right, p(14)), (0, p(14))])


def draw_new(c, p):
    page(c, p(3), p(1), p(14), p(15), p(4))


def draw_open(c, p):
    solid(c, folder(p, p(2), p(4), p(13)), OLIVE)
    flap = in_polygon([(p(4), p(7)), (p.size, p(7)), (p(13), p(14)), (0, p(14)), (0, p(12))])
    solid(c, flap, YELLOW)
    top = p(7) + 1
    for x in range(p.size):
        if flap(x + 0.5, top + 0.5) and flap(x + 1.5, top + 0.5):
            c.pixel(x, top, WHITE)


def draw_save(c, p):
    x0, y0, x1, y1 = p(1), p(1), p(15), p(14)
    notch = max(1, p(1))
    solid(c, in_polygon([(x0, y0), (x1, y0), (x1, y1), (x0 + notch, y1), (x0, y1 - notch)]), NAVY)
    lx0, lx1, ly1 = x0 + p(2), x1 - p(2), p(9)
    solid(c, in_box(lx0, y0, lx1, ly1), WHITE)
    text_lines(c, lx0 + 2, lx1 - 2, y0 + 3, ly1 - 2, DARK_GREY)
    sx0, sx1, sy0 = p(4), p(13), p(10)
    solid(c, in_box(sx0, sy0, sx1, y1), WHITE)
    slot = max(1, p(2))
    mid = (sx0 + sx1) // 2
    c.box(mid - slot // 2, sy0 + 1, mid - slot // 2 + slot, y1 - 1, BLACK)


def draw_cut(c, p):
    """Each blade runs through the pivot into the handle on the other side."""
    pivot_y = p.f(7)
    # Rings of an even diameter round a pixel corner come out round.
    radius, thick = p(5) / 2.0, max(1, p(1))
    blades = []
    for top_x, ring_x in ((4.5, 11.5), (11.5, 4.5)):
        x0, y0 = p.f(top_x), p.f(1)
        rx, ry = p(ring_x), p(15) - radius
        # The arm ends where the ring begins, on the line towards the top.
        dx, dy = x0 - rx, y0 - ry
        length = (dx * dx + dy * dy) ** 0.5
        ax, ay = rx + dx / length * (radius - thick / 2), ry + dy / length * (radius - thick / 2)
        px = x0 + (ax - x0) * (pivot_y - y0) / (ay - y0)
        solid(c, in_capsule(px, pivot_y, ax, ay, thick / 2), DARK_RED, DARK_RED)
        solid(c, minus(in_disc(rx, ry, radius), in_disc(rx, ry, radius - thick)), DARK_RED, DARK_RED)
        blades.append((x0, y0, px + (ax - px) * 0.2, pivot_y + (ay - pivot_y) * 0.2))
    for x0, y0, x1, y1 in blades:
        solid(c, in_capsule(x0, y0, x1, y1, max(0.6, p.f(0.9))), GREY)


def draw_copy(c, p):
    written_page(c, 0, p(1), p(9), p(12), p(3))
    written_page(c, p(6), p(6), p(15), p(15), p(3))


def draw_paste(c, p):
    solid(c, in_box(0, p(2), p(13), p(14)), OLIVE)
    solid(c, in_polygon([(p(4), p(1)), (p(9), p(1)), (p(10), p(4)), (p(10), p(5)), (p(3), p(5)), (p(3), p(4))]),
          DARK_GREY)
    c.box(p(5), p(1) + 1, p(8), p(1) + 1 + max(1, p(1.5)), WHITE)      # the clip's hole
    written_page(c, p(7), p(6), p(16), p(15), p(3))


def draw_preview(c, p):
    written_page(c, p(1), p(1), p(12), p(14), p(3))
    cx, cy, r = p.f(10.5), p.f(11), p.f(4.3)
    land = union(in_ellipse(cx - 0.2 * r, cy - 0.3 * r, 0.3 * r, 0.6 * r),
                 in_ellipse(cx + 0.45 * r, cy + 0.35 * r, 0.3 * r, 0.4 * r))
    solid(c, in_disc(cx, cy, r), BLUE)
    for y in range(c.height):
        for x in range(c.width):
            if c.get(x, y)[:3] == BLUE and land(x + 0.5, y + 0.5):
                c.pixel(x, y, GREEN)


def draw_options(c, p):
    solid(c, folder(p, p(3), p(4), p(15)), YELLOW)
    # A lit top and left edge, a shaded bottom and right one.
    light, shade = [], []
    for y in range(c.height):
        for x in range(c.width):
            if c.get(x, y)[:3] != YELLOW:
                continue
            if c.get(x - 1, y)[:3] == BLACK or c.get(x, y - 1)[:3] == BLACK:
                light.append((x, y))
            elif c.get(x + 1, y)[:3] == BLACK or c.get(x, y + 1)[:3] == BLACK:
                shade.append((x, y))
    for x, y in light:
        c.pixel(x, y, WHITE)
    for x, y in shade:
        c.pixel(x, y, OLIVE)
    head = (p.f(12.5), p.f(3))
    handle = in_capsule(p.f(4), p.f(11.5), head[0], head[1], max(1.0, p.f(1.3)))
    jaw = in_disc(head[0], head[1], p.f(3))
    slot = in_box(head[0] - p.f(1.1), 0, head[0] + p.f(1.1), head[1] + p.f(0.2))
    solid(c, minus(union(handle, jaw), slot), DARK_GREY)


def draw_about(c, p):
    """A question mark: a hook, a neck down to the stem, the dot."""
    cx, cy, outer = p.f(8), p.f(5.5), p.f(4.5)
    width = int(round(p.f(2.8)))            # of every stroke, outline included
    inner = outer - width
    left = int(round(cx - width / 2.0))
    slope = 1.2                             # the hook ends 50 degrees below the right

    def hook(x, y):
        d2 = (x - cx) ** 2 + (y - cy) ** 2
        in_ring = inner * inner <= d2 <= outer * outer
        return in_ring and (y < cy or (x > cx and y - cy < slope * (x - cx)))

    end = 0.64                              # cos of 50 degrees; 0.77 its sine
    neck = in_polygon([(cx + inner * end, cy + inner * 0.77), (cx + outer * end, cy + outer * 0.77),
                       (left + width, p.f(9.5)), (left, p.f(9.5))])
    half = width / 2.0
    tip = in_disc(cx - (inner + outer) / 2.0, cy, half)
    middle = left + half
    stem = in_capsule(middle, p.f(9), middle, p(11) - half, half)
    dot = in_disc(middle, p(12) + half, half + 0.3)
    solid(c, union(hook, tip, neck, stem, dot), BLUE)


# In the order of the 16-pixel strip, which the toolbar's buttons follow.
DRAWINGS = [("new", draw_new), ("open", draw_open), ("save", draw_save), ("cut", draw_cut),
            ("copy", draw_copy), ("paste", draw_paste), ("preview", draw_preview),
            ("options", draw_options), ("about", draw_about)]
TOOLBAR_SIZES = [16, 20, 24, 32]


def toolbar_strip(size):
    """Nine square images side by side on a clear ground.  The 16-pixel ones
    are the 16x15 art with a clear row below it."""
    strip = Canvas(size * len(DRAWINGS), size)
    for n, (name, drawing) in enumerate(DRAWINGS):
        if size == TB_W:
            for rows in TOOLBAR_IMAGES[n][1:]:
                strip.paste(n * size, 0, art(rows, TB_KEY, TB_W, TB_H))
        else:
            image = Canvas(size, size)
            drawing(image, Grid(size))
            strip.paste(n * size, 0, image)
    return strip
