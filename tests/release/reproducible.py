#!/usr/bin/env python3
"""Checks that the release bundle's programs come out the same whenever one
commit is built: the button's libraries and DLLs in the bundle, built in the
release's own folders, are byte for byte those of the test builds, built in
others; and each program of the bundle, linked again, is the same file.

  reproducible.py RELEASE_FOLDER X64_BUILD X86_BUILD
"""

import glob
import os
import shutil
import subprocess
import sys


def built(build, name):
    """The file of that name that the build made itself (not an installed or consumer copy)."""
    for folder, directories, files in os.walk(build):
        directories[:] = [d for d in directories if d not in ("consumer", "release", "wineprefix")]
        if name in files:
            return os.path.join(folder, name)
    return None


def same(first, second):
    with open(first, "rb") as a, open(second, "rb") as b:
        return a.read() == b.read()


def main(argv):
    if len(argv) != 3:
        sys.exit(__doc__)
    release, builds = argv[0], {"x64": argv[1], "x86": argv[2]}
    bundle = glob.glob(os.path.join(release, "quorvelinde-*"))[0]
    failures, compared = [], 0
    for arch, build in builds.items():
        for path in sorted(glob.glob(os.path.join(bundle, "button", arch, "*", "*.*"))):
            if not path.endswith((".dll", ".a")):
                continue
            other = built(build, os.path.basename(path))
            compared += 1
            if other is None or not same(path, other):
                failures.append("%s differs from %s" % (os.path.relpath(path, bundle), other))
        programs = ["Quorvelinde.exe"] + (["QuorvelindePublish.exe"] if arch == "x64" else [])
        for program in programs:
            first = os.path.join(release, arch, program)
            aside = first + ".first"
            shutil.move(first, aside)
            subprocess.run(["cmake", "--build", os.path.join(release, arch), "--target", program[:-4]], check=True,
                           stdout=subprocess.DEVNULL)
            compared += 1
            if not same(first, aside):
                failures.append("%s/%s differs when linked again" % (arch, program))
            os.remove(aside)
    for failure in failures:
        print("FAILED: " + failure)
    print("%d files compared, %d differ" % (compared, len(failures)))
    return 1 if failures or compared < 10 else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
