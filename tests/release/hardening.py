#!/usr/bin/env python3
"""Reads the shipped programs of a Windows build as a loader would: each
must carry ASLR (DYNAMIC_BASE), on x64 high-entropy addresses, NX
(NX_COMPAT) and the stack protector's runtime, and import no DLL but the
system's. The button's DLL exports exactly its two functions, by their plain
names.

  hardening.py BUILD
"""

import os
import sys

import pefile

SHIPPED = ("Quorvelinde.exe", "QuorvelindePublish.exe", "quorvelinde_button.dll")
DYNAMIC_BASE, NX_COMPAT, HIGH_ENTROPY_VA = 0x40, 0x100, 0x20
# The runtimes MinGW would otherwise leave beside a program; the system's DLLs are all others.
RUNTIMES = ("libstdc++", "libgcc", "libwinpthread", "libssp", "libatomic")


def check(path):
    failures = []
    program = pefile.PE(path)
    wide = program.FILE_HEADER.Machine == pefile.MACHINE_TYPE["IMAGE_FILE_MACHINE_AMD64"]
    wanted = DYNAMIC_BASE | NX_COMPAT | (HIGH_ENTROPY_VA if wide else 0)
    flags = program.OPTIONAL_HEADER.DllCharacteristics
    if flags & wanted != wanted:
        failures.append("DllCharacteristics 0x%04x lack 0x%04x" % (flags, wanted & ~flags))
    imports = [entry.dll.decode("ascii").lower() for entry in getattr(program, "DIRECTORY_ENTRY_IMPORT", [])]
    runtimes = [name for name in imports if name.startswith(RUNTIMES)]
    if runtimes:
        failures.append("imports a runtime DLL: %s" % runtimes)
    with open(path, "rb") as f:
        if b"__stack_chk_fail" not in f.read():
            failures.append("no stack protector")
    if path.endswith(".dll"):
        exports = sorted(symbol.name.decode("ascii") for symbol in program.DIRECTORY_ENTRY_EXPORT.symbols)
        if exports != ["QvButtonRegister", "QvButtonUnregister"]:
            failures.append("exports %s" % exports)
    architecture = "x64" if wide else "x86"
    return architecture, failures


def main(argv):
    if len(argv) != 1:
        sys.exit(__doc__)
    failed = 0
    for name in SHIPPED:
        path = os.path.join(argv[0], name)
        if not os.path.isfile(path):
            print("FAILED: %s was not built" % name)
            failed += 1
            continue
        architecture, failures = check(path)
        for failure in failures:
            print("FAILED: %s (%s): %s" % (name, architecture, failure))
        if not failures:
            print("ok: %s (%s)" % (name, architecture))
        failed += bool(failures)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
