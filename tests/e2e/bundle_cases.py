#!/usr/bin/env python3
"""End-to-end cases of the release bundle, as a support desk without a
compiler uses it under Wine: the bundle that tools/release made is unpacked,
its SHA256SUMS checked, and the desk's documented steps run with nothing
but what the bundle holds, on a PATH that reaches no compiler.

  bundle_cases.py BUILD_DIR BUNDLE_ZIP CASE   run one case (exit 0 when it passes)
  bundle_cases.py --list                      the case names
"""

import filecmp
import glob
import hashlib
import os
import re
import shutil
import subprocess
import sys
import zipfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools"))
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
import launcher_kit as kit  # noqa: E402
from launcher_cases import (NEW_VERSION, OLD, OLD_VERSION, exit_code, expect_clean_end, expect_logged,  # noqa: E402
                            expect_one_start, local_client, run_cases, served_client, shown_box, stub)
from run_with_server import start_server  # noqa: E402
from trust_cases import pki  # noqa: E402

# What a desk's PATH must not reach: the bundle is for those who do not build.
COMPILERS = re.compile(r"^(gcc|g\+\+|cc|c\+\+|cpp|clang|clang\+\+|ld|as|cmake|ctest|ninja|make|windres|go|gofmt)([-.].*)?$"
                       r"|mingw32|-linux-gnu-")


def desk_path(work):
    """A folder of links to the system's commands, compilers and linkers left out."""
    folder = os.path.join(work, "desk-bin")
    os.makedirs(folder, exist_ok=True)
    for directory in ("/usr/bin", "/bin", "/usr/sbin"):
        for name in os.listdir(directory):
            if COMPILERS.search(name) or os.path.lexists(os.path.join(folder, name)):
                continue
            os.symlink(os.path.join(directory, name), os.path.join(folder, name))
    return folder


class Desk:
    """The unpacked bundle, and its command run as the desk runs it."""

    def __init__(self, run, bundle):
        self.run = run
        self.folder = os.path.join(run.work, "bundle")
        with zipfile.ZipFile(bundle) as archive:
            archive.extractall(self.folder)
        self.root = glob.glob(os.path.join(self.folder, "quorvelinde-*"))[0]
        self.env = dict(os.environ, PATH=desk_path(run.work))

    def path(self, *parts):
        return os.path.join(self.root, *parts)

    def command(self, *arguments):
        """QuorvelindePublish.exe with these arguments (Unix paths are given as Wine names them); (exit code, output)."""
        named = [kit.windows_path(a) if os.path.isabs(a) else a for a in arguments]
        out = subprocess.run([os.path.join(self.run.build, "wine-run"), self.path("QuorvelindePublish.exe"), *named],
                             capture_output=True, stdin=subprocess.DEVNULL, env=self.env, timeout=300)
        said = out.stdout.decode("utf-8", "replace")
        print("$ QuorvelindePublish.exe %s\n%s" % (" ".join(named), said))
        return out.returncode, said


def digest(path):
    with open(path, "rb") as f:
        return hashlib.sha256(f.read()).hexdigest()


def case_the_desks_steps_from_the_bundle_alone(run, bundle):
    desk = Desk(run, bundle)
    with open(desk.path("SHA256SUMS"), encoding="utf-8") as f:
        sums = dict(reversed(line.rstrip("\n").split("  ", 1)) for line in f)
    listed = sorted(os.path.relpath(p, desk.root) for p in glob.glob(desk.path("**", "*"), recursive=True)
                    if os.path.isfile(p) and not p.endswith("SHA256SUMS"))
    run.check(sorted(sums) == listed, "SHA256SUMS lists %d files, the bundle holds %d" % (len(sums), len(listed)))
    run.check(all(digest(desk.path(name)) == sums[name] for name in sums if name in listed),
              "a file differs from its SHA256SUMS line")
    for needed in ("launcher/x64/Quorvelinde.exe", "launcher/x86/Quorvelinde.exe", "button/x86/bin/quorvelinde_button.dll",
                   "button/x64/include/quorvelinde/button.h", "docs/support-desk.md"):
        run.check(needed in sums, "the bundle lacks %s" % needed)

    # 1. The pin, from the signing certificate as PEM and as DER, and from a program signed with it.
    keys, pins = pki(run)
    der = os.path.join(run.work, "signer-a.cer")
    subprocess.run(["openssl", "x509", "-in", os.path.join(keys, "signer-a.pem"), "-outform", "der", "-out", der],
                   check=True)
    for source in (os.path.join(keys, "signer-a.pem"), der, os.path.join(keys, "client-signed-a.exe")):
        code, said = desk.command("pin", source)
        run.check(code == 0 and said.strip() == pins["a"], "the pin of %s: %d, %r" % (os.path.basename(source), code, said))

    # 2. Stamp a copy of the bundle's launcher for the server, 3. sign it.
    run.served = os.path.join(run.work, "served")
    os.makedirs(run.served)
    run.server, port = start_server(["--root", run.served, "--log", run.server_log, "--lifetime", "600"])
    server = "127.0.0.1:%d" % port
    original = desk.path("launcher", "x64", "Quorvelinde.exe")
    before = digest(original)
    stamped = os.path.join(run.work, "stamped.exe")
    code, said = desk.command("stamp", original, stamped, server, pins["a"])
    run.check(code == 0 and ("Server %s, Signaturprüfung mit 1 Schlüssel-Pin(s)" % server) in said
              and "neu" in said, "stamping: %d, %r" % (code, said))
    run.check(digest(original) == before, "the bundle's launcher was changed")
    os.makedirs(run.program)
    signed = os.path.join(run.program, "Quorvelinde.exe")
    subprocess.run(["osslsigncode", "sign", "-certs", os.path.join(keys, "signer-a.pem"), "-key",
                    os.path.join(keys, "signer-a.key"), "-n", "Quorvelinde", "-h", "sha256", "-in", stamped, "-out",
                    signed], check=True, stdout=subprocess.DEVNULL, env=desk.env)
    code, said = desk.command("show", signed)
    run.check(code == 0 and said.startswith("Server %s, " % server) and pins["a"] in said, "show: %d, %r" % (code, said))

    # 4. Publish: the launcher's own pin refuses an unsigned client, takes the signed one.
    code, said = desk.command("--launcher", signed, os.path.join(keys, "client-unsigned.exe"), run.served)
    run.check(code == 1 and "Abgelehnt" in said, "an unsigned client was not refused: %d, %r" % (code, said))
    code, said = desk.command("--launcher", signed, os.path.join(keys, "client-signed-a.exe"), run.served)
    run.check(code == 0, "publishing the signed client: %d, %r" % (code, said))

    # 5. A user's launcher, stamped and signed, updates an outdated client.
    shutil.copyfile(stub(run, OLD), local_client(run))
    events, _ = run.launch()
    expect_one_start(run, NEW_VERSION, run.program)
    expect_clean_end(run, events)
    run.check(filecmp.cmp(local_client(run), os.path.join(keys, "client-signed-a.exe"), shallow=False),
              "the published client did not replace the old one")
    expect_logged(run, events, "Quorvelinde 1.00 in ", "Signatur angenommen: ", "Client gespeichert: ")

    # And refuses an unsigned one that the server sends all the same.
    shutil.copyfile(os.path.join(keys, "client-unsigned.exe"), served_client(run))
    shutil.copyfile(stub(run, OLD), local_client(run))
    os.remove(os.path.join(run.program, kit.STARTED_MARKER))
    events, _ = run.launch()
    expect_one_start(run, OLD_VERSION, run.program)
    expect_logged(run, events, "Update nicht angewendet (Signatur abgelehnt)")

    # Stamped again with another server, the copy takes that one.
    code, said = desk.command("stamp", stamped, os.path.join(run.work, "again.exe"), "updates.example.com", pins["b"])
    code_shown, shown = desk.command("show", os.path.join(run.work, "again.exe"))
    run.check(code == 0 and code_shown == 0 and shown.startswith("Server updates.example.com, ") and pins["b"] in shown,
              "stamping a stamped launcher again: %r" % shown)


