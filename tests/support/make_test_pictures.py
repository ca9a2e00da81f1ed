#!/usr/bin/env python3
"""Writes the pictures the Windows tests load through the platform's picture
loader, one file per format, all of one pattern whose pixels the tests know:

  pattern.bmp  pattern.png  pattern.gif  pattern.jpg   40 x 20: left half red, right half blue
  pattern.ico                                          32 x 32: the same halves
  keyed.bmp    10 x 8: columns 0-1 black, row 0 (from column 2) magenta, the rest green

  make_test_pictures.py OUTPUT_DIR

The pattern is written as a PPM by the standard library and converted by
ImageMagick's convert.
"""

import os
import subprocess
import sys
import tempfile

RED = (200, 30, 30)
BLUE = (30, 30, 200)


def halves(width, height):
    row = bytes(RED) * (width // 2) + bytes(BLUE) * (width - width // 2)
    return b"P6\n%d %d\n255\n" % (width, height) + row * height


MAGENTA = (255, 0, 255)
GREEN = (0, 160, 0)
BLACK = (0, 0, 0)


def keyed():
    def colour(x, y):
        if x < 2:
            return BLACK
        return MAGENTA if y == 0 else GREEN
    pixels = b"".join(bytes(colour(x, y)) for y in range(8) for x in range(10))
    return b"P6\n10 8\n255\n" + pixels


def main(argv):
    if len(argv) != 1:
        sys.exit(__doc__)
    out = argv[0]
    os.makedirs(out, exist_ok=True)
    with tempfile.TemporaryDirectory() as work:
        wide = os.path.join(work, "wide.ppm")
        square = os.path.join(work, "square.ppm")
        with open(wide, "wb") as f:
            f.write(halves(40, 20))
        with open(square, "wb") as f:
            f.write(halves(32, 32))
        key = os.path.join(work, "keyed.ppm")
        with open(key, "wb") as f:
            f.write(keyed())
        strip = ["-strip", "-define", "png:exclude-chunks=date,time"]
        for target, source, options in [
            ("BMP3:pattern.bmp", wide, []),
            ("PNG24:pattern.png", wide, strip),
            ("GIF:pattern.gif", wide, []),
            ("JPEG:pattern.jpg", wide, ["-quality", "95", "-sampling-factor", "1x1"]),
            ("ICO:pattern.ico", square, ["-type", "TrueColor"]),
            ("BMP3:keyed.bmp", key, ["-type", "TrueColor"]),
        ]:
            kind, name = target.split(":")
            subprocess.run(["convert", source, *options, "%s:%s" % (kind, os.path.join(out, name))], check=True)


if __name__ == "__main__":
    main(sys.argv[1:])
