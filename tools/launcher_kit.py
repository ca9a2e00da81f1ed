"""Helpers for running Quorvelinde.exe against a local distribution server
under Wine: link a launcher for a server, place it in a program folder, run it
under the window probe and read what the probe and the stub client recorded.
Used by the end-to-end tests and by tools/run."""

import glob
import json
import os
import re
import shutil
import struct
import subprocess
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
STARTED_MARKER = "tamorix-started.txt"


SCREEN = (1280, 1024)


def start_xvfb(dpi=96):
    """An Xvfb of SCREEN's size on a free display; returns (process, DISPLAY)."""
    read_end, write_end = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "%dx%dx24" % SCREEN,
                             "-dpi", str(dpi), "-nolisten", "tcp"],
                            pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write_end)
    with os.fdopen(read_end) as display:
        number = display.readline().strip()
    return xvfb, ":" + number


def screenshot(display, path):
    """Saves the whole screen of `display` as a PNG file; True when it worked."""
    return subprocess.call(["import", "-display", display, "-window", "root", path],
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL) == 0


class Pixels:
    """The RGB pixels of an image file, read through ImageMagick."""

    def __init__(self, path, size=None):
        command = ["convert", path]
        if size:
            # Smooth enlargement, as the launcher scales its logo.
            command += ["-filter", "Triangle", "-resize", "%dx%d!" % size]
        ppm = subprocess.run(command + ["-depth", "8", "ppm:-"], check=True, capture_output=True).stdout
        # "P6 <width> <height> 255" and one blank, then the pixels.
        header = re.match(rb"P6\s+(\d+)\s+(\d+)\s+255\s", ppm)
        if not header:
            raise ValueError("convert did not write an 8-bit PPM image")
        self.width, self.height = int(header.group(1)), int(header.group(2))
        self.data = ppm[header.end():]

    def at(self, x, y):
        i = (y * self.width + x) * 3
        return tuple(self.data[i:i + 3])


def helper(build_dir, name):
    """A helper program of the tests (the window probe, a stand-in client):
    from the build, or from the folder that QV_TEST_HELPERS names."""
    return os.path.join(os.environ.get("QV_TEST_HELPERS") or build_dir, name)


def link_launcher(build_dir, server, output, pins=(), recipe="launcher-link.json"):
    """Links Quorvelinde.exe (or with recipe "publish-link.json" the publish
    command) for `server` (host[:port], or after http:// or https://) and the
    signing-key `pins` (hex SHA-256 texts) from the objects and archives of the
    Windows build, following the recipe that CMake wrote."""
    with open(os.path.join(build_dir, recipe), encoding="utf-8") as f:
        recipe = json.load(f)
    with tempfile.TemporaryDirectory() as work:
        settings_object = os.path.join(work, "BuildSettings.obj")
        subprocess.run([recipe["compiler"], *recipe["compile_options"], '-DQUORVELINDE_SERVER="%s"' % server,
                        '-DQUORVELINDE_SIGNER_PINS="%s"' % ",".join(pins),
                        "-c", recipe["settings_source"], "-o", settings_object], check=True)
        subprocess.run([recipe["compiler"], "-o", output, *recipe["objects"], settings_object,
                        "-Wl,--start-group", *recipe["archives"], "-Wl,--end-group", *recipe["link_options"]],
                       check=True)


def run_log_lines(build_dir, pid, folder=None):
    """The lines the launcher process `pid` wrote to its run log in the build's
    Wine prefix, without their time and process. Several runs share the file
    and Wine reuses process ids: with `folder` (a Unix path), only the lines
    from the last run that began in that program folder."""
    lines = []
    pattern = os.path.join(build_dir, "wineprefix", "drive_c", "users", "*", "AppData", "Local", "Quorvelinde",
                           "Quorvelinde.log*")
    marker = "[%d] " % pid
    for path in sorted(glob.glob(pattern), reverse=True):
        with open(path, encoding="utf-8", errors="replace") as f:
            lines += [line.rstrip("\r\n").split(marker, 1)[1] for line in f if marker in line]
    if folder:
        beginning = " in %s\\;" % windows_path(folder)
        begun = [i for i, line in enumerate(lines) if line.startswith("Quorvelinde ") and beginning in line]
        lines = lines[begun[-1]:] if begun else []
    return lines


