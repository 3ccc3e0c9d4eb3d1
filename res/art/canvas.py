"""A pixel canvas with the few drawing operations the images need.

Colours are (r, g, b) or (r, g, b, a) tuples with straight alpha."""

CLEAR = (0, 0, 0, 0)


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

    def box(self, x0, y0, x1, y1, colour):
        """Filled rectangle in pixel-edge coordinates: x1 and y1 excluded."""
        for y in range(y0, y1):
            for x in range(x0, x1):
                self.blend(x, y, colour)

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

    def shape(self, inside, box, colour, shade=None):
        """Antialiased shape: inside(x, y) tells whether a point in pixel-edge
        coordinates lies in it; box = (x0, y0, x1, y1) holds the pixels to
        sample, ends excluded.  shade(x, y) may return a colour per pixel
        instead of the flat colour."""
        steps = 4
        x0, y0, x1, y1 = box
        for y in range(y0, y1):
            for x in range(x0, x1):
                hits = 0
                for j in range(steps):
                    for i in range(steps):
                        if inside(x + (i + 0.5) / steps, y + (j + 0.5) / steps):
                            hits += 1
                if hits:
                    c = shade(x, y) if shade else colour
                    self.blend(x, y, c, hits / float(steps * steps))

    def disc(self, cx, cy, radius, colour, shade=None):
        """Antialiased filled circle; (cx, cy) in pixel-edge coordinates, so a
        disc centred on pixel (5, 5) has cx = cy = 5.5."""
        self.shape(in_disc(cx, cy, radius), disc_box(cx, cy, radius), colour, shade)

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


def in_disc(cx, cy, radius):
    def inside(x, y):
        dx, dy = x - cx, y - cy
        return dx * dx + dy * dy <= radius * radius
    return inside


def disc_box(cx, cy, radius):
    return (int(cx - radius) - 1, int(cy - radius) - 1, int(cx + radius) + 2, int(cy + radius) + 2)


def in_ellipse(cx, cy, rx, ry):
    def inside(x, y):
        dx, dy = (x - cx) / rx, (y - cy) / ry
        return dx * dx + dy * dy <= 1.0
    return inside


def in_capsule(ax, ay, bx, by, radius):
    """A thick line from a to b with round ends."""
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy

    def inside(x, y):
        t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / length2))
        ex, ey = x - ax - t * dx, y - ay - t * dy
        return ex * ex + ey * ey <= radius * radius
    return inside


def in_polygon(points):
    """Even-odd rule over the corners in order."""
    edges = list(zip(points, points[1:] + points[:1]))

    def inside(x, y):
        crossed = False
        for (x0, y0), (x1, y1) in edges:
            if (y0 > y) != (y1 > y) and x < x0 + (y - y0) * (x1 - x0) / (y1 - y0):
                crossed = not crossed
        return crossed
    return inside


def bounds(points, margin=0):
    """The pixel box around points (pixel-edge coordinates), grown by margin."""
    xs = [p[0] for p in points]
    ys = [p[1] for p in points]
    return (int(min(xs) - margin) - 1, int(min(ys) - margin) - 1,
            int(max(xs) + margin) + 2, int(max(ys) + margin) + 2)


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
