"""The notification-area blink icon: a yellow disc on a dark square."""

from canvas import Canvas, lerp


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
