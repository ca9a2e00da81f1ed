#!/usr/bin/env python3
"""End-to-end cases of the publish command under Wine: it writes a server
folder, which a test server then serves to a launcher.

  publish_cases.py BUILD_DIR CASE      run one case (exit 0 when it passes)
  publish_cases.py --list              the case names
"""

import filecmp
import os
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools"))
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
import launcher_kit as kit  # noqa: E402
from launcher_cases import (NEW, NEW_VERSION, OLD, PLAIN, expect_clean_end, expect_one_start,  # noqa: E402
                            local_client, run_cases, stub)
from run_with_server import start_server  # noqa: E402
from trust_cases import pki  # noqa: E402


def publish(run, program, client, folder=None):
    """Runs the publish command for `client` into the served folder, which it
    makes, or into `folder` as Windows names it; returns (exit code, output)."""
    if folder is None:
        os.makedirs(run.served, exist_ok=True)
    out = subprocess.run([os.path.join(run.build, "wine-run"), program, kit.windows_path(client),
                          folder or kit.windows_path(run.served)], capture_output=True, stdin=subprocess.DEVNULL,
                         timeout=120)
    return out.returncode, (out.stdout + out.stderr).decode("utf-8", "replace")


def published(run):
    folder = os.path.join(run.served, "tamorix")
    return sorted(os.listdir(folder)) if os.path.isdir(folder) else []


def update_from(run, pins=()):
    """A launcher with the old client, for a server of the published folder: it must update and start the new one."""
    run.server, port = start_server(["--root", run.served, "--log", run.server_log, "--lifetime", "600"])
    kit.place_program(run.build, "127.0.0.1:%d" % port, run.program, OLD, pins=pins)
    events, _ = run.launch()
    run.check(filecmp.cmp(local_client(run), os.path.join(run.served, "tamorix", "tamorix.exe"), shallow=False),
              "the launcher did not take the published client")
    expect_one_start(run, NEW_VERSION, run.program)
    expect_clean_end(run, events)


def case_published_client_updates_a_launcher(run):
    program = os.path.join(run.build, "QuorvelindePublish.exe")
    # A misspelt or empty folder would be served by nobody: refused, and nothing is made.
    for folder in (kit.windows_path(run.served), ""):
        code, said = publish(run, program, stub(run, NEW), folder)
        run.check(code == 2 and not os.path.exists(run.served), "into %r: %d, %s" % (folder, code, said))
    # What a killed run left behind goes.
    os.makedirs(os.path.join(run.served, "tamorix"))
    open(os.path.join(run.served, "tamorix", "tamorix.exe.~4711-99-0.tmp"), "wb").close()
    code, said = publish(run, program, stub(run, NEW))
    run.check("Übrig gebliebene Datei entfernt: " in said, "the leftover was not named: %s" % said)
    run.check(code == 0, "the publish command ended with %d: %s" % (code, said))
    run.check("Veröffentlicht: Version 5.3.1.7" in said, "it said %r" % said)
    run.check(published(run) == ["tamorix.exe", "tamorixversion.txt"], "the folder holds %r" % published(run))
    with open(os.path.join(run.served, "tamorix", "tamorixversion.txt"), "rb") as f:
        text = f.read()
    run.check(text == NEW_VERSION.encode("ascii"), "the version text is %r" % text)
    update_from(run)


def case_into_a_long_path_name_and_a_failed_text_write(run):
    program = os.path.join(run.build, "QuorvelindePublish.exe")
    os.makedirs(run.served)
    code, said = publish(run, program, stub(run, OLD), "\\\\?\\" + kit.windows_path(run.served))
    run.check(code == 0, "into a \\\\?\\ folder: %d, %s" % (code, said))
    run.check(said.rstrip().endswith('Der Server liefert jetzt: Client 5.2.0.14 mit Versionstext "5.2.0.14"'),
              "the last line does not say what is served: %r" % said)
    # The text cannot be written where a folder stands in its place: the old client goes back.
    text = os.path.join(run.served, "tamorix", "tamorixversion.txt")
    os.remove(text)
    os.mkdir(text)
    code, said = publish(run, program, stub(run, NEW))
    run.check(code == 3 and "der bisherige Client ist zurückgelegt" in said, "a failed text write: %d, %s" % (code, said))
    run.check(filecmp.cmp(os.path.join(run.served, "tamorix", "tamorix.exe"), stub(run, OLD), shallow=False),
              "the old client is not back")
    run.check(said.rstrip().splitlines()[-1].startswith("Der Server liefert jetzt: Client 5.2.0.14 mit keinem Versionstext"),
              "the last line does not say what is served: %r" % said)


def case_with_pins_it_refuses_what_the_launcher_refuses(run):
    folder, pins = pki(run)
    program = os.path.join(run.work, "QuorvelindePublish.exe")
    kit.link_launcher(run.build, "localhost", program, pins=[pins["a"]], recipe="publish-link.json")
    refused = {
        "client-unsigned.exe": "nicht mit einem der Schlüssel des Launchers signiert",
        "client-signed-b.exe": "nicht mit einem der Schlüssel des Launchers signiert",
        "client-padded-a.exe": "weitere Daten bei der Signatur",
    }
    for name, reason in refused.items():
        code, said = publish(run, program, os.path.join(folder, name))
        run.check(code == 1 and "Abgelehnt:" in said and reason in said, "%s: %d, %r" % (name, code, said))
    code, said = publish(run, program, stub(run, PLAIN))
    run.check(code == 1 and "keine Dateiversion" in said, "a client without version: %d, %r" % (code, said))
    run.check(published(run) == [], "a refused client was published: %r" % published(run))

    code, said = publish(run, program, os.path.join(folder, "client-signed-a.exe"))
    run.check(code == 0 and "Signatur angenommen" in said, "the signed client: %d, %r" % (code, said))
    update_from(run, pins=[pins["a"]])


CASES = {
    "published_client_updates_a_launcher": case_published_client_updates_a_launcher,
    "with_pins_it_refuses_what_the_launcher_refuses": case_with_pins_it_refuses_what_the_launcher_refuses,
    "into_a_long_path_name_and_a_failed_text_write": case_into_a_long_path_name_and_a_failed_text_write,
}

if __name__ == "__main__":
    sys.exit(run_cases(CASES, sys.argv[1:], __doc__))
