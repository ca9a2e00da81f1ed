#!/usr/bin/env python3
"""End-to-end cases of a launcher that trusts only what its operator signed,
and of one that fetches over https, under Wine: the keys, certificates and
signed stand-in clients come from tests/support/make_test_pki.py in the build folder,
the https server is the test server with --tls, and its certificate authority
is trusted in the build's private Wine prefix only.

  trust_cases.py BUILD_DIR CASE      run one case (exit 0 when it passes)
  trust_cases.py --list              the case names
"""

import filecmp
import os
import shutil
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools"))
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
import launcher_kit as kit  # noqa: E402
from launcher_cases import (CLIENT_URL_PATH, NEW, NEW_VERSION, OLD, OLD_VERSION, VERSION_URL_PATH,  # noqa: E402
                            event, exit_code, expect_clean_end, expect_logged, expect_one_start, local_client, run_cases,
                            served_client, stub)
from run_with_server import start_server  # noqa: E402

SUPPORT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support")


def pki(run):
    """The test keys and clients (made once per build, beside the helper
    programs that they sign), and the pins of keys A and B."""
    helpers = os.environ.get("QV_TEST_HELPERS") or run.build
    subprocess.run([sys.executable, os.path.join(SUPPORT, "make_test_pki.py"), helpers], check=True)
    folder = os.path.join(helpers, "test-pki")
    pins = {}
    for name in ("a", "b"):
        with open(os.path.join(folder, "pin-%s.txt" % name)) as f:
            pins[name] = f.read().strip()
    return folder, pins


def serve(run, version, client_file, tls=None):
    """Serves `version` and the client file `client_file`; returns the server's address."""
    kit.serve_folder(run.served, version)
    shutil.copyfile(client_file, served_client(run))
    args = ["--root", run.served, "--log", run.server_log, "--lifetime", "600"]
    if tls:
        args += ["--tls", *tls]
    run.server, port = start_server(args)
    return ("https://localhost:%d" if tls else "127.0.0.1:%d") % port


def expect_kept(run, events):
    """A refused download: the old client unchanged, started, no box, and why in the run log."""
    run.check(run.requests(CLIENT_URL_PATH) == 1, "the client was fetched %d times" % run.requests(CLIENT_URL_PATH))
    run.check(filecmp.cmp(local_client(run), stub(run, OLD), shallow=False), "the old client was changed")
    run.check(not [e for e in event(events, "window") if e["class"] == "#32770"], "a box or prompt appeared")
    run.check(not [n for n in os.listdir(run.program) if n.endswith(".tmp")], "a temporary file was left behind")
    expect_one_start(run, OLD_VERSION, run.program)
    expect_clean_end(run, events)
    expect_logged(run, events, "Client gelesen: ", "Signatur abgelehnt: Prüfung ",
                  "Update nicht angewendet (Signatur abgelehnt)")


def signed(client, pins_used, accepted):
    def case(run):
        folder, pins = pki(run)
        server = serve(run, NEW_VERSION, os.path.join(folder, client))
        kit.place_program(run.build, server, run.program, OLD, pins=[pins[k] for k in pins_used])
        events, _ = run.launch()
        if accepted:
            run.check(filecmp.cmp(local_client(run), served_client(run), shallow=False), "the client was not replaced")
            expect_one_start(run, NEW_VERSION, run.program)
            expect_clean_end(run, events)
        else:
            expect_kept(run, events)
    return case


def case_without_pins_an_unsigned_client_is_taken(run):
    folder, _ = pki(run)
    server = serve(run, NEW_VERSION, os.path.join(folder, "client-unsigned.exe"))
    kit.place_program(run.build, server, run.program, OLD)
    events, _ = run.launch()
    run.check(filecmp.cmp(local_client(run), served_client(run), shallow=False), "the client was not replaced")
    expect_one_start(run, NEW_VERSION, run.program)
    expect_clean_end(run, events)


def trusted_https(run):
    """Serves over https with the trusted authority's certificate; the authority is trusted in the prefix."""
    folder, _ = pki(run)
    code = subprocess.call([os.path.join(run.build, "wine-run"), os.path.join(run.build, "trust_root.exe"),
                            kit.windows_path(os.path.join(folder, "tls-ca.der"))],
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, stdin=subprocess.DEVNULL)
    run.check(code == 0, "the test authority could not be trusted in the prefix")
    return (os.path.join(folder, "localhost.pem"), os.path.join(folder, "localhost.key"))


def case_https_current_client(run):
    server = serve(run, OLD_VERSION, stub(run, NEW), tls=trusted_https(run))
    kit.place_program(run.build, server, run.program, OLD)
    events, _ = run.launch()
    run.check(run.requests(VERSION_URL_PATH) == 1, "the version was not fetched over https")
    run.check(run.requests(CLIENT_URL_PATH) == 0, "a current client was downloaded")
    expect_one_start(run, OLD_VERSION, run.program)
    expect_clean_end(run, events)


def case_https_update(run):
    server = serve(run, NEW_VERSION, stub(run, NEW), tls=trusted_https(run))
    kit.place_program(run.build, server, run.program, OLD)
    events, _ = run.launch()
    run.check(filecmp.cmp(local_client(run), served_client(run), shallow=False), "the client was not updated")
    expect_one_start(run, NEW_VERSION, run.program)
    expect_clean_end(run, events)


def case_https_untrusted_certificate(run):
    folder, _ = pki(run)
    trusted_https(run)
    server = serve(run, NEW_VERSION, stub(run, NEW),
                   tls=(os.path.join(folder, "untrusted.pem"), os.path.join(folder, "untrusted.key")))
    kit.place_program(run.build, server, run.program, OLD)
    events, _ = run.launch()
    run.check(filecmp.cmp(local_client(run), stub(run, OLD), shallow=False), "the old client was changed")
    run.check(not [e for e in event(events, "window") if e["class"] == "#32770"], "a box or prompt appeared")
    expect_one_start(run, OLD_VERSION, run.program)
    run.check(exit_code(events) == 0, "the launcher's exit code is %r" % exit_code(events))


CASES = {
    "signed_client_replaces": signed("client-signed-a.exe", "a", True),
    "unsigned_client_refused": signed("client-unsigned.exe", "a", False),
    "other_signer_refused": signed("client-signed-b.exe", "a", False),
    "changed_after_signing_refused": signed("client-changed.exe", "a", False),
    "bytes_beside_the_signature_refused": signed("client-padded-a.exe", "a", False),
    "second_table_entry_refused": signed("client-second-entry-a.exe", "a", False),
    "second_pin_accepted": signed("client-signed-b.exe", "ab", True),
    "without_pins_unsigned_taken": case_without_pins_an_unsigned_client_is_taken,
    "https_current_client": case_https_current_client,
    "https_update": case_https_update,
    "https_untrusted_certificate": case_https_untrusted_certificate,
}

if __name__ == "__main__":
    sys.exit(run_cases(CASES, sys.argv[1:], __doc__))
