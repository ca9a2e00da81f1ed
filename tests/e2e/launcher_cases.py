#!/usr/bin/env python3
"""End-to-end cases of Quorvelinde.exe under Wine: each case lays out a
distribution server on 127.0.0.1, links a launcher for it, places it in a
fresh program folder, runs it under the window probe and checks what the user
and the file system end up with.

  launcher_cases.py BUILD_DIR CASE      run one case (exit 0 when it passes)
  launcher_cases.py --list              the case names
"""

import contextlib
import filecmp
import glob
import os
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools"))
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
import launcher_kit as kit  # noqa: E402
from run_with_server import start_server, stop_server  # noqa: E402

OLD, NEW, PLAIN = "stub_client_old", "stub_client_new", "stub_client_plain"
OLD_VERSION, NEW_VERSION = "5.2.0.14", "5.3.1.7"
STATUS_STARTING = "Aktuelle Version wird gestartet..."
STATUS_EXISTING = "Vorhandene Version wird gestartet..."
STATUS_LOADING = "Aktuelle Version wird geladen: "
WARNING = ("Die Quorvelinde konnte nicht gestartet werden.\r\n\r\n"
           "Bitte wenden Sie sich an Ihren Administrator.")
CLIENT_URL_PATH = "/tamorix/tamorix.exe"
VERSION_URL_PATH = "/tamorix/tamorixversion.txt"


class Run:
    """One case: its server, program folder and what came out of a launcher run."""

    def __init__(self, build_dir, name):
        self.build = build_dir
        self.work = tempfile.mkdtemp(prefix="qv-e2e-%s-" % name)
        self.served = os.path.join(self.work, "served")
        self.program = os.path.join(self.work, "program")
        self.server_log = os.path.join(self.work, "requests.log")
        self.server = None
        self.failures = []

    def serve(self, version_text, client=NEW, faults=()):
        kit.serve_folder(self.served, version_text, client, self.build)
        args = ["--root", self.served, "--log", self.server_log, "--lifetime", "600"]
        for fault in faults:
            args += ["--fault", fault]
        self.server, port = start_server(args)
        return "127.0.0.1:%d" % port

    def launch(self, program=None, seconds=150, hold=None, close_after_ms=None, env=None):
        """Runs the launcher under the probe, with `env` added to its
        environment; returns (events, seconds it took)."""
        log = os.path.join(self.work, "probe-%d.log" % len(glob.glob(os.path.join(self.work, "probe-*.log"))))
        began = time.monotonic()
        # Where the launcher runs emulated, as a 32-bit program does here, it may take that many times as long.
        seconds *= int(os.environ.get("QV_TIME_SCALE", "1"))
        code = kit.run_probe(self.build, program or os.path.join(self.program, "Quorvelinde.exe"), log, seconds,
                             env=dict(os.environ, **env) if env else None, hold=hold, close_after_ms=close_after_ms)
        took = time.monotonic() - began
        self.check(code == 0, "the probe ended with %d (2: the launcher had to be killed)" % code)
        events = kit.read_probe_log(log)
        return events, took

    def requests(self, path):
        if not os.path.exists(self.server_log):
            return 0
        with open(self.server_log, encoding="utf-8") as f:
            return sum(1 for line in f if line.strip() == "GET " + path)

    def check(self, condition, message):
        if not condition:
            self.failures.append(message)
        return condition

    def close(self):
        if self.server:
            stop_server(self.server)
        if self.failures or os.environ.get("QV_KEEP_WORK"):
            print("work folder kept for inspection: " + self.work)
        else:
            shutil.rmtree(self.work, ignore_errors=True)


def event(events, kind):
    return [e for e in events if e["event"] == kind]


def exit_code(events):
    exits = event(events, "exit")
    return exits[-1]["code"] if exits else None


def served_client(run):
    return os.path.join(run.served, "tamorix", "tamorix.exe")


def local_client(run):
    return os.path.join(run.program, "tamorix.exe")


