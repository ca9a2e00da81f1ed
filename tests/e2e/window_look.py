#!/usr/bin/env python3
"""The launcher window as a user sees it: runs a real Quorvelinde.exe under
Wine on an Xvfb display of a given density, takes a screenshot while the
version text is still on its way and one during the client's download, and
checks the pixels against the layout; checks the program file's icon, logo
and version block as another program reads them.

  window_look.py BUILD_DIR CASE      run one case (exit 0 when it passes)
  window_look.py --list              the case names

The screenshots are kept in BUILD_DIR/artefacts for a person to look at.
"""

import os
import struct
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools"))
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
import launcher_kit as kit  # noqa: E402
from launcher_cases import (CLIENT_URL_PATH, NEW_VERSION, OLD, STATUS_LOADING, STATUS_STARTING,  # noqa: E402
                            VERSION_URL_PATH, event, expect_clean_end, expect_one_start, run_cases)

SOURCE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")
LOGO = os.path.join(SOURCE, "launcher", "assets", "logo.jpg")
ICON = os.path.join(SOURCE, "launcher", "assets", "Quorvelinde.ico")

TITLE = "Die Quorvelinde wird gestartet."
HINT = "Bitte haben Sie einen Moment Geduld."
TITLE_COLOUR = (21, 78, 157)
STATUS_COLOUR = (192, 192, 192)
FRAME_COLOUR = (224, 224, 224)
WHITE = (255, 255, 255)

# Twips at 96 dots per inch, 15 a pixel.
CLIENT = (0, 0, 7575, 4215)
BOXES = {
    "title": (360, 360, 6840, 345),
    "hint": (360, 840, 6840, 345),
    "logo": (2640, 1320, 2415, 2115),
    "status": (360, 3600, 6840, 345),
}
LABEL_IDS = {"title": 101, "hint": 102, "status": 103}

WS_CAPTION, WS_THICKFRAME, WS_EX_APPWINDOW = 0x00C00000, 0x00040000, 0x00040000


def pixels(twips, dpi):
    """Half a pixel rounds up: 7575 twips are 758 pixels at 144 dpi."""
    return (twips * dpi * 2 + 1440) // 2880


def box(twips, dpi):
    return tuple(pixels(v, dpi) for v in twips)


def near(colour, reference, tolerance):
    return all(abs(a - b) <= tolerance for a, b in zip(colour, reference))


def inside(x, y, b):
    return b[0] <= x < b[0] + b[2] and b[1] <= y < b[1] + b[3]


# ---------------------------------------------------------------- the window's data

def main_window(events):
    shown = [e for e in event(events, "window") if e["class"] == "QuorvelindeMain" and e["visible"]]
    return shown[-1] if shown else None


