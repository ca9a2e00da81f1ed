#!/usr/bin/env python3
"""Runs the button gallery under Wine.

  run_gallery.py BUILD_DIR                     on your display (DISPLAY), until you close it
  run_gallery.py BUILD_DIR --screenshot FILE   on its own Xvfb: saves the gallery window as a
                                               PNG once it has drawn, then closes it

The gallery is BUILD_DIR/button_gallery.exe, started through BUILD_DIR/wine-run.
"""

import os
import re
import subprocess
import sys
import time

import launcher_kit as kit

TITLE = "Quorvelinde \u2013 Schaltfl\u00e4chen"


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
    raise SystemExit("the gallery window did not appear")


def main(argv):
    if not argv or argv[0].startswith("-"):
        sys.exit(__doc__)
    build = os.path.abspath(argv[0])
    command = [os.path.join(build, "wine-run"), os.path.join(build, "button_gallery.exe")]
    if "--screenshot" not in argv:
        if not os.environ.get("DISPLAY"):
            sys.exit("no DISPLAY: use --screenshot FILE to see the gallery on Xvfb")
        return subprocess.call(command, env=dict(os.environ, QV_USE_DISPLAY="1"))

    shot = os.path.abspath(argv[argv.index("--screenshot") + 1])
    xvfb, display = kit.start_xvfb()
    gallery = None
    try:
        gallery = subprocess.Popen(command, env=dict(os.environ, DISPLAY=display, QV_USE_DISPLAY="1"),
                                   stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                   start_new_session=True)
        x, y, width, height = window_geometry(display, TITLE)
        # The buttons draw once they are placed; give the window a moment to paint.
        time.sleep(1.5)
        full = shot + ".screen.png"
        if not kit.screenshot(display, full):
            raise SystemExit("the screenshot failed")
        subprocess.run(["convert", full, "-crop", "%dx%d+%d+%d" % (width, height, x, y), "+repage", shot],
                       check=True)
        os.remove(full)
        print("gallery: %dx%d window at (%d, %d), saved to %s" % (width, height, x, y, shot))
        return 0
    finally:
        if gallery:
            os.killpg(gallery.pid, 15)
            gallery.wait()
        xvfb.terminate()
        xvfb.wait()


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
