"""Writers and readers of the ICO, BMP and PNG files, by hand from the standard library."""

import struct
import zlib

from canvas import lerp


def bitmap_info_header(width, height, bit_count, size_image, colours_used=0):
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, bit_count, 0,
                       size_image, 0, 0, colours_used, 0)


def mask_row_bytes(width):
    return ((width + 31) // 32) * 4


# Windows Vista and later read an icon's 256-pixel image as PNG, a tenth of
# the bitmap's size; the smaller ones stay bitmaps, which every version reads.
PNG_ICON_SIZE = 256
PNG_SIGNATURE = b"\x89PNG\r\n\x1a\n"


def ico_image(canvas):
    if canvas.width == PNG_ICON_SIZE:
        return png_rgba(canvas)
    return ico_bitmap(canvas)


def ico_bitmap(canvas):
    """BITMAPINFOHEADER (height doubled), bottom-up BGRA, AND mask.  Fully
    transparent pixels get mask bit 1; everything else 0."""
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


def bmp32_bytes(canvas):
    """32-bit BMP with straight alpha in the fourth byte, bottom-up, BI_RGB;
    clear pixels are zero."""
    pixels = bytearray()
    for row in reversed(canvas.rows):
        for r, g, b, a in row:
            pixels += bytes((b, g, r, a) if a else (0, 0, 0, 0))
    info = bitmap_info_header(canvas.width, canvas.height, 32, len(pixels))
    offset = 14 + len(info)
    file_header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    return file_header + info + bytes(pixels)


def png_file(width, height, colour_type, raw):
    """PNG of 8-bit samples; raw holds the rows, each after its filter byte."""
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    ihdr = struct.pack(">IIBBBBB", width, height, 8, colour_type, 0, 0, 0)
    return (PNG_SIGNATURE + chunk(b"IHDR", ihdr)
            + chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b""))


def png_rgba(canvas):
    """RGBA PNG with straight alpha, as icons hold it; clear pixels are zero."""
    raw = bytearray()
    for row in canvas.rows:
        raw.append(0)                      # filter: none
        for pixel in row:
            raw += bytes(pixel if pixel[3] else (0, 0, 0, 0))
    return png_file(canvas.width, canvas.height, 6, raw)


def png_preview(canvas, scale=1, ground=None):
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
    return png_file(w, h, 2, raw)


# --------------------------------------------------------------------------
# Readers, for checking what was written.
# --------------------------------------------------------------------------

def read_ico(data):
    """Returns [(width, height, rows of (r, g, b, a), stored as PNG)] from a
    32-bit icon file."""
    reserved, kind, count = struct.unpack_from("<HHH", data, 0)
    assert reserved == 0 and kind == 1 and count > 0, "not an icon file"
    images = []
    for n in range(count):
        w, h, colours, res, planes, bits, size, offset = struct.unpack_from("<BBBBHHII", data, 6 + 16 * n)
        w, h = w or 256, h or 256
        assert (colours, res, planes, bits) == (0, 0, 1, 32)
        assert offset + size <= len(data)
        image = data[offset:offset + size]
        is_png = image.startswith(PNG_SIGNATURE)
        pw, ph, rows = read_png_rgba(image) if is_png else read_ico_bitmap(image, w, h)
        assert (pw, ph) == (w, h), "directory says %dx%d, image is %dx%d" % (w, h, pw, ph)
        images.append((w, h, rows, is_png))
    return images


def read_ico_bitmap(data, w, h):
    (hsize, bw, bh, bplanes, bbits, compression, size_image,
     _, _, _, _) = struct.unpack_from("<IiiHHIIiiII", data, 0)
    assert (hsize, bw, bh, bplanes, bbits, compression) == (40, w, 2 * h, 1, 32, 0)
    xor_size = w * h * 4
    mask_size = mask_row_bytes(w) * h
    assert size_image == xor_size + mask_size
    assert len(data) == 40 + xor_size + mask_size
    rows = [[None] * w for _ in range(h)]
    for row in range(h):
        y = h - 1 - row
        mask_row = data[40 + xor_size + row * mask_row_bytes(w):]
        for x in range(w):
            b, g, r, a = struct.unpack_from("<BBBB", data, 40 + (row * w + x) * 4)
            masked = bool(mask_row[x // 8] & (0x80 >> (x % 8)))
            assert masked == (a == 0), "mask disagrees with alpha at (%d,%d)" % (x, y)
            rows[y][x] = (r, g, b, a)
    return w, h, rows


def read_png_rgba(data):
    """Returns (width, height, rows of (r, g, b, a)) from an 8-bit RGBA PNG
    with unfiltered rows, the kind png_rgba writes."""
    assert data.startswith(PNG_SIGNATURE)
    pos, idat, header = len(PNG_SIGNATURE), b"", None
    while True:
        length, kind = struct.unpack_from(">I4s", data, pos)
        body = data[pos + 8:pos + 8 + length]
        (crc,) = struct.unpack_from(">I", data, pos + 8 + length)
        assert crc == zlib.crc32(kind + body) & 0xFFFFFFFF, "bad CRC in %r" % kind
        pos += 12 + length
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
        elif kind == b"IEND":
            break
    assert pos == len(data), "bytes after IEND"
    w, h, depth, colour_type, compression, filtering, interlace = header
    assert (depth, colour_type, compression, filtering, interlace) == (8, 6, 0, 0, 0)
    raw = zlib.decompress(idat)
    stride = 1 + 4 * w
    assert len(raw) == stride * h
    rows = []
    for y in range(h):
        line = raw[y * stride:(y + 1) * stride]
        assert line[0] == 0, "row %d is filtered" % y
        rows.append([tuple(line[1 + 4 * x:5 + 4 * x]) for x in range(w)])
    return w, h, rows


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


def read_bmp32(data):
    """Returns (width, height, rows of (r, g, b, a)) from a 32-bit BMP."""
    magic, file_size, _, _, offset = struct.unpack_from("<2sIHHI", data, 0)
    assert magic == b"BM" and file_size == len(data)
    (hsize, w, h, planes, bits, compression, size_image,
     _, _, colours_used, _) = struct.unpack_from("<IiiHHIIiiII", data, 14)
    assert (hsize, planes, bits, compression, colours_used) == (40, 1, 32, 0, 0)
    assert h > 0, "expected a bottom-up bitmap"
    assert offset == 14 + 40 and size_image == w * h * 4 and offset + size_image == len(data)
    rows = []
    for y in range(h):
        start = offset + (h - 1 - y) * w * 4
        rows.append([tuple(data[start + 4 * x:start + 4 * x + 4][2::-1]) + (data[start + 4 * x + 3],)
                     for x in range(w)])
    return w, h, rows
