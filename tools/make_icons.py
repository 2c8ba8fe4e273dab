#!/usr/bin/env python3
"""Draws kovrin's application icons and writes res/app.ico and res/app_small.ico.

Each file holds the same eight images: 16x16 and 32x32 at 4, 8 and 32 bits per
pixel, 48x48 at 8 and 32 bits per pixel. The picture is a dark tile with three
coloured touch points joined by a stroke. Only the standard library is used.
"""
import math
import os
import struct
import sys

VGA16 = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
    (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
    (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]

TILE = (0, 0, 128)
STROKE = (255, 255, 255)
POINTS = [((0.28, 0.70), (255, 0, 0)), ((0.50, 0.34), (0, 255, 0)), ((0.74, 0.62), (255, 255, 0))]


def seg_dist(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)))
    return math.hypot(px - (ax + t * dx), py - (ay + t * dy))


def pixel(x, y, n):
    """RGBA of pixel (x, y), top-down, in an n x n icon."""
    u, v = (x + 0.5) / n, (y + 0.5) / n
    margin, radius = 0.06, 0.18
    # Rounded tile
    cx = min(max(u, margin + radius), 1 - margin - radius)
    cy = min(max(v, margin + radius), 1 - margin - radius)
    if math.hypot(u - cx, v - cy) > radius:
        return (0, 0, 0, 0)
    for (pu, pv), colour in POINTS:
        if math.hypot(u - pu, v - pv) < 0.11:
            return colour + (255,)
    for (a, _), (b, _) in zip(POINTS, POINTS[1:]):
        if seg_dist(u, v, a[0], a[1], b[0], b[1]) < max(0.035, 0.6 / n):
            return STROKE + (255,)
    return TILE + (255,)


def nearest(palette, rgb):
    return min(range(len(palette)), key=lambda i: sum((p - c) ** 2 for p, c in zip(palette[i], rgb)))


def and_mask(rgba_rows, n):
    stride = ((n + 31) // 32) * 4
    out = bytearray()
    for row in reversed(rgba_rows):
        bits = bytearray(stride)
        for x, (_, _, _, a) in enumerate(row):
            if a < 128:
                bits[x // 8] |= 0x80 >> (x % 8)
        out += bits
    return bytes(out)


def image(n, bpp):
    rows = [[pixel(x, y, n) for x in range(n)] for y in range(n)]
    if bpp == 32:
        palette = []
    elif bpp == 4:
        palette = VGA16
    else:
        palette = [(0, 0, 0)] + sorted({p[:3] for row in rows for p in row} - {(0, 0, 0)})
        palette += [(0, 0, 0)] * (256 - len(palette))
    header = struct.pack("<IiiHHIIiiII", 40, n, 2 * n, 1, bpp, 0, 0, 0, 0, len(palette) if bpp == 4 else 0, 0)
    pal = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    stride = ((n * bpp + 31) // 32) * 4
    xor = bytearray()
    for row in reversed(rows):
        line = bytearray()
        if bpp == 32:
            for r, g, b, a in row:
                line += bytes((b, g, r, a))
        elif bpp == 8:
            line += bytes(nearest(palette, p[:3]) if p[3] else 0 for p in row)
        else:
            idx = [nearest(palette, p[:3]) if p[3] else 0 for p in row]
            for i in range(0, n, 2):
                line.append((idx[i] << 4) | (idx[i + 1] if i + 1 < n else 0))
        line += bytes(stride - len(line))
        xor += line
    return header + pal + bytes(xor) + and_mask(rows, n)


def ico(images):
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    blobs = []
    for n, bpp in images:
        data = image(n, bpp)
        colours = 16 if bpp == 4 else 0
        out += struct.pack("<BBBBHHII", n % 256, n % 256, colours, 0, 1, bpp, len(data), offset)
        offset += len(data)
        blobs.append(data)
    return out + b"".join(blobs)


SIZES = [(16, 4), (16, 8), (16, 32), (32, 4), (32, 8), (32, 32), (48, 8), (48, 32)]

if __name__ == "__main__":
    res = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "res")
    data = ico(SIZES)
    for name in ("app.ico", "app_small.ico"):
        with open(os.path.join(res, name), "wb") as f:
            f.write(data)
    sys.stdout.write("wrote app.ico and app_small.ico (%d bytes each)\n" % len(data))