def stub(run, name):
    return kit.helper(run.build, name + ".exe")


def expect_one_start(run, version, folder, windows_folder=None, starts_file=None):
    """The stub client was started once, from `folder` (as Windows names it)."""
    starts = kit.read_starts(folder, starts_file)
    expected_folder = windows_folder or kit.windows_path(folder)
    if run.check(len(starts) == 1, "expected one client start, saw %d" % len(starts)):
        run.check(starts[0]["version"] == version,
                  "the started client is %r, expected %r" % (starts[0]["version"], version))
        run.check(starts[0]["folder"].lower() == expected_folder.lower(),
                  "the client started in %r, expected %r" % (starts[0]["folder"], expected_folder))
    return starts


def expect_clean_end(run, events):
    run.check(exit_code(events) == 0, "the launcher's exit code is %r" % exit_code(events))
    titles = {e["text"] for e in event(events, "window") if e["class"] == "QuorvelindeMain" and e["visible"]}
    run.check(titles == {"Quorvelinde"}, "the window's titles were %r" % titles)
    # The placeholder may exist before the window shows, never while it shows.
    placeholder = [e for e in event(events, "control") if e.get("id") == 103 and e["text"] == "<Status>" and e["visible"]]
    run.check(not placeholder, "the status placeholder was visible")


def shown_box(run, events):
    """The last message box that showed, titled "Quorvelinde": its handle and
    the texts of its static controls; None when none showed."""
    boxes = [e for e in event(events, "window") if e["class"] == "#32770" and e["visible"]]
    if not run.check(boxes, "no message box appeared"):
        return None
    box = boxes[-1]["hwnd"]
    run.check(boxes[-1]["text"] == "Quorvelinde", "the box's title is %r" % boxes[-1]["text"])
    return box, [e["text"] for e in event(events, "control") if e["parent"] == box and e["class"] == "Static"]


def logged_lines(run, events):
    """This run's lines of the launcher's log."""
    started = event(events, "started")
    return kit.run_log_lines(run.build, started[0]["pid"], run.program) if started else []


def expect_logged(run, events, *starts):
    """The launcher's run log holds, for this run, a line beginning with each of `starts`, in order."""
    if not run.check(event(events, "started"), "the probe did not report the launcher's process"):
        return []
    lines = logged_lines(run, events)
    at = 0
    for start in starts:
        found = next((i for i in range(at, len(lines)) if lines[i].startswith(start)), None)
        if not run.check(found is not None, "the run log lacks %r after line %d: %r" % (start, at, lines)):
            break
        at = found + 1
    return lines


def no_temporary_files(run, folder):
    """Nothing of the launcher's own naming ("tamorix.exe.~..."): no file being written, none moved aside."""
    leftovers = [name for name in os.listdir(folder) if ".~" in name]
    run.check(not leftovers, "temporary files were left behind: %s" % leftovers)


# ---------------------------------------------------------------- the cases

def case_current_client(run):
    server = run.serve(OLD_VERSION)
    kit.place_program(run.build, server, run.program, OLD)
    events, _ = run.launch()
    starts = expect_one_start(run, OLD_VERSION, run.program)
    expect_clean_end(run, events)
    run.check(run.requests(VERSION_URL_PATH) == 1, "the version text was not fetched once")
    run.check(run.requests(CLIENT_URL_PATH) == 0, "a current client was downloaded")
    run.check(filecmp.cmp(local_client(run), stub(run, OLD), shallow=False), "the local client changed")
    run.check(kit.status_texts(events) == [""], "the status line showed %r" % kit.status_texts(events))
    if starts and event(events, "exit") and event(events, "started"):
        gone = event(events, "exit")[-1]["t"] - starts[0]["t"]
        run.check(1990 <= gone <= 4000, "the launcher ended %d ms after starting the client" % gone)
        print("launcher start to client start: %d ms; client start to launcher end: %d ms"
              % (starts[0]["t"] - event(events, "started")[0]["t"], gone))