def windows_path(path):
    """The Wine name of a Unix path, through drive Z:."""
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def file_version(path):
    """The fixed file version of a Windows program as "a.b.c.d", or "" when it
    has none: read from the VS_FIXEDFILEINFO block that follows the
    VS_VERSION_INFO key of its version resource."""
    with open(path, "rb") as f:
        data = f.read()
    key = data.find("VS_VERSION_INFO\0".encode("utf-16-le"))
    if key < 0:
        return ""
    at = data.find(struct.pack("<I", 0xFEEF04BD), key, key + 48)
    if at < 0:
        return ""
    ms, ls = struct.unpack_from("<II", data, at + 8)
    return "%d.%d.%d.%d" % (ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF)


def probe_command(build_dir, program, log, seconds, hold=None, close_after_ms=None):
    """The command that starts `program` (a Unix path or a Windows path) under
    the window probe, which kills it after `seconds`. `hold` = ("read" or
    "none", Unix path) keeps that file open meanwhile, ("scan", Unix folder)
    opens each new program file there for a moment as a virus scanner does;
    `close_after_ms` asks the program's window to close that long after it showed."""
    target = program if ":" in program else windows_path(program)
    command = [os.path.join(build_dir, "wine-run"), helper(build_dir, "window_probe.exe"),
               windows_path(log), str(seconds), target]
    if hold:
        command.append("%s:%s" % (hold[0], windows_path(hold[1])))
    elif close_after_ms is not None:
        command.append("close:%d" % close_after_ms)
    return command


def run_probe(build_dir, program, log, seconds, env=None, hold=None, close_after_ms=None):
    """Runs `program` under the window probe (see probe_command) and waits for
    it; returns the probe's exit code (2: killed after `seconds`)."""
    with open(log + ".wine", "w") as out:
        return subprocess.call(probe_command(build_dir, program, log, seconds, hold, close_after_ms), env=env,
                               stdout=out, stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL)


def ensure_prefix(build_dir, dpi=96):
    """Makes sure the build's Wine prefix for `dpi` is ready (wine-run makes
    it on first use) and returns its folder."""
    prefix = os.environ.get("QV_WINEPREFIX", os.path.join(build_dir, "wineprefix"))
    if dpi != 96:
        prefix += "-%ddpi" % dpi
    if not os.path.isfile(os.path.join(prefix, ".quorvelinde-ready")):
        subprocess.call([os.path.join(build_dir, "wine-run"), "cmd", "/c", "exit"],
                        env=dict(os.environ, QV_DPI=str(dpi)),
                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, stdin=subprocess.DEVNULL)
    return prefix


def read_probe_log(log):
    """The probe's events, in order; a line the probe is still writing is left out."""
    with open(log, encoding="utf-8") as f:
        return [json.loads(line) for line in f if line.endswith("\n")]


def read_starts(folder, path=None):
    """The stub client's starts in `folder` (or in the file `path` that
    QV_STUB_STARTS named): dicts with t, version, folder."""
    path = path or os.path.join(folder, STARTED_MARKER)
    if not os.path.exists(path):
        return []
    starts = []
    with open(path, encoding="utf-8") as f:
        for line in f:
            time, rest = line.rstrip("\n").split(" ", 1)
            version, folder_text = rest.split(" folder=", 1)
            starts.append({"t": int(time), "version": version[len("version="):], "folder": folder_text})
    return starts


def status_texts(events, control_id=103):
    """The status label's texts while it showed, in the order the probe saw
    them, without repeats."""
    texts = []
    for event in events:
        if event["event"] == "control" and event.get("id") == control_id and event["visible"]:
            if not texts or texts[-1] != event["text"]:
                texts.append(event["text"])
    return texts


def place_program(build_dir, server, folder, client=None, pins=()):
    """Makes `folder` a program folder: a launcher linked for `server` (and
    the signing-key `pins`) and, when given, the build's stub client `client`
    as tamorix.exe."""
    os.makedirs(folder, exist_ok=True)
    link_launcher(build_dir, server, os.path.join(folder, "Quorvelinde.exe"), pins)
    if client:
        shutil.copyfile(helper(build_dir, client + ".exe"), os.path.join(folder, "tamorix.exe"))


def serve_folder(root, version_text, client=None, build_dir=None):
    """Lays out a distribution folder: the version text file (bytes or str)
    and, when given, a stub client as the served tamorix.exe."""
    os.makedirs(os.path.join(root, "tamorix"), exist_ok=True)
    if version_text is not None:
        data = version_text.encode("latin-1") if isinstance(version_text, str) else version_text
        with open(os.path.join(root, "tamorix", "tamorixversion.txt"), "wb") as f:
            f.write(data)
    if client:
        shutil.copyfile(helper(build_dir, client + ".exe"), os.path.join(root, "tamorix", "tamorix.exe"))
