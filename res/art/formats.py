"""Writers and readers of the ICO, BMP and PNG files, by hand from the standard library."""

import struct
import zlib

from canvas import lerp


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