def case_outdated_client(run):
    # Dripped, so that the download takes long enough to show its progress.
    server = run.serve(NEW_VERSION, faults=[CLIENT_URL_PATH + "=drip,piece=32768,interval=40"])
    kit.place_program(run.build, server, run.program, OLD)
    events, _ = run.launch()
    expect_one_start(run, NEW_VERSION, run.program)
    expect_clean_end(run, events)
    run.check(filecmp.cmp(local_client(run), served_client(run), shallow=False),
              "the saved client differs from the served one")
    texts = [t for t in kit.status_texts(events) if t]
    run.check(texts and texts[-1] == STATUS_STARTING, "the last status text was %r" % (texts[-1:],))
    # The completion report passes on the way to the start message; a slow machine may show it.
    progress = [t for t in texts[:-1] if not t.startswith("Beendet: ")]
    run.check(len(progress) >= 2 and all(t.startswith(STATUS_LOADING) for t in progress),
              "progress texts seen: %r" % progress)
    counts = [int(t[len(STATUS_LOADING):]) for t in progress if t.startswith(STATUS_LOADING)]
    run.check(counts == sorted(counts) and all(0 < c <= os.path.getsize(served_client(run)) for c in counts),
              "progress counts: %r" % counts)
    no_temporary_files(run, run.program)
    expect_logged(run, events, "Quorvelinde 1.00 in ", "Versionstext gelesen: 7 Bytes", 'Lokale Version "5.2.0.14"',
                  "Entscheidung: Versionen verschieden", "Client gelesen: %d Bytes" % os.path.getsize(served_client(run)),
                  "Client gespeichert: ", "Client gestartet: ", "Ende mit Code 0")
    with open(run.server_log, encoding="utf-8") as f:
        requests = f.read()
    run.check(requests.count("X-Quorvelinde: Quorvelinde/1.00 tamorix/5.2.0.14") == 2,
              "the requests did not name the launcher and the local client: %r" % requests)
    run.check(requests.count("Cache-Control: no-cache") == 2 and requests.count("Pragma: no-cache") == 2,
              "the requests did not ask every cache for a fresh answer: %r" % requests)


def case_no_client(run):
    server = run.serve(NEW_VERSION)
    kit.place_program(run.build, server, run.program)
    events, _ = run.launch()
    expect_one_start(run, NEW_VERSION, run.program)
    expect_clean_end(run, events)
    run.check(filecmp.cmp(local_client(run), served_client(run), shallow=False), "the saved client differs")


def announced_as_written(text):
    """A version text written by hand announces the version it names: the current client starts, nothing is fetched."""
    def case(run):
        server = run.serve(text)
        kit.place_program(run.build, server, run.program, NEW)
        events, _ = run.launch()
        expect_clean_end(run, events)
        expect_one_start(run, NEW_VERSION, run.program)
        run.check(run.requests(CLIENT_URL_PATH) == 0, "the current client was downloaded again")
        expect_logged(run, events, "Versionstext gelesen: ", "Entscheidung: Versionen gleich")
    return case


def case_version_fails_client_without_version(run):
    server = run.serve(None, faults=[VERSION_URL_PATH + "=500"])
    kit.place_program(run.build, server, run.program, PLAIN)
    events, _ = run.launch()
    expect_one_start(run, "", run.program)
    expect_clean_end(run, events)
    run.check(run.requests(CLIENT_URL_PATH) == 0, "the client was downloaded although both versions are empty")
    run.check(filecmp.cmp(local_client(run), stub(run, PLAIN), shallow=False), "the local client changed")
    expect_logged(run, events, "Versionstext nicht gelesen: Fehler 31001: HTTP 500", "Lokaler Client ohne Versionsangabe",
                  "Entscheidung: Versionen gleich", "Client gestartet: ")


