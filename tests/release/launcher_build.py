#!/usr/bin/env python3
"""Builds what a support desk builds for its server, as docs/support-desk.md's
"Building for your server" says: the windows-launcher preset, with a server
and a pin, and nothing of the tests. GoogleTest's sources and the harness's
Python are pointed at nothing, and no build step may call openssl,
osslsigncode or GoogleTest.

  launcher_build.py SOURCE BUILD
"""

import os
import subprocess
import sys

PIN = "36f4f683f0860f1399ee19375ce5da2e3e136958df52950e5946c84c988f3e61"


def main(argv):
    if len(argv) != 2:
        sys.exit(__doc__)
    source, build = (os.path.abspath(a) for a in argv)
    folder = os.path.join(build, "release", "windows-launcher")
    subprocess.run(["cmake", "--preset", "windows-launcher", "-B", folder,
                    "-DQUORVELINDE_SERVER=https://updates.example.com", "-DQUORVELINDE_SIGNER_PINS=" + PIN,
                    "-DQV_GOOGLETEST_SOURCE=/nonexistent", "-DQV_PYTHON=/nonexistent"],
                   cwd=source, check=True, stdout=subprocess.DEVNULL)
    subprocess.run(["cmake", "--build", folder], check=True, stdout=subprocess.DEVNULL)
    failures = []
    for program in ("Quorvelinde.exe", "QuorvelindePublish.exe"):
        if not os.path.isfile(os.path.join(folder, program)):
            failures.append("%s was not built" % program)
    with open(os.path.join(folder, "build.ninja"), encoding="utf-8") as f:
        steps = f.read()
    for tool in ("openssl", "osslsigncode", "googletest", "gtest", "/nonexistent"):
        if tool in steps:
            failures.append("a build step uses %s" % tool)
    for failure in failures:
        print("FAILED: " + failure)
    print("built %s without the test packages" % folder if not failures else "")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
