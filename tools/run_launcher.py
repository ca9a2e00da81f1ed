#!/usr/bin/env python3
"""The main job: runs Quorvelinde.exe under Wine against a local distribution
server that holds a newer client than the one beside the launcher, and reports
what happened.

  run_launcher.py BUILD_DIR OUTPUT_DIR

Uses the display in DISPLAY when there is one, otherwise its own Xvfb; saves a
screenshot of the screen taken during the download to OUTPUT_DIR, and the
launcher's window cut out of it (launcher-window.png). QV_DPI (default 96) sets
the display density the launcher sees.
"""

import os
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "support"))
import launcher_kit as kit  # noqa: E402
from run_with_server import start_server, stop_server  # noqa: E402

SERVED_CLIENT, LOCAL_CLIENT = "stub_client_new", "stub_client_old"


def main(argv):
    if len(argv) != 2:
        sys.exit(__doc__)
    build, output = (os.path.abspath(a) for a in argv)
    os.makedirs(output, exist_ok=True)
    work = tempfile.mkdtemp(prefix="quorvelinde-run-")
    served, program = os.path.join(work, "served"), os.path.join(work, "Fernwartung")
    requests = os.path.join(work, "requests.log")
    server = xvfb = None
    try:
        kit.serve_folder(served, kit.file_version(os.path.join(build, SERVED_CLIENT + ".exe")), SERVED_CLIENT, build)
        # Dripped a little, so that the download can be seen in progress.
        server, port = start_server(["--root", served, "--log", requests, "--lifetime", "300",
                                     "--fault", "/tamorix/tamorix.exe=drip,piece=16384,interval=40"])
        address = "127.0.0.1:%d" % port
        kit.place_program(build, address, program, LOCAL_CLIENT)
        client = os.path.join(program, "tamorix.exe")
        served_client = os.path.join(served, "tamorix", "tamorix.exe")
        print("server:     http://%s/tamorix/ (announces %s, %d bytes of client)"
              % (address, open(os.path.join(served, "tamorix", "tamorixversion.txt")).read(),
                 os.path.getsize(served_client)))
        print("program:    %s" % kit.windows_path(os.path.join(program, "Quorvelinde.exe")))
        print("before:     tamorix.exe version %s" % kit.file_version(client))

        env = dict(os.environ)
        dpi = int(env.get("QV_DPI", "96"))
        print("density:    %d dpi (QV_DPI)" % dpi)
        if env.get("DISPLAY"):
            print("display:    %s (yours)" % env["DISPLAY"])
        else:
            xvfb, env["DISPLAY"] = kit.start_xvfb(dpi)
            print("display:    %s (Xvfb)" % env["DISPLAY"])
        env["QV_USE_DISPLAY"] = "1"

        log = os.path.join(work, "probe.log")
        probe = subprocess.Popen(kit.probe_command(build, os.path.join(program, "Quorvelinde.exe"), log, 120),
                                 env=env, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        shot = os.path.join(output, "launcher-during-download.png")
        shot_taken = False
        while probe.poll() is None:
            time.sleep(0.05)
            if not shot_taken and os.path.exists(log):
                if any(t.startswith("Aktuelle Version wird geladen: ") for t in kit.status_texts(kit.read_probe_log(log))):
                    shot_taken = kit.screenshot(env["DISPLAY"], shot)
        events = kit.read_probe_log(log)
        statuses = [t for t in kit.status_texts(events) if t]
        starts = kit.read_starts(program)
        exits = [e for e in events if e["event"] == "exit"]
        began = events[0]["t"]

        print("status:     %s" % (" -> ".join(statuses[:2] + (["..."] if len(statuses) > 3 else []) + statuses[-1:])
                                  if statuses else "(blank)"))
        print("downloaded: %d request(s) for tamorix.exe, %d bytes saved, %s the served file"
              % (sum(1 for line in open(requests) if line.strip() == "GET /tamorix/tamorix.exe"),
                 os.path.getsize(client), "equal to" if open(client, "rb").read() == open(served_client, "rb").read()
                 else "DIFFERENT FROM"))
        print("after:      tamorix.exe version %s" % kit.file_version(client))
        for start in starts:
            print("started:    client %s in %s, %d ms after the launcher started"
                  % (start["version"], start["folder"], start["t"] - began))
        if not starts:
            print("started:    no client")
        if exits:
            print("exit:       code %d, %d ms after the launcher started" % (exits[-1]["code"], exits[-1]["t"] - began))
        else:
            print("exit:       the launcher did not end in time and was stopped")
        if shot_taken:
            window = os.path.join(output, "launcher-window.png")
            shown = [e for e in events if e["event"] == "window" and e["class"] == "QuorvelindeMain" and e["visible"]]
            left, top, right, bottom = shown[-1]["rect"]
            subprocess.run(["convert", shot, "-crop", "%dx%d+%d+%d" % (right - left, bottom - top, left, top),
                            "+repage", window], check=True)
            print("screenshot: %s, the window alone in %s" % (shot, window))
        else:
            print("screenshot: not taken")
        ok = exits and exits[-1]["code"] == 0 and [s["version"] for s in starts] == [kit.file_version(served_client)]
        return 0 if ok else 1
    finally:
        if server:
            stop_server(server)
        if xvfb:
            xvfb.terminate()
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