def case_version_text_beyond_its_limit(run):
    # A server that answers the version URL with a large page: no version text, so the client is fetched.
    server = run.serve(b"5" * 70000)
    kit.place_program(run.build, server, run.program, OLD)
    events, _ = run.launch()
    expect_one_start(run, NEW_VERSION, run.program)
    expect_clean_end(run, events)
    lines = expect_logged(run, events, "Versionstext nicht gelesen: Fehler 6: Overflow: mehr als 65536 Bytes",
                          "Lokale Version", "Entscheidung: Versionen verschieden", "Client gespeichert: ")
    run.check(all(len(line) < 1000 for line in lines), "a log line is longer than 1000 characters")


def case_nothing_to_start(run):
    server = run.serve(None, client=None, faults=[VERSION_URL_PATH + "=404", CLIENT_URL_PATH + "=404"])
    kit.place_program(run.build, server, run.program)
    events, _ = run.launch()
    shown = shown_box(run, events)
    if shown:
        box, texts = shown
        run.check(WARNING in texts, "the box's texts are %r" % texts)
        pressed = [e for e in event(events, "press") if e["hwnd"] == box]
        if run.check(pressed, "the probe did not press OK") and event(events, "exit"):
            # Without a window manager, Wine's X11 driver waits 2 s for the closed box to be
            # withdrawn before the launcher's own 2-s wait begins.
            waited = event(events, "exit")[-1]["t"] - pressed[0]["t"]
            run.check(1900 <= waited <= 5000, "the launcher ended %d ms after OK" % waited)
    run.check(exit_code(events) == 2, "exit code %r: no client started" % exit_code(events))
    run.check(not os.path.exists(local_client(run)), "a client file appeared")
    run.check(not kit.read_starts(run.program), "something was started")


def bad_download(fault):
    def case(run):
        server = run.serve(NEW_VERSION, faults=[CLIENT_URL_PATH + "=" + fault])
        kit.place_program(run.build, server, run.program, OLD)
        events, _ = run.launch()
        run.check(run.requests(CLIENT_URL_PATH) == 1, "the client was not fetched once")
        run.check(filecmp.cmp(local_client(run), stub(run, OLD), shallow=False), "the old client was changed")
        expect_one_start(run, OLD_VERSION, run.program)
        expect_clean_end(run, events)
        no_temporary_files(run, run.program)
        if fault == "404":
            expect_logged(run, events, "Client nicht gelesen: Fehler 31001: HTTP 404", "Client gestartet: ")
    return case


