"""The notification-area blink icon: a yellow disc on a dark square."""

from canvas import Canvas, lerp


ALARM_GROUND = (18, 22, 40)
ALARM_GROUND_EDGE = (44, 50, 78)
ALARM_YELLOW = (255, 200, 0)
ALARM_HIGHLIGHT = (255, 246, 180)
ALARM_RIM = (200, 130, 0)

# Size, width of the square's edge and of the disc's rim, in pixels.
ALARM_SIZES = [(32, 2, 1.6), (24, 1, 1.2), (20, 1, 1.0), (16, 1, 0.9)]


def draw_alarm(size, edge, rim):
    k = size / 16.0
    c = Canvas(size, size, ALARM_GROUND_EDGE)
    c.box(edge, edge, size - edge, size - edge, ALARM_GROUND)
    centre, radius = size / 2.0, 6.0 * k
    c.disc(centre, centre, radius, ALARM_RIM)
    hx, hy = centre - 1.8 * k, centre - 2.0 * k
    c.disc(centre, centre, radius - rim, ALARM_YELLOW,
           shade=lambda x, y: lerp(ALARM_HIGHLIGHT, ALARM_YELLOW,
                                   ((x + 0.5 - hx) ** 2 + (y + 0.5 - hy) ** 2) ** 0.5 / (4.0 * k)))
    return c


def alarm_images():
    """Every size, largest first."""
    return [draw_alarm(size, edge, rim) for size, edge, rim in ALARM_SIZES]
