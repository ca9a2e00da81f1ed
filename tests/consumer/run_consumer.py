#!/usr/bin/env python3
"""Builds the consumer project one way and runs its two dialog programs under Wine.

  run_consumer.py build|run MODE SOURCE BUILD

MODE is add_subdirectory (the button pulled in from SOURCE), find_package
(against the package that `cmake --install BUILD` puts under a prefix) or
clang (add_subdirectory, everything built with Debian's clang). BUILD is the
project's Windows build folder; the consumer builds go below it.
"""

import os
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
PROGRAMS = ("dialog_c.exe", "dialog_cpp.exe")


def run(*command, **options):
    print("+", " ".join(command), flush=True)
    subprocess.run(command, check=True, **options)


def build(mode, source, main_build):
    folder = os.path.join(main_build, "consumer", mode)
    toolchain = "clang-mingw-w64-x86_64.cmake" if mode == "clang" else "mingw-w64-x86_64.cmake"
    configure = ["cmake", "-S", HERE, "-B", folder, "-G", "Ninja", "-DCMAKE_BUILD_TYPE=Release",
                 "-DCMAKE_TOOLCHAIN_FILE=" + os.path.join(source, "cmake", toolchain)]
    if mode == "find_package":
        prefix = os.path.join(main_build, "consumer", "prefix")
        run("cmake", "--install", main_build, "--prefix", prefix)
        # The toolchain keeps package searches inside the MinGW root; the
        # package's own folder is named directly.
        configure.append("-DQuorvelinde_DIR=" + os.path.join(prefix, "lib", "cmake", "Quorvelinde"))
    else:
        configure.append("-DQUORVELINDE_SOURCE=" + source)
    run(*configure, stdout=subprocess.DEVNULL)
    run("cmake", "--build", folder)


def run_programs(mode, main_build):
    folder = os.path.join(main_build, "consumer", mode)
    failed = 0
    for program in PROGRAMS:
        print("== %s (%s)" % (program, mode), flush=True)
        code = subprocess.call([os.path.join(main_build, "wine-run"), os.path.join(folder, program)],
                               stdin=subprocess.DEVNULL)
        failed += code != 0
    return failed


def main(argv):
    if len(argv) != 4 or argv[0] not in ("build", "run") or argv[1] not in ("add_subdirectory", "find_package", "clang"):
        sys.exit(__doc__)
    step, mode, source, main_build = argv[0], argv[1], os.path.abspath(argv[2]), os.path.abspath(argv[3])
    if step == "build":
        build(mode, source, main_build)
        return 0
    return 1 if run_programs(mode, main_build) else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
