#!/usr/bin/env python3
"""Draws OrvikCalendar's icons and toolbar bitmaps.

Run from the repository root:

    python3 res/art/draw_resources.py [--preview-dir DIR]

It rewrites these files (the outputs are committed; this script is the source):

    res/OrvikCalendar.ico   program icon, 256 (PNG), 64, 48, 40, 32, 24, 20 and 16
                            pixels (32-bit BGRA + AND mask)
    res/Alarm.ico           notification-area blink icon, 32, 24, 20 and 16 pixels,
                            32-bit BGRA + AND mask
    res/Toolbar.bmp         144x15 toolbar strip, nine 16x15 images, 4 bits per pixel
    res/Toolbar16.bmp       toolbar strips for 100, 125, 150 and 200 %: nine square
    res/Toolbar20.bmp       images of 16, 20, 24 and 32 pixels side by side, 32-bit
    res/Toolbar24.bmp       BGRA (BITMAPINFOHEADER, BI_RGB) with alpha 0 or 255 only;
    res/Toolbar32.bmp       the 16 is Toolbar.bmp's art on a clear ground

and writes PNG previews, enlarged, to /tmp/art-preview/ (or DIR) for looking at.
After writing, it reads every file back and checks it against what was drawn.

Standard library only: the ICO, BMP and PNG formats are written by hand.
The drawings and the file formats live in the modules beside this script.
"""

import os
import sys

from alarm_icon import alarm_images
from calendar_icon import calendar_images
from canvas import CLEAR, Canvas
from formats import bmp4_bytes, bmp32_bytes, ico_bytes, png_preview, read_bmp4, read_bmp32, read_ico
from toolbar import BUTTON_FACE, TB_H, TB_W, TOOLBAR_IMAGES, VGA_PALETTE, draw_toolbar
from toolbar_icons import DRAWINGS, TOOLBAR_SIZES, toolbar_strip

HERE = os.path.dirname(os.path.abspath(__file__))
RES_DIR = os.path.dirname(HERE)
DEFAULT_PREVIEW_DIR = "/tmp/art-preview"


# The sizes Windows asks for at 100, 125, 150 and 200 %: the program icon
# as the small and the large icon and beyond (Alt+Tab, Explorer's views),
# the blink icon at the small-icon sizes of the notification area.
CALENDAR_ICON_SIZES = [256, 64, 48, 40, 32, 24, 20, 16]
ALARM_ICON_SIZES = [32, 24, 20, 16]


def check_icon(path, canvases, sizes):
    with open(path, "rb") as f:
        images = read_ico(f.read())
    assert [(w, h) for w, h, _, _ in images] == [(s, s) for s in sizes], path
    # Windows XP reads no PNG; only the 256, which it never asks for, may be one.
    assert [w for w, _, _, is_png in images if is_png] == [s for s in sizes if s == 256], path
    for (w, h, rows, _), canvas in zip(images, canvases):
        expected = [[p if p[3] else CLEAR for p in row] for row in canvas.rows]
        assert rows == expected, "%s: %dx%d image differs" % (path, w, h)
        opaque = sum(1 for row in rows for p in row if p[3] == 255)
        assert opaque > w * h // 4, "%s: %dx%d image is mostly empty" % (path, w, h)


def check_legacy_toolbar(toolbar, toolbar_path):
    """Returns the strip's colours as read back."""
    with open(toolbar_path, "rb") as f:
        w, h, palette, rows = read_bmp4(f.read())
    assert (w, h) == (TB_W * len(TOOLBAR_IMAGES), TB_H)
    assert [tuple(p) for p in palette] == VGA_PALETTE
    assert all(VGA_PALETTE[rows[y][x]] == toolbar.get(x, y)[:3] for y in range(h) for x in range(w))
    for n, (name, *_) in enumerate(TOOLBAR_IMAGES):
        cell = [rows[y][x] for y in range(h) for x in range(n * TB_W, (n + 1) * TB_W)]
        assert any(i != 7 for i in cell), "toolbar image %s is blank" % name
    return [[VGA_PALETTE[i] for i in row] for row in rows]


