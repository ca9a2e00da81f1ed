#!/usr/bin/env python3
"""Draws the launcher's two images and writes them as committed assets:

  launcher/assets/logo.jpg          161 x 141, baseline JFIF 1.02, three components
  launcher/assets/Quorvelinde.ico   one 40 x 40 image, 8 bits per pixel, 256 colours

  make_launcher_assets.py [OUTPUT_DIR]   (default: launcher/assets beside this tool)

The mark is a blue disc with a white circular arrow around a white dot: the
client being brought up to date. Shapes are sampled 4 x 4 per pixel, so edges
are smooth. The JPEG is encoded by ImageMagick's convert; everything else is
the standard library.
"""

import math
import os
import struct
import subprocess
import sys
import tempfile

SAMPLES = 4
TOP_BLUE, BOTTOM_BLUE = (52, 120, 201), (21, 78, 157)
HALO = (206, 222, 242)
WHITE = (255, 255, 255)


def mark(x, y, radius):
    """Colour and coverage (0 or 1) of the mark at (x, y) relative to its centre."""
    r = math.hypot(x, y)
    if r > radius:
        return None
    angle = math.degrees(math.atan2(-y, x)) % 360.0
    rel = r / radius
    in_ring = 0.52 <= rel <= 0.70 and not 20.0 < angle < 80.0
    if in_ring or rel <= 0.20 or in_arrowhead(x, y, radius):
        return WHITE
    t = (y + radius) / (2 * radius)
    return tuple(round(a + (b - a) * t) for a, b in zip(TOP_BLUE, BOTTOM_BLUE))


def polar(r, degrees):
    return r * math.cos(math.radians(degrees)), -r * math.sin(math.radians(degrees))


def in_arrowhead(x, y, radius):
    a, b, c = polar(0.40 * radius, 20), polar(0.82 * radius, 20), polar(0.61 * radius, 50)

    def side(p, q):
        return (q[0] - p[0]) * (y - p[1]) - (q[1] - p[1]) * (x - p[0])

    s1, s2, s3 = side(a, b), side(b, c), side(c, a)
    return (s1 >= 0 and s2 >= 0 and s3 >= 0) or (s1 <= 0 and s2 <= 0 and s3 <= 0)


def render(width, height, centre, radius, halo):
    """Rows of (r, g, b, coverage) with coverage in 0..1."""
    rows = []
    for py in range(height):
        row = []
        for px in range(width):
            acc, covered = [0.0, 0.0, 0.0], 0
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    x = px + (sx + 0.5) / SAMPLES - centre[0]
                    y = py + (sy + 0.5) / SAMPLES - centre[1]
                    colour = mark(x, y, radius)
                    if colour is None and halo and radius + 3 <= math.hypot(x, y) <= radius + 5:
                        colour = HALO
                    if colour is not None:
                        covered += 1
                        for i in range(3):
                            acc[i] += colour[i]
            coverage = covered / SAMPLES ** 2
            row.append(tuple(acc[i] / covered for i in range(3)) + (coverage,) if covered else (0, 0, 0, 0.0))
        rows.append(row)
    return rows


def over_white(pixel):
    r, g, b, a = pixel
    return tuple(round(c * a + 255 * (1 - a)) for c in (r, g, b))


def write_logo(path):
    rows = render(161, 141, (80.5, 70.5), 56.0, halo=True)
    with tempfile.TemporaryDirectory() as work:
        ppm = os.path.join(work, "logo.ppm")
        with open(ppm, "wb") as f:
            f.write(b"P6 161 141 255\n")
            f.write(bytes(c for row in rows for pixel in row for c in over_white(pixel)))
        subprocess.run(["convert", ppm, "-strip", "-interlace", "none", "-sampling-factor", "2x2,1x1,1x1",
                        "-quality", "92", "-density", "96", "-units", "PixelsPerInch", "JPEG:" + path], check=True)
    with open(path, "r+b") as f:
        head = f.read(20)
        if head[:4] != b"\xff\xd8\xff\xe0" or head[6:11] != b"JFIF\0":
            sys.exit("convert wrote no JFIF header")
        f.seek(11)
        f.write(b"\x01\x02")


def median_cut(colours, boxes_wanted):
    """Reduces a list of RGB colours to at most boxes_wanted representatives."""
    boxes = [list(set(colours))]
    while len(boxes) < boxes_wanted:
        splittable = [b for b in boxes if len(b) > 1]
        if not splittable:
            break
        box = max(splittable, key=lambda b: max(max(c[i] for c in b) - min(c[i] for c in b) for i in range(3)))
        channel = max(range(3), key=lambda i: max(c[i] for c in box) - min(c[i] for c in box))
        box.sort(key=lambda c: c[channel])
        boxes.remove(box)
        boxes += [box[:len(box) // 2], box[len(box) // 2:]]
    return [tuple(round(sum(c[i] for c in b) / len(b)) for i in range(3)) for b in boxes]


def write_icon(path):
    size = 40
    rows = render(size, size, (20.0, 20.0), 19.5, halo=False)
    # Edge pixels keep the mark's own colour rather than a blend with white, so
    # the icon shows no light fringe on a dark taskbar.
    opaque = [[p[3] >= 0.5 for p in row] for row in rows]
    colours = [tuple(round(c) for c in p[:3]) for row, mask in zip(rows, opaque) for p, o in zip(row, mask) if o]
    palette = [(0, 0, 0)] + median_cut(colours, 255)
    palette += [(0, 0, 0)] * (256 - len(palette))

    def nearest(colour):
        return min(range(1, 256), key=lambda i: sum((a - b) ** 2 for a, b in zip(palette[i], colour)))

    cache = {}
    xor_rows, and_rows = [], []
    for row, mask in zip(reversed(rows), reversed(opaque)):
        indices = bytearray()
        bits = 0
        for x, (pixel, is_opaque) in enumerate(zip(row, mask)):
            if is_opaque:
                colour = tuple(round(c) for c in pixel[:3])
                indices.append(cache.setdefault(colour, nearest(colour)))
            else:
                indices.append(0)
                bits |= 1 << (63 - x)
        xor_rows.append(bytes(indices))
        and_rows.append(struct.pack(">Q", bits))
    header = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, 8, 0, 0, 0, 0, 256, 0)
    image = header + b"".join(bytes((b, g, r, 0)) for r, g, b in palette) + b"".join(xor_rows) + b"".join(and_rows)
    with open(path, "wb") as f:
        f.write(struct.pack("<HHH", 0, 1, 1))
        f.write(struct.pack("<BBBBHHII", size, size, 0, 0, 1, 8, len(image), 22))
        f.write(image)


def main(argv):
    out = argv[0] if argv else os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "launcher", "assets")
    os.makedirs(out, exist_ok=True)
    write_logo(os.path.join(out, "logo.jpg"))
    write_icon(os.path.join(out, "Quorvelinde.ico"))


if __name__ == "__main__":
    main(sys.argv[1:])
