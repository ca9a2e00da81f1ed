#!/usr/bin/env python3
"""Wait benchmark: the processor time the launcher and the Wine server use
while the launcher waits for a slow version server.

Serves a version text that is held back for 30 s from a loopback test server,
runs a Quorvelinde.exe linked for that server under Wine (its own Xvfb), and
reads the processor time (user + system, from /proc) of the launcher's process
and of the prefix's wineserver over 20 s of that wait. The last line printed is

  wait_cpu_per_s=X

X: processor seconds per second of waiting, launcher and wineserver together.
With --quit, a WM_QUIT is posted to the launcher's thread before the
measurement, as a program that quits while a wait runs leaves one pending.

  wait_bench.py --build BUILD_DIR [--seconds S] [--quit]
"""

import argparse
import os
import shutil
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "tools"))
sys.path.insert(0, os.path.join(HERE, "..", "tests", "support"))
import launcher_kit as kit  # noqa: E402
from run_with_server import start_server, stop_server  # noqa: E402

TICKS = os.sysconf("SC_CLK_TCK")
VERSION_PATH = "/tamorix/tamorixversion.txt"


def cpu_seconds(pid):
    """User and system time of a process so far; None once it is gone."""
    try:
        with open("/proc/%d/stat" % pid) as f:
            fields = f.read().rsplit(")", 1)[1].split()
    except OSError:
        return None
    return (int(fields[11]) + int(fields[12])) / TICKS


def processes(prefix):
    """(pid, name) of the processes that run in this Wine prefix."""
    found = []
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open("/proc/%s/environ" % entry, "rb") as f:
                environ = f.read().split(b"\0")
            with open("/proc/%s/comm" % entry) as f:
                name = f.read().strip()
        except OSError:
            continue
        if ("WINEPREFIX=" + prefix).encode() in environ:
            found.append((int(entry), name))
    return found


def find(prefix, name, seconds=60):
    deadline = time.time() + seconds
    while time.time() < deadline:
        for pid, found in processes(prefix):
            if found.startswith(name):
                return pid
        time.sleep(0.2)
    raise SystemExit("no %s process appeared" % name)


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--build", required=True)
    parser.add_argument("--seconds", type=float, default=20.0)
    parser.add_argument("--quit", action="store_true", help="post WM_QUIT to the launcher first")
    args = parser.parse_args(argv)
    build = os.path.abspath(args.build)
    prefix = kit.ensure_prefix(build)

    work = tempfile.mkdtemp(prefix="qv-wait-bench-")
    server = xvfb = launcher = None
    try:
        served, program = os.path.join(work, "served"), os.path.join(work, "program")
        kit.serve_folder(served, "5.3.1.7", "stub_client_new", build)
        held = int((args.seconds + 10) * 1000)
        server, port = start_server(["--root", served, "--lifetime", "300",
                                     "--fault", "%s=delay,ms=%d" % (VERSION_PATH, held)])
        kit.place_program(build, "127.0.0.1:%d" % port, program, "stub_client_old")
        xvfb, display = kit.start_xvfb()
        launcher = subprocess.Popen(
            [os.path.join(build, "wine-run"), os.path.join(program, "Quorvelinde.exe")],
            env=dict(os.environ, DISPLAY=display, QV_USE_DISPLAY="1"), stdin=subprocess.DEVNULL,
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, start_new_session=True)
        launcher_pid = find(prefix, "Quorvelinde.exe")
        server_pid = find(prefix, "wineserver")
        # Past the start: the window is up and the version read is under way.
        time.sleep(3)
        if args.quit:
            subprocess.run([os.path.join(build, "wine-run"), os.path.join(build, "input_driver.exe"), "Quorvelinde",
                            "quit"], env=dict(os.environ, DISPLAY=display, QV_USE_DISPLAY="1"), check=True,
                           stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            time.sleep(1)
        pids = {"launcher": launcher_pid, "wineserver": server_pid}
        before = {name: cpu_seconds(pid) for name, pid in pids.items()}
        began = time.monotonic()
        time.sleep(args.seconds)
        after = {name: cpu_seconds(pid) for name, pid in pids.items()}
        elapsed = time.monotonic() - began
        if None in after.values() or None in before.values():
            raise SystemExit("a process ended during the wait: %r" % after)
        used = {name: after[name] - before[name] for name in pids}
        for name, seconds in used.items():
            print("%-10s %.2f s of processor time in %.1f s of waiting" % (name, seconds, elapsed))
        print("wait_cpu_per_s=%.3f" % (sum(used.values()) / elapsed))
        return 0
    finally:
        if launcher:
            os.killpg(launcher.pid, 15)
            launcher.wait()
        if xvfb:
            xvfb.terminate()
            xvfb.wait()
        if server:
            stop_server(server)
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