def check_window_data(run, events, dpi):
    """The window's size, place, styles, icon and labels as the probe read
    them; returns the client area's screen origin."""
    window = main_window(events)
    if not run.check(window, "the launcher's window never showed"):
        return None
    left, top, right, bottom = window["client"]
    width, height = right - left, bottom - top
    want_w, want_h = pixels(CLIENT[2], dpi), pixels(CLIENT[3], dpi)
    run.check(abs(width - want_w) <= 1 and abs(height - want_h) <= 1,
              "client area %d x %d, expected %d x %d" % (width, height, want_w, want_h))
    run.check(window["rect"] == window["client"], "the window has a frame or caption around its client area")
    screen_w, screen_h = kit.SCREEN
    run.check(abs(left - (screen_w - width) // 2) <= 1 and abs(top - (screen_h - height) // 2) <= 1,
              "the window is at (%d, %d), not centred" % (left, top))
    run.check(not window["style"] & (WS_CAPTION | WS_THICKFRAME), "the window has a caption bar or sizing border")
    run.check(window["exstyle"] & WS_EX_APPWINDOW, "the window has no taskbar button")

    for name, control_id in LABEL_IDS.items():
        seen = [e for e in event(events, "control") if e.get("id") == control_id and e["visible"]]
        if not run.check(seen, "label %d never showed" % control_id):
            continue
        l, t, r, b = seen[0]["rect"]
        actual = (l - left, t - top, r - l, b - t)
        expected = box(BOXES[name], dpi)
        run.check(all(abs(a - e) <= 1 for a, e in zip(actual, expected)),
                  "label %d is at %r, expected %r" % (control_id, actual, expected))
    texts = {e.get("id"): e["text"] for e in event(events, "control") if e["visible"]}
    run.check(texts.get(101) == TITLE and texts.get(102) == HINT,
              "the labels read %r and %r" % (texts.get(101), texts.get(102)))
    return left, top


# ---------------------------------------------------------------- the pixels

def text_pixels(shot, origin, b, colour, tolerance):
    """Pixels of `colour` inside box b, and the text's horizontal extent (None without text)."""
    count, xs = 0, []
    for y in range(b[1], b[1] + b[3]):
        for x in range(b[0], b[0] + b[2]):
            pixel = shot.at(origin[0] + x, origin[1] + y)
            if near(pixel, colour, tolerance):
                count += 1
            if not near(pixel, WHITE, 3):
                xs.append(x)
    return count, ((min(xs), max(xs)) if xs else None)


def check_centred(run, what, b, extent, dpi):
    if extent:
        left_margin, right_margin = extent[0] - b[0], b[0] + b[2] - 1 - extent[1]
        run.check(abs(left_margin - right_margin) <= 2 + dpi // 48,
                  "%s: text not centred (margins %d and %d)" % (what, left_margin, right_margin))


def check_frame_and_background(run, shot, origin, dpi, what):
    """The frame on all four edges, white just inside it, and white everywhere
    outside the labels and the logo: nothing spills and nothing else shows."""
    width, height = pixels(CLIENT[2], dpi), pixels(CLIENT[3], dpi)
    edge = max(1, dpi // 96)
    boxes = [box(b, dpi) for b in BOXES.values()]
    wrong_frame, wrong_inside, stray = [], [], []
    for y in range(height):
        for x in range(width):
            pixel = shot.at(origin[0] + x, origin[1] + y)
            ring = min(x, y, width - 1 - x, height - 1 - y)
            if ring < edge:
                if not near(pixel, FRAME_COLOUR, 3):
                    wrong_frame.append((x, y, pixel))
            elif ring == edge:
                if not near(pixel, WHITE, 3):
                    wrong_inside.append((x, y, pixel))
            elif not any(inside(x, y, b) for b in boxes) and not near(pixel, WHITE, 3):
                stray.append((x, y, pixel))
    run.check(not wrong_frame, "%s: %d frame pixels are not RGB(224, 224, 224), e.g. %r"
              % (what, len(wrong_frame), wrong_frame[:3]))
    run.check(not wrong_inside, "%s: %d pixels just inside the frame are not white, e.g. %r"
              % (what, len(wrong_inside), wrong_inside[:3]))
    run.check(not stray, "%s: %d pixels outside the labels and the logo are not white, e.g. %r"
              % (what, len(stray), stray[:3]))


def logo_difference(shot, origin, b, reference, dx=0, dy=0):
    """Mean and largest channel difference between the logo's box, shifted by
    (dx, dy), and the reference picture."""
    total, worst = 0, 0
    for y in range(b[3]):
        for x in range(b[2]):
            actual = shot.at(origin[0] + b[0] + x + dx, origin[1] + b[1] + y + dy)
            diff = max(abs(p - q) for p, q in zip(actual, reference.at(x, y)))
            total += diff
            worst = max(worst, diff)
    return total / (b[2] * b[3]), worst


def check_logo(run, shot, origin, dpi, what, reference):
    b = box(BOXES["logo"], dpi)
    mean, worst = logo_difference(shot, origin, b, reference)
    # The platform's JPEG decoder and ImageMagick's round a little differently,
    # and scaled, the two smooth filters differ too.
    mean_limit, worst_limit = (4.0, 48) if dpi == 96 else (6.0, 96)
    run.check(mean <= mean_limit and worst <= worst_limit,
              "%s: the logo's box differs from the logo by %.2f on average, %d at most" % (what, mean, worst))
    # In place to the pixel: any shift matches worse.
    for dx, dy in ((-1, 0), (1, 0), (0, -1), (0, 1)):
        shifted, _ = logo_difference(shot, origin, b, reference, dx, dy)
        run.check(shifted > mean, "%s: the logo matches better shifted by (%d, %d)" % (what, dx, dy))
    return mean, worst


def check_labels(run, shot, origin, dpi, what, status_shows_text):
    scale = (dpi / 96.0) ** 2
    for name in ("title", "hint"):
        b = box(BOXES[name], dpi)
        count, extent = text_pixels(shot, origin, b, TITLE_COLOUR, 8)
        run.check(count >= 200 * scale, "%s: the %s row has %d text pixels of RGB(21, 78, 157)" % (what, name, count))
        check_centred(run, "%s, %s row" % (what, name), b, extent, dpi)
    b = box(BOXES["status"], dpi)
    count, extent = text_pixels(shot, origin, b, STATUS_COLOUR, 8)
    if status_shows_text:
        run.check(count >= 100 * scale, "%s: the status row has only %d grey text pixels" % (what, count))
        check_centred(run, "%s, status row" % what, b, extent, dpi)
        pixels_in_row = [shot.at(origin[0] + x, origin[1] + y)
                         for y in range(b[1], b[1] + b[3]) for x in range(b[0], b[0] + b[2])]
        coloured = [p for p in pixels_in_row if max(p) - min(p) > 8 or min(p) < STATUS_COLOUR[0] - 12]
        run.check(not coloured, "%s: the status row holds %d pixels that are not grey text on white"
                  % (what, len(coloured)))
    else:
        run.check(extent is None, "%s: the status row is not blank" % what)


# ---------------------------------------------------------------- the run

def look(dpi):
    def case(run):
        kit.ensure_prefix(run.build, dpi)
        # The version text comes late, so the window can be seen before any
        # progress; the client is dripped, so the download can be seen.
        server = run.serve(NEW_VERSION, faults=[VERSION_URL_PATH + "=delay,ms=4000",
                                                CLIENT_URL_PATH + "=drip,piece=16384,interval=100"])
        kit.place_program(run.build, server, run.program, OLD)
        xvfb, display = kit.start_xvfb(dpi)
        artefacts = os.path.join(run.build, "artefacts")
        os.makedirs(artefacts, exist_ok=True)
        shots = {}
        log = os.path.join(run.work, "probe.log")
        try:
            env = dict(os.environ, DISPLAY=display, QV_USE_DISPLAY="1", QV_DPI=str(dpi))
            with open(log + ".wine", "w") as out:
                probe = subprocess.Popen(kit.probe_command(run.build, os.path.join(run.program, "Quorvelinde.exe"),
                                                           log, 120), env=env, stdin=subprocess.DEVNULL,
                                         stdout=out, stderr=subprocess.STDOUT)
            while probe.poll() is None:
                time.sleep(0.05)
                events = kit.read_probe_log(log) if os.path.exists(log) else []
                window = main_window(events)
                status = kit.status_texts(events)
                phase = None
                if "before" not in shots and window and time.time() * 1000 - window["t"] > 800:
                    phase = "before"
                elif "before" in shots and "during" not in shots and status and status[-1].startswith(STATUS_LOADING):
                    phase = "during"
                if phase:
                    path = os.path.join(artefacts, "window-%ddpi-%s.png" % (dpi, {
                        "before": "before-progress", "during": "during-download"}[phase]))
                    began = time.time() * 1000
                    if kit.screenshot(display, path):
                        shots[phase] = (path, began, time.time() * 1000)
            probe.wait()
        finally:
            xvfb.terminate()
            xvfb.wait()

        events = kit.read_probe_log(log)
        expect_one_start(run, NEW_VERSION, run.program)
        expect_clean_end(run, events)
        origin = check_window_data(run, events, dpi)
        if not run.check(set(shots) == {"before", "during"}, "screenshots taken: %r" % sorted(shots)) or not origin:
            return
        texts = [e for e in event(events, "control") if e.get("id") == 103]
        first_progress = next((e["t"] for e in texts if e["text"].startswith(STATUS_LOADING)), None)
        starting = next((e["t"] for e in texts if e["text"] == STATUS_STARTING), None)
        run.check(first_progress and first_progress > shots["before"][2],
                  "the first screenshot was not taken before the download's first progress")
        run.check(starting and starting > shots["during"][2],
                  "the second screenshot was not taken during the download")

        logo = box(BOXES["logo"], dpi)
        reference = kit.Pixels(LOGO, None if dpi == 96 else (logo[2], logo[3]))
        for phase, what in (("before", "before progress"), ("during", "during the download")):
            shot = kit.Pixels(shots[phase][0])
            check_frame_and_background(run, shot, origin, dpi, what)
            mean, worst = check_logo(run, shot, origin, dpi, what, reference)
            check_labels(run, shot, origin, dpi, what, status_shows_text=phase == "during")
            print("%s: %s (logo differs by %.2f on average, %d at most)" % (what, shots[phase][0], mean, worst))
    return case


# ---------------------------------------------------------------- the program file

def jpeg_frame(data):
    """(JFIF version, start-of-frame marker, width, height, components) of a JPEG file."""
    if data[:2] != b"\xff\xd8" or data[6:11] != b"JFIF\0":
        return None
    version = (data[11], data[12])
    at = 2
    while at + 4 <= len(data) and data[at] == 0xFF:
        marker, length = data[at + 1], struct.unpack(">H", data[at + 2:at + 4])[0]
        if 0xC0 <= marker <= 0xCF and marker not in (0xC4, 0xC8, 0xCC):
            height, width, components = struct.unpack(">HHB", data[at + 5:at + 10])
            return version, marker, width, height, components
        at += 2 + length
    return None


def case_program_resources(run):
    import pefile

    program = pefile.PE(os.path.join(run.build, "Quorvelinde.exe"))
    resources = {}
    for kind in program.DIRECTORY_ENTRY_RESOURCE.entries:
        for name in kind.directory.entries:
            for language in name.directory.entries:
                data = program.get_data(language.data.struct.OffsetToData, language.data.struct.Size)
                resources.setdefault((kind.id, name.id), []).append(data)
    groups = [key for key in resources if key[0] == 14]
    run.check(groups == [(14, 1)], "icon groups: %r" % groups)
    with open(ICON, "rb") as f:
        icon_file = f.read()
    _, _, count = struct.unpack_from("<HHH", icon_file)
    image_size, image_offset = struct.unpack_from("<II", icon_file, 14)
    asset_image = icon_file[image_offset:image_offset + image_size]
    if (14, 1) in resources:
        group = resources[(14, 1)][0]
        reserved, kind, entries = struct.unpack_from("<HHH", group)
        width, height, colours, _, planes, bits, size, image_id = struct.unpack_from("<BBBBHHIH", group, 6)
        run.check((reserved, kind, entries) == (0, 1, 1), "the group has %d images" % entries)
        run.check((width, height, colours, planes, bits, image_id) == (40, 40, 0, 1, 8, 30001),
                  "the group names a %d x %d image, %d bits, id %d" % (width, height, bits, image_id))
        images = resources.get((3, 30001), [])
        if run.check(len(images) == 1, "icon image 30001 is missing"):
            header = struct.unpack_from("<IiiHHIIiiII", images[0])
            run.check(header[:5] == (40, 40, 80, 1, 8) and header[9] in (0, 256),
                      "the icon image's header is %r" % (header,))
            run.check(len(images[0]) == size == 40 + 256 * 4 + 40 * 40 + 8 * 40,
                      "the icon image has %d bytes" % len(images[0]))
            run.check(images[0] == asset_image and count == 1, "the icon image differs from %s" % ICON)
    run.check([key for key in resources if key[0] == 3] == [(3, 30001)], "more than one icon image")

    with open(LOGO, "rb") as f:
        logo = f.read()
    run.check(jpeg_frame(logo) == ((1, 2), 0xC0, 161, 141, 3),
              "the logo is %r, not a baseline JFIF 1.02 of 161 x 141 with three components" % (jpeg_frame(logo),))
    run.check(resources.get((10, 201)) == [logo], "the program's logo differs from %s" % LOGO)

    strings = {}
    translations = []
    for info in program.FileInfo[0]:
        for table in getattr(info, "StringTable", []):
            strings[table.LangID.decode()] = {k.decode(): v.decode() for k, v in table.entries.items()}
        for var in getattr(info, "Var", []):
            translations += list(var.entry.values())
    run.check(strings.get("040704B0", strings.get("040704b0")) == {
        "FileVersion": "1.00", "InternalName": "Quorvelinde", "OriginalFilename": "Quorvelinde.exe",
        "ProductName": "Quorvelinde", "ProductVersion": "1.00"}, "the version strings are %r" % strings)
    run.check(translations == ["0x0407 0x04b0"], "the translation is %r" % translations)

    manifest = resources.get((24, 1), [b""])[0].decode("utf-8")
    run.check("<dpiAwareness" in manifest and "PerMonitorV2" in manifest and "true/pm" in manifest,
              "the manifest does not declare per-monitor density awareness")


CASES = {
    "dpi96": look(96),
    "dpi144": look(144),
    "program_resources": case_program_resources,
}


if __name__ == "__main__":
    sys.exit(run_cases(CASES, sys.argv[1:], __doc__))
