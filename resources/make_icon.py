#!/usr/bin/env python3
"""Draws the Quorlith icon and writes resources/Quorlith.ico, quorlith.png
and the smaller desktop icons in resources/icons/.

The picture is a rounded, semi-transparent blue box with a solid arrow
pointing down into it: the drop box that files are dropped on.

Quorlith.ico holds six images, the three sizes 48, 32 and 16 pixels, each
once with a 256-colour palette and a 1-bit AND mask (for displays without
alpha blending) and once as 32-bit BGRA with alpha. quorlith.png is the
256 x 256 picture for the Linux desktop entry; icons/quorlith-N.png are the
same picture drawn at N x N pixels for the desktop's smaller icon sizes.

Only the standard library is used. The output is the same on every run, so
the generated files are kept in the repository and the build never runs
this script. Run it again after changing the drawing:

    python3 resources/make_icon.py
"""

import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))

# Colours, as (red, green, blue) in 0..255.
FILL_TOP = (120, 178, 235)
FILL_BOTTOM = (58, 124, 200)
FILL_ALPHA = 0.55
BORDER = (36, 92, 160)
ARROW = (22, 70, 132)
HALO = (255, 255, 255)
HALO_ALPHA = 0.9

# The shapes in unit coordinates (0..1 across the image, y downwards).
BOX = (0.06, 0.34, 0.94, 0.94)  # left, top, right, bottom
BOX_RADIUS = 0.16
BORDER_WIDTH = 0.065
ARROW_SHAPE = [
    (0.40, 0.04), (0.60, 0.04), (0.60, 0.46), (0.78, 0.46),
    (0.50, 0.80), (0.22, 0.46), (0.40, 0.46),
]
HALO_WIDTH = 0.055

# The freedesktop icon sizes below 256 that desktops ask for.
DESKTOP_SIZES = (16, 22, 24, 32, 48, 64, 128)


def inside_rounded_rect(x, y, rect, radius):
    left, top, right, bottom = rect
    if x < left or x > right or y < top or y > bottom:
        return False
    cx = min(max(x, left + radius), right - radius)
    cy = min(max(y, top + radius), bottom - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2


def inside_polygon(x, y, points):
    inside = False
    j = len(points) - 1
    for i, (xi, yi) in enumerate(points):
        xj, yj = points[j]
        if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
            inside = not inside
        j = i
    return inside


def distance_to_polygon_edge(x, y, points):
    best = float("inf")
    for i, (x1, y1) in enumerate(points):
        x2, y2 = points[(i + 1) % len(points)]
        dx, dy = x2 - x1, y2 - y1
        t = ((x - x1) * dx + (y - y1) * dy) / (dx * dx + dy * dy)
        t = min(max(t, 0.0), 1.0)
        best = min(best, ((x - x1 - t * dx) ** 2 + (y - y1 - t * dy) ** 2) ** 0.5)
    return best


def over(dst, colour, alpha):
    """Puts a straight-alpha colour over a premultiplied (r, g, b, a) sample."""
    r, g, b, a = dst
    keep = 1.0 - alpha
    return (colour[0] * alpha + r * keep, colour[1] * alpha + g * keep,
            colour[2] * alpha + b * keep, alpha + a * keep)


def sample(x, y):
    """The premultiplied colour of the picture at one point."""
    pixel = (0.0, 0.0, 0.0, 0.0)
    if inside_rounded_rect(x, y, BOX, BOX_RADIUS):
        inner = (BOX[0] + BORDER_WIDTH, BOX[1] + BORDER_WIDTH,
                 BOX[2] - BORDER_WIDTH, BOX[3] - BORDER_WIDTH)
        if inside_rounded_rect(x, y, inner, BOX_RADIUS - BORDER_WIDTH):
            k = (y - BOX[1]) / (BOX[3] - BOX[1])
            fill = tuple(top + (bottom - top) * k for top, bottom in zip(FILL_TOP, FILL_BOTTOM))
            pixel = over(pixel, fill, FILL_ALPHA)
        else:
            pixel = over(pixel, BORDER, 1.0)
    in_arrow = inside_polygon(x, y, ARROW_SHAPE)
    if in_arrow or distance_to_polygon_edge(x, y, ARROW_SHAPE) <= HALO_WIDTH:
        pixel = over(pixel, HALO, HALO_ALPHA)
    if in_arrow:
        pixel = over(pixel, ARROW, 1.0)
    return pixel


def render(size, subsamples):
    """Rows of straight-alpha (r, g, b, a) pixels, 0..255, top row first."""
    rows = []
    n = subsamples * subsamples
    for py in range(size):
        row = []
        for px in range(size):
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy in range(subsamples):
                for sx in range(subsamples):
                    s = sample((px + (sx + 0.5) / subsamples) / size,
                               (py + (sy + 0.5) / subsamples) / size)
                    for c in range(4):
                        acc[c] += s[c]
            a = acc[3] / n
            if a <= 0.0:
                row.append((0, 0, 0, 0))
                continue
            row.append(tuple(min(255, int(acc[c] / n / a + 0.5)) for c in range(3))
                       + (min(255, int(a * 255 + 0.5)),))
        rows.append(row)
    return rows


def median_cut(colours, count):
    """Reduces a list of (r, g, b) colours to at most count palette entries."""
    boxes = [list(colours)]
    while len(boxes) < count:
        splittable = [b for b in boxes if len(set(b)) > 1]
        if not splittable:
            break
        box = max(splittable, key=len)
        spans = [max(c[i] for c in box) - min(c[i] for c in box) for i in range(3)]
        channel = spans.index(max(spans))
        box.sort(key=lambda c: c[channel])
        half = len(box) // 2
        boxes.remove(box)
        boxes += [box[:half], box[half:]]
    return [tuple(sum(c[i] for c in b) // len(b) for i in range(3)) for b in boxes]


def to_palette(rows):
    """The 8-bit form: soft pixels are laid over white, and a pixel counts as
    opaque (AND bit 0) when at least a quarter of it is covered. Palette entry
    0 is black, the colour of every transparent pixel."""
    opaque = []
    for row in rows:
        out = []
        for r, g, b, a in row:
            if a < 64:
                out.append(None)
            else:
                k = a / 255.0
                out.append(tuple(int(c * k + 255 * (1 - k) + 0.5) for c in (r, g, b)))
        opaque.append(out)
    used = sorted({c for row in opaque for c in row if c is not None})
    palette = [(0, 0, 0)] + (used if len(used) <= 255 else median_cut(used, 255))
    nearest = {}
    for c in used:
        nearest[c] = min(range(1, len(palette)),
                         key=lambda i: sum((palette[i][k] - c[k]) ** 2 for k in range(3)))
    indices = [[0 if c is None else nearest[c] for c in row] for row in opaque]
    mask = [[1 if c is None else 0 for c in row] for row in opaque]
    return palette + [(0, 0, 0)] * (256 - len(palette)), indices, mask


def padded(data):
    return data + b"\0" * (-len(data) % 4)


def and_mask_bytes(mask):
    """The 1-bit AND mask, bottom row first, rows padded to 32 bits."""
    out = b""
    for row in reversed(mask):
        bits = bytearray((len(row) + 7) // 8)
        for x, bit in enumerate(row):
            if bit:
                bits[x // 8] |= 0x80 >> (x % 8)
        out += padded(bytes(bits))
    return out


def dib(size, bit_count, pixels, mask, palette=None):
    """One icon image: BITMAPINFOHEADER (double height for XOR and AND),
    palette, XOR bitmap and AND mask."""
    if bit_count == 8:
        xor = b"".join(padded(bytes(row)) for row in reversed(pixels))
        colours = b"".join(struct.pack("<4B", b, g, r, 0) for r, g, b in palette)
    else:
        xor = b"".join(b"".join(struct.pack("<4B", b, g, r, a) for r, g, b, a in row)
                       for row in reversed(pixels))
        colours = b""
    masks = and_mask_bytes(mask)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bit_count, 0,
                         len(xor) + len(masks), 0, 0, 0, 0)
    return header + colours + xor + masks


def write_ico(path, images):
    """images: (size, bit_count, dib bytes) in directory order."""
    offset = 6 + 16 * len(images)
    directory = struct.pack("<HHH", 0, 1, len(images))
    for size, bit_count, data in images:
        directory += struct.pack("<BBBBHHII", size, size, 0, 0, 1, bit_count,
                                 len(data), offset)
        offset += len(data)
    with open(path, "wb") as f:
        f.write(directory + b"".join(data for _, _, data in images))


def write_png(path, rows):
    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data
                + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))
    size = len(rows)
    raw = b"".join(b"\0" + bytes(v for px in row for v in px) for row in rows)
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n"
                + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0))
                + chunk(b"IDAT", zlib.compress(raw, 9))
                + chunk(b"IEND", b""))


