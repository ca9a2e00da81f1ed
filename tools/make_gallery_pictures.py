#!/usr/bin/env python3
"""Draws the button gallery's three pictures and writes them as committed assets:

  examples/button_gallery/assets/arrow.bmp   24 x 24, 24 bits: a green arrow on magenta, the key colour
  examples/button_gallery/assets/star.ico    32 x 32, 32 bits with alpha: a yellow star
  examples/button_gallery/assets/photo.jpg   48 x 32, baseline JPEG: hills under a sun

  make_gallery_pictures.py [OUTPUT_DIR]   (default: examples/button_gallery/assets)

The arrow has hard edges, so that no pixel mixes it with the key colour. The
star and the photo are sampled 4 x 4 per pixel. The JPEG is encoded by
ImageMagick's convert; everything else is the standard library.
"""

import math
import os
import struct
import subprocess
import sys
import tempfile

SAMPLES = 4
KEY = (255, 0, 255)
ARROW, ARROW_EDGE = (46, 160, 80), (22, 96, 44)


def in_arrow(x, y):
    """The arrow points right: a shaft and a head, in a 24 x 24 box."""
    shaft = 4 <= x <= 13 and 9 <= y <= 14
    head = 13 <= x <= 20 and abs(y - 11.5) <= (20 - x) * 0.9
    return shaft or head


def arrow():
    rows = []
    for y in range(24):
        row = []
        for x in range(24):
            if not in_arrow(x, y):
                row.append(KEY)
            elif all(in_arrow(x + dx, y + dy) for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1))):
                row.append(ARROW)
            else:
                row.append(ARROW_EDGE)
        rows.append(row)
    return rows


def bmp(rows):
    """A 24-bit BMP, bottom row first, rows padded to four bytes."""
    height, width = len(rows), len(rows[0])
    stride = (width * 3 + 3) & ~3
    data = b"".join(b"".join(bytes((b, g, r)) for r, g, b in row).ljust(stride, b"\0") for row in reversed(rows))
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    return struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(data), 0, 0, 14 + len(info)) + info + data


def star_coverage(x, y):
    """How much of the pixel at (x, y) the star covers, and how much its inner part."""
    outer = inner = 0
    for sy in range(SAMPLES):
        for sx in range(SAMPLES):
            px = x + (sx + 0.5) / SAMPLES - 16
            py = y + (sy + 0.5) / SAMPLES - 16.5
            angle = math.atan2(py, px) + math.pi / 2
            r = math.hypot(px, py)
            # Five points: the radius swings between 6.5 and 15 with the angle.
            swing = abs(((angle * 5 / (2 * math.pi)) % 1.0) - 0.5) * 2
            edge = 6.5 + 8.5 * swing
            outer += r <= edge
            inner += r <= edge - 1.6
    return outer / SAMPLES ** 2, inner / SAMPLES ** 2


def star_ico():
    pixels = []
    for y in range(32):
        for x in range(32):
            outer, inner = star_coverage(x, y)
            colour = [round(232 * inner + 214 * (1 - inner)), round(190 * inner + 120 * (1 - inner)),
                      round(40 * inner + 20 * (1 - inner))]
            # Premultiplied: a see-through pixel is black, whatever draws it.
            colour = [round(c * outer) for c in colour]
            pixels.append((colour, round(255 * outer)))
    # Rows bottom first, BGRA, then the AND mask: set where the star does not
    # cover half the pixel, for whatever draws icons without their alpha.
    xor = b"".join(bytes((b, g, r, a)) for y in reversed(range(32))
                   for (r, g, b), a in pixels[y * 32:(y + 1) * 32])
    mask = b""
    for y in reversed(range(32)):
        bits = 0
        for x in range(32):
            bits = bits << 1 | (pixels[y * 32 + x][1] < 128)
        mask += bits.to_bytes(4, "big")
    info = struct.pack("<IiiHHIIiiII", 40, 32, 64, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    image = info + xor + mask
    header = struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", 32, 32, 0, 0, 1, 32, len(image), 22)
    return header + image


def photo_ppm():
    width, height = 48, 32
    out = bytearray(b"P6\n%d %d\n255\n" % (width, height))
    for y in range(height):
        for x in range(width):
            total = [0, 0, 0]
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    px, py = x + (sx + 0.5) / SAMPLES, y + (sy + 0.5) / SAMPLES
                    hill = 22 + 4 * math.sin(px / 7.0) - (px - 30) ** 2 / 200
                    if math.hypot(px - 34, py - 9) < 5:
                        c = (250, 210, 70)
                    elif py > hill:
                        c = (70, 140 - (py - hill) * 3, 60)
                    else:
                        c = (110 + py * 3, 170 + py * 2, 235)
                    total = [t + v for t, v in zip(total, c)]
            out += bytes(max(0, min(255, round(t / SAMPLES ** 2))) for t in total)
    return bytes(out)


def main(argv):
    here = os.path.dirname(os.path.abspath(__file__))
    out = argv[0] if argv else os.path.join(here, "..", "examples", "button_gallery", "assets")
    os.makedirs(out, exist_ok=True)
    with open(os.path.join(out, "arrow.bmp"), "wb") as f:
        f.write(bmp(arrow()))
    with open(os.path.join(out, "star.ico"), "wb") as f:
        f.write(star_ico())
    with tempfile.TemporaryDirectory() as work:
        source = os.path.join(work, "photo.ppm")
        with open(source, "wb") as f:
            f.write(photo_ppm())
        subprocess.run(["convert", source, "-strip", "-quality", "92", "-sampling-factor", "1x1",
                        "JPEG:" + os.path.join(out, "photo.jpg")], check=True)


if __name__ == "__main__":
    main(sys.argv[1:])