def damaged_client(kind):
    """A tamorix.exe that is no working program is repaired: downloaded anew and started."""
    def case(run):
        server = run.serve(NEW_VERSION)
        kit.place_program(run.build, server, run.program, OLD)
        with open(stub(run, OLD), "rb") as f:
            good = f.read()
        damaged = {
            "empty": b"",
            "garbage": bytes((i * 37 + 11) % 256 for i in range(4096)),
            "cut_off": good[:len(good) // 2],
        }[kind]
        with open(local_client(run), "wb") as f:
            f.write(damaged)
        events, _ = run.launch()
        run.check(run.requests(CLIENT_URL_PATH) == 1, "the client was fetched %d times" % run.requests(CLIENT_URL_PATH))
        run.check(filecmp.cmp(local_client(run), served_client(run), shallow=False), "the damaged client stayed")
        expect_one_start(run, NEW_VERSION, run.program)
        expect_clean_end(run, events)
    return case


def case_client_in_use(run):
    # Held by a reader that lets nobody rename or replace it while it reads.
    server = run.serve(NEW_VERSION)
    kit.place_program(run.build, server, run.program, OLD)
    events, _ = run.launch(hold=("read", local_client(run)))
    run.check(event(events, "holding"), "the probe did not hold the client")
    run.check(run.requests(CLIENT_URL_PATH) == 1, "the client was not fetched")
    run.check(filecmp.cmp(local_client(run), stub(run, OLD), shallow=False), "the held client was changed")
    expect_one_start(run, OLD_VERSION, run.program)
    expect_clean_end(run, events)
    no_temporary_files(run, run.program)
    expect_logged(run, events, "Client gelesen: ", "Update nicht angewendet (Datei in Gebrauch): Fehler 32",
                  "Client gestartet: ")


def case_client_locked(run):
    # Not even readable: the version cannot be asked, which ends the launcher with its error report.
    server = run.serve(NEW_VERSION)
    kit.place_program(run.build, server, run.program, OLD)
    events, _ = run.launch(hold=("none", local_client(run)))
    shown = shown_box(run, events)
    if shown:
        texts = " ".join(shown[1])
        run.check("Die Quorvelinde wurde wegen eines Fehlers beendet." in texts and "Fehlernummer: 32" in texts,
                  "the report says %r" % texts)
    run.check(exit_code(events) == 1, "exit code %r" % exit_code(events))
    run.check(filecmp.cmp(local_client(run), stub(run, OLD), shallow=False), "the locked client was changed")
    expect_logged(run, events, "Versionstext gelesen: ", "Fehlerbericht angezeigt: Fehler 32: ", "Ende mit Code 1")
    run.check(not kit.read_starts(run.program), "a client was started after the error")


def case_folder_outside_ansi(run):
    run.program = os.path.join(run.work, "Fernwartung Ωμ")
    server = run.serve(NEW_VERSION)
    kit.place_program(run.build, server, run.program, OLD)
    events, _ = run.launch()
    expect_one_start(run, NEW_VERSION, run.program)
    expect_clean_end(run, events)
    run.check(filecmp.cmp(local_client(run), served_client(run), shallow=False), "the saved client differs")


def case_drive_root(run):
    devices = os.path.join(kit.ensure_prefix(run.build), "dosdevices")
    letter = next((c for c in "qrstuvwxy" if not os.path.lexists(os.path.join(devices, c + ":"))), None)
    if not run.check(letter, "no free drive letter"):
        return
    link = os.path.join(devices, letter + ":")
    os.makedirs(run.program)
    os.symlink(run.program, link)
    try:
        server = run.serve(NEW_VERSION)
        kit.place_program(run.build, server, run.program, OLD)
        events, _ = run.launch(program=letter + ":\\Quorvelinde.exe")
        expect_one_start(run, NEW_VERSION, run.program, windows_folder=letter + ":\\")
        expect_clean_end(run, events)
        run.check(filecmp.cmp(local_client(run), served_client(run), shallow=False), "the saved client differs")
    finally:
        os.unlink(link)


def case_version_server_stalls(run):
    server = run.serve(NEW_VERSION, faults=[VERSION_URL_PATH + "=stall"])
    kit.place_program(run.build, server, run.program, OLD)
    events, took = run.launch(seconds=150)
    expect_one_start(run, NEW_VERSION, run.program)
    expect_clean_end(run, events)
    run.check(took < 100, "the launcher took %.0f s" % took)
    print("stalled version server: the launcher ended after %.1f s" % took)


def case_closed_during_version_wait(run):
    server = run.serve(NEW_VERSION, faults=[VERSION_URL_PATH + "=stall"])
    kit.place_program(run.build, server, run.program, OLD)
    events, _ = run.launch(close_after_ms=500)
    closes = event(events, "close")
    if run.check(closes and event(events, "exit"), "the window was not closed or the launcher did not end"):
        ended = event(events, "exit")[-1]["t"] - closes[0]["t"]
        run.check(ended < 1000, "the launcher ended %d ms after it was closed" % ended)
    run.check(exit_code(events) == 0, "exit code %r" % exit_code(events))
    run.check(filecmp.cmp(local_client(run), stub(run, OLD), shallow=False), "the client was changed")
    run.check(not kit.read_starts(run.program), "a client was started")


# ------------------------------------------- an update that cannot be applied

@contextlib.contextmanager
def read_only_folder(run):
    """The program folder as a standard user sees C:\\Program Files: nothing in it can be written."""
    subprocess.run(["mount", "--bind", run.program, run.program], check=True)
    try:
        subprocess.run(["mount", "-o", "remount,ro,bind", run.program], check=True)
        yield {"QV_STUB_STARTS": kit.windows_path(os.path.join(run.work, "starts.txt"))}
    finally:
        subprocess.run(["umount", run.program], check=False)


@contextlib.contextmanager
def full_disk(run):
    """The program folder on a disk with 64 KiB to spare: the new client does not fit."""
    pages = lambda path: (os.path.getsize(path) + 4095) // 4096  # noqa: E731
    saved = os.path.join(run.work, "placed")
    shutil.copytree(run.program, saved)
    size = sum(pages(os.path.join(saved, name)) for name in os.listdir(saved)) * 4096 + 64 * 1024
    subprocess.run(["mount", "-t", "tmpfs", "-o", "size=%d" % size, "tmpfs", run.program], check=True)
    try:
        for name in os.listdir(saved):
            shutil.copyfile(os.path.join(saved, name), os.path.join(run.program, name))
        yield {}
    finally:
        subprocess.run(["umount", run.program], check=False)


@contextlib.contextmanager
def running_client(run):
    """The old client runs, as an open support session does, from tamorix.exe itself."""
    client = subprocess.Popen([os.path.join(run.build, "wine-run"), local_client(run), "--stay"],
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, stdin=subprocess.DEVNULL)
    try:
        marker = os.path.join(run.program, "tamorix-running.txt")
        deadline = time.monotonic() + 120
        while not os.path.exists(marker) and time.monotonic() < deadline and client.poll() is None:
            time.sleep(0.2)
        run.check(os.path.exists(marker), "the stand-in client did not start running")
        yield {}
    finally:
        open(os.path.join(run.program, "tamorix-stop.txt"), "w").close()
        try:
            client.wait(60)
        except subprocess.TimeoutExpired:
            client.kill()


@contextlib.contextmanager
def nothing_more(run):
    yield {}


# Each row: what stands in the way, the server's faults, the probe's hold,
# how often the client is fetched, which client ends up on disk and starts,
# the last status text and the log's line on it.
NOT_APPLIED = {
    "read_only_folder": (read_only_folder, [], None, 0, OLD, STATUS_EXISTING,
                         "Update nicht angewendet (Ordner oder Datei nicht beschreibbar): "),
    "disk_full": (full_disk, [], None, 1, OLD, STATUS_EXISTING, "Update nicht angewendet (Datenträger voll): "),
    "client_running": (running_client, [], None, 1, NEW, STATUS_STARTING,
                       "Client gespeichert: "),
    "scanner": (nothing_more, [], "scan", 1, NEW, STATUS_STARTING, "Client gestartet: "),
    "cut_http10": (nothing_more, [CLIENT_URL_PATH + "=close"], None, 1, OLD, STATUS_EXISTING,
                   "Update nicht angewendet (Download unvollständig): "),
    "cut_chunked": (nothing_more, [CLIENT_URL_PATH + "=chunked_cut"], None, 1, OLD, STATUS_EXISTING,
                    "Update nicht angewendet (Download unvollständig): "),
    "cut_gzip": (nothing_more, [CLIENT_URL_PATH + "=gzip_cut"], None, 1, OLD, STATUS_EXISTING,
                 "Update nicht angewendet (Download unvollständig): "),
    "trickling_server": (nothing_more, [CLIENT_URL_PATH + "=drip,piece=8192,interval=10000"], None, 1, OLD,
                         STATUS_EXISTING, "Update nicht angewendet (Download zu langsam): "),
}


def not_applied(row):
    """A whole client starts whatever stands in the way of the update, the
    folder keeps nothing of the attempt, and the log names the cause."""
    def case(run):
        trouble, faults, hold, fetched, on_disk, status, logged = NOT_APPLIED[row]
        server = run.serve(NEW_VERSION, faults=faults)
        kit.place_program(run.build, server, run.program, OLD)
        with trouble(run) as env:
            events, took = run.launch(env=env, hold=(hold, run.program) if hold else None, seconds=300)
            # The scanner looks every millisecond, and on a busy machine the launcher may start the new
            # client before it looks: then the same again, from the old client.
            for _ in range(3):
                if row != "scanner" or any(line.startswith("Client nicht gestartet: ") for line in logged_lines(run, events)):
                    break
                shutil.copyfile(stub(run, OLD), local_client(run))
                os.remove(os.path.join(run.program, kit.STARTED_MARKER))
                open(run.server_log, "w").close()
                events, took = run.launch(env=env, hold=(hold, run.program), seconds=300)
            starts_file = env.get("QV_STUB_STARTS")
            expect_one_start(run, OLD_VERSION if on_disk == OLD else NEW_VERSION, run.program,
                             starts_file=starts_file and os.path.join(run.work, "starts.txt"))
            expected = stub(run, OLD) if on_disk == OLD else served_client(run)
            run.check(filecmp.cmp(local_client(run), expected, shallow=False),
                      "the client on disk is not the %s one, whole" % ("old" if on_disk == OLD else "new"))
        run.check(exit_code(events) == 0, "the launcher's exit code is %r" % exit_code(events))
        run.check(run.requests(CLIENT_URL_PATH) == fetched,
                  "the client was fetched %d times, expected %d" % (run.requests(CLIENT_URL_PATH), fetched))
        texts = [t for t in kit.status_texts(events) if t]
        run.check(texts and texts[-1] == status, "the last status text was %r" % (texts[-1:],))
        lines = expect_logged(run, events, logged, "Ende mit Code 0")
        print("the launcher took %.1f s; its log:\n  %s" % (took, "\n  ".join(lines)))
        if row == "scanner":
            scanned = [e["file"] for e in event(events, "scanned")]
            run.check("tamorix.exe" in scanned, "the scanner held no new client: %r" % scanned)
            run.check(any(line.startswith("Client nicht gestartet: ") for line in lines),
                      "the scanner never stood in the start's way")
        if row == "client_running":
            # The client that ran from the old file keeps it until it ends; a later start removes it.
            events, _ = run.launch()
            expect_logged(run, events, "Entscheidung: Versionen gleich", "Ende mit Code 0")
        no_temporary_files(run, run.program)
    return case


CASES = {
    "current_client": case_current_client,
    "outdated_client": case_outdated_client,
    "no_client": case_no_client,
    "version_with_line_end": announced_as_written(NEW_VERSION + "\r\n"),
    "version_with_byte_order_mark": announced_as_written(b"\xef\xbb\xbf" + NEW_VERSION.encode("ascii")),
    "version_fails_client_without_version": case_version_fails_client_without_version,
    "version_text_beyond_its_limit": case_version_text_beyond_its_limit,
    "nothing_to_start": case_nothing_to_start,
    "client_download_404": bad_download("404"),
    "client_download_truncated": bad_download("truncate,at=100000"),
    "client_download_html_page": bad_download("html200"),
    "client_empty": damaged_client("empty"),
    "client_garbage": damaged_client("garbage"),
    "client_cut_off": damaged_client("cut_off"),
    "client_in_use": case_client_in_use,
    "client_locked": case_client_locked,
    "folder_outside_ansi": case_folder_outside_ansi,
    "drive_root": case_drive_root,
    "version_server_stalls": case_version_server_stalls,
    "closed_during_version_wait": case_closed_during_version_wait,
    **{"not_applied." + row: not_applied(row) for row in NOT_APPLIED},
}


def run_cases(cases, argv, usage):
    """The command line of an end-to-end script: --list, or BUILD_DIR CASE."""
    if argv == ["--list"]:
        print(";".join(cases))
        return 0
    if len(argv) != 2 or argv[1] not in cases:
        sys.exit(usage)
    run = Run(os.path.abspath(argv[0]), argv[1])
    try:
        cases[argv[1]](run)
    finally:
        run.close()
    for failure in run.failures:
        print("FAILED: " + failure)
    return 1 if run.failures else 0


if __name__ == "__main__":
    sys.exit(run_cases(CASES, sys.argv[1:], __doc__))