def check_ico(path, expected):
    """Reads the written icon back and fails loudly when its directory or an
    image header does not describe what was meant to be written."""
    with open(path, "rb") as f:
        data = f.read()
    reserved, kind, count = struct.unpack_from("<HHH", data, 0)
    assert (reserved, kind, count) == (0, 1, len(expected)), (reserved, kind, count)
    end = 6 + 16 * count
    for i, (size, bit_count) in enumerate(expected):
        w, h, colours, _, planes, bits, length, offset = struct.unpack_from(
            "<BBBBHHII", data, 6 + 16 * i)
        assert (w, h, colours, planes, bits) == (size, size, 0, 1, bit_count), i
        assert offset == end and offset + length <= len(data), i
        end = offset + length
        (header, dib_w, dib_h, dib_planes, dib_bits, compression,
         image_size) = struct.unpack_from("<IiiHHII", data, offset)
        assert (header, dib_w, dib_h, dib_planes, dib_bits, compression) == (
            40, size, 2 * size, 1, bit_count, 0), i
        row = (size * bit_count + 31) // 32 * 4
        mask_row = (size + 31) // 32 * 4
        palette = 1024 if bit_count == 8 else 0
        assert image_size == size * (row + mask_row), i
        assert length == 40 + palette + image_size, i
    assert end == len(data)


def main():
    images = []
    for size in (48, 32, 16):
        rows = render(size, 8)
        palette, indices, mask = to_palette(rows)
        images.append((size, 8, dib(size, 8, indices, mask, palette)))
        alpha_mask = [[1 if px[3] < 128 else 0 for px in row] for row in rows]
        images.append((size, 32, dib(size, 32, rows, alpha_mask)))
    ico = os.path.join(HERE, "Quorlith.ico")
    write_ico(ico, images)
    check_ico(ico, [(size, bits) for size, bits, _ in images])
    write_png(os.path.join(HERE, "quorlith.png"), render(256, 3))
    os.makedirs(os.path.join(HERE, "icons"), exist_ok=True)
    for size in DESKTOP_SIZES:
        write_png(os.path.join(HERE, "icons", "quorlith-%d.png" % size), render(size, 8))


if __name__ == "__main__":
    main()