def case_a_hostile_stamp_ends_with_the_report_before_any_read(run, bundle):
    desk = Desk(run, bundle)
    keys, pins = pki(run)
    run.served = os.path.join(run.work, "served")
    kit.serve_folder(run.served, NEW_VERSION)
    run.server, port = start_server(["--root", run.served, "--log", run.server_log, "--lifetime", "600"])
    head = "Quorvelinde-Stempel 1\nServer: 127.0.0.1:%d\n" % port
    pin = "Pin: %s\n" % pins["a"]
    hostile = {
        "cut off": (head + pin)[:-20],
        "over-long": head + "Pin: " + "a" * 5000 + "\n",
        "a wrong pin": head + "Pin: " + pins["a"][:-1] + "x\n",
    }
    for what, stamp in hostile.items():
        program = os.path.join(run.work, what.replace(" ", "-"))
        os.makedirs(program)
        launcher = os.path.join(program, "Quorvelinde.exe")
        shutil.copyfile(desk.path("launcher", "x64", "Quorvelinde.exe"), launcher)
        shutil.copyfile(stub(run, OLD), os.path.join(program, "tamorix.exe"))
        data = os.path.join(run.work, "stamp.bin")
        with open(data, "wb") as f:
            f.write(stamp.encode("utf-8"))
        subprocess.run([os.path.join(run.build, "wine-run"), kit.helper(run.build, "stamp_bytes.exe"),
                        kit.windows_path(launcher), kit.windows_path(data)], check=True, stdin=subprocess.DEVNULL)
        run.program = program
        events, _ = run.launch()
        shown = shown_box(run, events)
        if shown:
            texts = " ".join(shown[1])
            run.check("Die Quorvelinde wurde wegen eines Fehlers beendet." in texts and "unbrauchbar" in texts,
                      "%s: the report says %r" % (what, texts))
        run.check(exit_code(events) == 1, "%s: exit code %r" % (what, exit_code(events)))
        run.check(run.requests("/tamorix/tamorixversion.txt") == 0, "%s: the launcher read from the server" % what)
        run.check(not kit.read_starts(program), "%s: a client was started" % what)
    # An unstamped launcher of the bundle knows no server: the same report.
    program = os.path.join(run.work, "unstamped")
    os.makedirs(program)
    shutil.copyfile(desk.path("launcher", "x64", "Quorvelinde.exe"), os.path.join(program, "Quorvelinde.exe"))
    run.program = program
    events, _ = run.launch()
    shown = shown_box(run, events)
    run.check(shown and "kennt noch keinen Server" in " ".join(shown[1]), "the unstamped launcher: %r" % (shown,))
    run.check(exit_code(events) == 1, "unstamped: exit code %r" % exit_code(events))


CASES = {
    "desk_steps": case_the_desks_steps_from_the_bundle_alone,
    "hostile_stamp": case_a_hostile_stamp_ends_with_the_report_before_any_read,
}


if __name__ == "__main__":
    arguments = sys.argv[1:]
    bundle = os.path.abspath(arguments.pop(1)) if len(arguments) == 3 else None
    sys.exit(run_cases({name: (lambda run, case=case: case(run, bundle)) for name, case in CASES.items()}, arguments,
                       __doc__))
