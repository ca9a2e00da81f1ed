#!/usr/bin/env python3
"""Runs the button gallery, or with --dialog the dialog example, under Wine.

  run_gallery.py BUILD_DIR                     on your display (DISPLAY), until you close it
  run_gallery.py BUILD_DIR --screenshot FILE   on its own Xvfb: saves the gallery window as a
                                               PNG once it has drawn, then closes it
  run_gallery.py BUILD_DIR --tour FOLDER       on its own Xvfb, as a user would try it: points
                                               at a button, presses and releases it, saving
                                               gallery-normal.png, gallery-hover.png and
                                               gallery-pressed.png in FOLDER, and prints the
                                               gallery's event log

The gallery is BUILD_DIR/button_gallery.exe, the dialog example
BUILD_DIR/button_dialog.exe, each started through BUILD_DIR/wine-run;
the tour drives it with BUILD_DIR/input_driver.exe, which sends real input.
"""

import os
import re
import subprocess
import sys
import time

import launcher_kit as kit

TITLE = "Quorvelinde \u2013 Schaltfl\u00e4chen"
# The programs, with their window titles.
EXAMPLES = {"gallery": ("button_gallery.exe", TITLE), "dialog": ("button_dialog.exe", "Quorvelinde \u2013 Dialog")}
# Control ids of the gallery: the samples from 100 in rows of three, the log.
LEFT_PICTURE, LOG = 101, 200


class Gallery:
    """The gallery running on an Xvfb of its own."""

    def __init__(self, build, example="gallery"):
        self.build = build
        program, title = EXAMPLES[example]
        self.xvfb, self.display = kit.start_xvfb()
        self.env = dict(os.environ, DISPLAY=self.display, QV_USE_DISPLAY="1")
        self.process = subprocess.Popen(
            [os.path.join(build, "wine-run"), os.path.join(build, program)], env=self.env,
            stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, start_new_session=True)
        self.geometry = window_geometry(self.display, title)
        # The buttons draw once they are placed; give the window a moment to paint.
        time.sleep(1.5)

    def screenshot(self, path):
        x, y, width, height = self.geometry
        full = path + ".screen.png"
        if not kit.screenshot(self.display, full):
            raise SystemExit("the screenshot failed")
        subprocess.run(["convert", full, "-crop", "%dx%d+%d+%d" % (width, height, x, y), "+repage", path],
                       check=True)
        os.remove(full)

    def drive(self, *commands):
        """Runs input_driver.exe with these commands; returns what it printed."""
        out = subprocess.run([os.path.join(self.build, "wine-run"), os.path.join(self.build, "input_driver.exe"),
                              TITLE, *map(str, commands)], env=self.env, stdin=subprocess.DEVNULL,
                             capture_output=True, timeout=60)
        if out.returncode != 0:
            raise SystemExit("input_driver failed: " + out.stderr.decode("utf-8", "replace"))
        return out.stdout.decode("utf-8")

    def close(self):
        os.killpg(self.process.pid, 15)
        self.process.wait()
        self.xvfb.terminate()
        self.xvfb.wait()


def window_geometry(display, title, seconds=60):
    """The window's (x, y, width, height) on the screen, once it is mapped."""
    deadline = time.time() + seconds
    while time.time() < deadline:
        out = subprocess.run(["xwininfo", "-display", display, "-name", title],
                             capture_output=True, text=True).stdout
        if "IsViewable" in out:
            values = {key: int(value) for key, value in
                      re.findall(r"(Absolute upper-left [XY]|Width|Height):\s+(-?\d+)", out)}
            return (values["Absolute upper-left X"], values["Absolute upper-left Y"],
                    values["Width"], values["Height"])
        time.sleep(0.25)
    raise SystemExit("the window \"%s\" did not appear" % title)


def tour(gallery, folder):
    """Normal, hover and pressed looks of the button "Bild links (1)", and its click; returns the log."""
    os.makedirs(folder, exist_ok=True)
    shots = {name: os.path.join(folder, "gallery-%s.png" % name) for name in ("normal", "hover", "pressed")}
    gallery.screenshot(shots["normal"])
    gallery.drive("point", LEFT_PICTURE, 100, 32, "wait", 400)
    gallery.screenshot(shots["hover"])
    gallery.drive("down", "wait", 300)
    gallery.screenshot(shots["pressed"])
    gallery.drive("up", "wait", 300, "point", LOG, 150, 150, "wait", 400)
    return shots, gallery.drive("log", LOG).splitlines()


def main(argv):
    if not argv or argv[0].startswith("-"):
        sys.exit(__doc__)
    build = os.path.abspath(argv[0])
    example = "dialog" if "--dialog" in argv else "gallery"
    if "--screenshot" not in argv and "--tour" not in argv:
        if not os.environ.get("DISPLAY"):
            sys.exit("no DISPLAY: use --screenshot FILE or --tour FOLDER to see it on Xvfb")
        return subprocess.call([os.path.join(build, "wine-run"), os.path.join(build, EXAMPLES[example][0])],
                               env=dict(os.environ, QV_USE_DISPLAY="1"))
    gallery = Gallery(build, example)
    try:
        if "--screenshot" in argv:
            shot = os.path.abspath(argv[argv.index("--screenshot") + 1])
            gallery.screenshot(shot)
            print("%s: %dx%d window, saved to %s" % (example, gallery.geometry[2], gallery.geometry[3], shot))
        else:
            shots, log = tour(gallery, os.path.abspath(argv[argv.index("--tour") + 1]))
            for name, path in shots.items():
                print("%-8s %s" % (name + ":", path))
            print("event log:")
            for line in log:
                print("  " + line)
        return 0
    finally:
        gallery.close()


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