def check_toolbar(path, strip, size, legacy):
    assert [name for name, _ in DRAWINGS] == [name for name, *_ in TOOLBAR_IMAGES], "image order"
    with open(path, "rb") as f:
        w, h, rows = read_bmp32(f.read())
    assert (w, h) == (size * len(DRAWINGS), size), path
    assert rows == [[p if p[3] else CLEAR for p in row] for row in strip.rows], path
    # Opaque or clear only: the bits then mean the same to a loader that
    # takes them as straight alpha and to one that takes them premultiplied.
    assert all(p[3] in (0, 255) for row in rows for p in row), "%s has partial alpha" % path
    for n, (name, _) in enumerate(DRAWINGS):
        opaque = sum(1 for row in rows for p in row[n * size:(n + 1) * size] if p[3])
        assert opaque > size * size // 8, "%s: image %s is nearly empty" % (path, name)
    if size == TB_W:
        clear_ground = [[CLEAR if colour == BUTTON_FACE else colour + (255,) for colour in row] for row in legacy]
        assert rows == clear_ground + [[CLEAR] * w], "%s differs from the 16x15 strip" % path


# --------------------------------------------------------------------------

def write(path, data):
    with open(path, "wb") as f:
        f.write(data)
    print("wrote %s (%d bytes)" % (os.path.relpath(path), len(data)))


def write_previews(preview_dir, calendar, alarm, toolbar, strips):
    os.makedirs(preview_dir, exist_ok=True)
    previews = ([("calendar%d.png" % c.width, c, 512) for c in calendar]
                + [("alarm%d.png" % c.width, c, 512) for c in alarm]
                + [("toolbar.png", toolbar, 1200)]
                + [("toolbar%d.png" % c.height, c, 1200) for c in strips])
    for name, canvas, width in previews:
        with open(os.path.join(preview_dir, name), "wb") as f:
            f.write(png_preview(canvas, min(8, width // canvas.width)))
    # Everything but the 256 at 2x on a window-grey ground, to judge it near
    # real size.
    sheet = Canvas(300, 250, BUTTON_FACE)
    x = 4
    for c in reversed(calendar[1:]):
        sheet.paste(x, 4, c)
        x += c.width + 6
    x = 4
    for c in reversed(alarm):
        sheet.paste(x, 72, c)
        x += c.width + 6
    y = 110
    for c in [toolbar] + strips:
        sheet.paste(4, y, c)
        y += c.height + 6
    with open(os.path.join(preview_dir, "sheet.png"), "wb") as f:
        f.write(png_preview(sheet, 2, BUTTON_FACE))


def main(argv):
    preview_dir = DEFAULT_PREVIEW_DIR
    if len(argv) == 2 and argv[0] == "--preview-dir":
        preview_dir = argv[1]
    elif argv:
        sys.exit("usage: draw_resources.py [--preview-dir DIR]")

    calendar = calendar_images()
    alarm = alarm_images()
    toolbar = draw_toolbar()
    strips = [toolbar_strip(size) for size in TOOLBAR_SIZES]

    calendar_path = os.path.join(RES_DIR, "OrvikCalendar.ico")
    alarm_path = os.path.join(RES_DIR, "Alarm.ico")
    toolbar_path = os.path.join(RES_DIR, "Toolbar.bmp")
    write(calendar_path, ico_bytes(calendar))
    write(alarm_path, ico_bytes(alarm))
    write(toolbar_path, bmp4_bytes(toolbar, VGA_PALETTE))
    strip_paths = [os.path.join(RES_DIR, "Toolbar%d.bmp" % size) for size in TOOLBAR_SIZES]
    for path, strip in zip(strip_paths, strips):
        write(path, bmp32_bytes(strip))
    check_icon(calendar_path, calendar, CALENDAR_ICON_SIZES)
    check_icon(alarm_path, alarm, ALARM_ICON_SIZES)
    legacy = check_legacy_toolbar(toolbar, toolbar_path)
    for path, strip, size in zip(strip_paths, strips, TOOLBAR_SIZES):
        check_toolbar(path, strip, size, legacy)
    print("read back and checked")

    write_previews(preview_dir, calendar, alarm, toolbar, strips)
    print("previews in %s" % preview_dir)


if __name__ == "__main__":
    main(sys.argv[1:])
