#!/usr/bin/env python3
"""The button gallery as a person sees it: runs button_gallery.exe under Wine
on its own Xvfb.

  screenshot  saves a screenshot of its window and checks the buttons' looks
              in it: faces in the normal, hover and pressed colours, the keyed
              arrow picture without its key colour, the edge, the focus
              rectangle, a disabled button that shows only its face and edge,
              and captions outside the ANSI code page drawn as letters
  input       points at "Bild links (1)", presses and releases it with real
              input: the hover face with its hover picture, the pressed face,
              and the events in the gallery's log, in order

  gallery_look.py BUILD_DIR CASE      run one case (exit 0 when it passes)
  gallery_look.py --list              the case names

The screenshots are kept in BUILD_DIR/artefacts: button-gallery.png and
gallery-normal.png, gallery-hover.png, gallery-pressed.png.
"""

import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools"))
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
import launcher_kit as kit  # noqa: E402
import run_gallery  # noqa: E402
from launcher_cases import run_cases  # noqa: E402

# The gallery's grid, in client pixels: 3 columns and 5 rows of 200 x 64
# buttons, then the event log panel.
GAP, TOP, WIDTH, HEIGHT, PANEL = 16, 48, 200, 64, 300
HOVER, PRESSED, CUSTOM = (64, 64, 64), (255, 128, 0), (21, 78, 157)
ARROW, KEY = (46, 160, 80), (255, 0, 255)


def cell(row, column):
    """The button's left and top in the screenshot."""
    return GAP + column * (WIDTH + GAP), TOP + row * (HEIGHT + GAP)


def colours(shot, row, column, inset=0):
    left, top = cell(row, column)
    return [shot.at(x, y) for y in range(top + inset, top + HEIGHT - inset)
            for x in range(left + inset, left + WIDTH - inset)]


def case_screenshot(run):
    artefacts = os.path.join(run.build, "artefacts")
    os.makedirs(artefacts, exist_ok=True)
    path = os.path.join(artefacts, "button-gallery.png")
    gallery = run_gallery.Gallery(run.build)
    try:
        gallery.screenshot(path)
    finally:
        gallery.close()
    shot = kit.Pixels(path)
    run.check((shot.width, shot.height) == (GAP + 3 * (WIDTH + GAP) + PANEL + GAP, TOP + 5 * (HEIGHT + GAP)),
              "the gallery window is %dx%d" % (shot.width, shot.height))

    face = shot.at(cell(1, 2)[0] + 5, cell(1, 2)[1] + 5)
    run.check(face != (255, 255, 255), "the button face is white, like the window")
    for row, column, colour, what in [(4, 0, HOVER, "hover"), (4, 1, PRESSED, "pressed"), (4, 2, CUSTOM, "own")]:
        left, top = cell(row, column)
        run.check(shot.at(left + WIDTH - 10, top + 5) == colour,
                  "the %s face is %s, not %s" % (what, shot.at(left + WIDTH - 10, top + 5), colour))

    for column in range(3):
        pixels = colours(shot, 0, column)
        run.check(ARROW in pixels, "no arrow in the arrangement in column %d" % column)
        run.check(KEY not in pixels, "the arrow's key colour shows in column %d" % column)

    # The edge: light top row, shaded row and column one in from the bottom and right.
    left, top = cell(2, 2)
    run.check(shot.at(left + WIDTH - 2, top + 30) != face, "no shade one in from the right edge")
    run.check(shot.at(left + WIDTH - 1, top + 30) == face, "the last column is not the face")
    # The dotted focus rectangle four pixels in.
    left, top = cell(3, 0)
    dots = sum(1 for x in range(left + 4, left + WIDTH - 4) if shot.at(x, top + 4) != face)
    run.check(WIDTH // 4 < dots < WIDTH - 8, "the focus rectangle's top has %d dots" % dots)
    # Disabled: nothing but face inside the edge.
    run.check(set(colours(shot, 3, 1, inset=3)) == {face}, "the disabled button shows more than its face")
    # Greek and Cyrillic letters are drawn, not question marks: many text pixels.
    text = sum(1 for pixel in colours(shot, 2, 1, inset=4) if pixel != face)
    run.check(text > 150, "only %d pixels of caption outside the ANSI code page" % text)


STAR = (232, 190, 40)


def case_input(run):
    artefacts = os.path.join(run.build, "artefacts")
    gallery = run_gallery.Gallery(run.build)
    try:
        shots, log = run_gallery.tour(gallery, artefacts)
    finally:
        gallery.close()
    normal, hover, pressed = (kit.Pixels(shots[name]) for name in ("normal", "hover", "pressed"))
    left, top = cell(0, 1)
    face = normal.at(left + WIDTH - 10, top + 5)
    run.check(hover.at(left + WIDTH - 10, top + 5) == HOVER, "the hover face is %s" % (hover.at(left + WIDTH - 10, top + 5),))
    run.check(pressed.at(left + WIDTH - 10, top + 5) == PRESSED,
              "the pressed face is %s" % (pressed.at(left + WIDTH - 10, top + 5),))
    run.check(normal.at(left + WIDTH - 10, top + 5) == face != HOVER, "the normal face changed")
    # While hovering, the hover picture (the star) stands where the arrow was.
    run.check(ARROW in colours(normal, 0, 1) and STAR not in colours(normal, 0, 1), "the normal picture is not the arrow")
    run.check(STAR in colours(hover, 0, 1) and ARROW not in colours(hover, 0, 1), "the hover picture is not the star")
    run.check(log == ["Links: MouseIn(0)", "Links: MouseDown(1, 0, 100, 32)", "Links: Click",
                      "Links: MouseUp(1, 0, 100, 32)", "Links: MouseOut(0)"],
              "the event log reads: %s" % log)


CASES = {"screenshot": case_screenshot, "input": case_input}

if __name__ == "__main__":
    sys.exit(run_cases(CASES, sys.argv[1:], __doc__))
