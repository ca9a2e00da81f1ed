#!/usr/bin/env python3
"""Builds the consumer project one way and runs its two dialog programs under Wine.

  run_consumer.py build|run MODE SOURCE BUILD

MODE is add_subdirectory (the button pulled in from SOURCE), find_package
(against the package that `cmake --install BUILD` puts under a prefix, found
through CMAKE_PREFIX_PATH; the prefix must hold the public face only, and the
project's examples build from it too) or
clang (add_subdirectory, everything built with Debian's clang) or x86 (as
find_package, for 32-bit Windows from a 32-bit build). BUILD is the
project's Windows build folder; the consumer builds go below it. The
programs that load the DLL themselves, in C and in Go, run against the
installed package.
"""

import os
import re
import shutil
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
PROGRAMS = {"add_subdirectory": ("dialog_c.exe", "dialog_cpp.exe"), "clang": ("dialog_c.exe", "dialog_cpp.exe"),
            "find_package": ("dialog_c.exe", "dialog_cpp.exe", "dialog_dll.exe", "button_go.exe"),
            "x86": ("dialog_c.exe", "dialog_dll.exe")}
TOOLCHAINS = {"clang": "clang-mingw-w64-x86_64.cmake", "x86": "mingw-w64-i686.cmake"}
# All an installed prefix may hold: the public headers, the libraries and the package.
INSTALLED = re.compile(r"^(include/quorvelinde/button(\.h|\.hpp|_win\.h)|lib/lib[a-z_]+\.a|lib/libquorvelinde_button\.dll\.a"
                       r"|lib/cmake/Quorvelinde/Quorvelinde[A-Za-z-]*\.cmake|bin/quorvelinde_button\.dll)$")


def run(*command, **options):
    print("+", " ".join(command), flush=True)
    subprocess.run(command, check=True, **options)


def build(mode, source, main_build):
    folder = os.path.join(main_build, "consumer", mode)
    toolchain = TOOLCHAINS.get(mode, "mingw-w64-x86_64.cmake")
    configure = ["cmake", "-S", HERE, "-B", folder, "-G", "Ninja", "-DCMAKE_BUILD_TYPE=Release",
                 "-DCMAKE_TOOLCHAIN_FILE=" + os.path.join(source, "cmake", toolchain)]
    if mode in ("find_package", "x86"):
        prefix = os.path.join(main_build, "consumer", "prefix")
        shutil.rmtree(prefix, ignore_errors=True)
        run("cmake", "--install", main_build, "--prefix", prefix)
        installed = sorted(os.path.relpath(os.path.join(folder_, name), prefix).replace(os.sep, "/")
                           for folder_, _, names in os.walk(prefix) for name in names)
        strangers = [path for path in installed if not INSTALLED.match(path)]
        if strangers or "include/quorvelinde/button.h" not in installed:
            sys.exit("the installed prefix holds more than the public face: %r" % (strangers or installed))
        configure.append("-DCMAKE_PREFIX_PATH=" + prefix)
    else:
        configure.append("-DQUORVELINDE_SOURCE=" + source)
    run(*configure, stdout=subprocess.DEVNULL)
    run("cmake", "--build", folder, "--target", *(program[:-4] for program in PROGRAMS[mode] if program != "button_go.exe"))
    if mode == "find_package":
        # The examples are what a stranger copies: they build from the installed package alone.
        examples = os.path.join(main_build, "consumer", "examples")
        run("cmake", "-S", os.path.join(source, "examples"), "-B", examples, *configure[5:], stdout=subprocess.DEVNULL)
        run("cmake", "--build", examples)
        build_go(folder, main_build)


def build_go(folder, main_build):
    """The Go program beside the DLL it loads: Go's standard library alone, cross-built."""
    work = os.path.join(main_build, "consumer", "go")
    env = dict(os.environ, GOOS="windows", GOARCH="amd64", CGO_ENABLED="0", GOCACHE=os.path.join(work, "cache"),
               GOPATH=os.path.join(work, "path"), GOTOOLCHAIN="local")
    run("go", "build", "-o", os.path.join(folder, "button_go.exe"), ".", cwd=os.path.join(HERE, "go"), env=env)


def run_programs(mode, main_build):
    folder = os.path.join(main_build, "consumer", mode)
    failed = 0
    for program in PROGRAMS[mode]:
        print("== %s (%s)" % (program, mode), flush=True)
        code = subprocess.call([os.path.join(main_build, "wine-run"), os.path.join(folder, program)],
                               stdin=subprocess.DEVNULL)
        failed += code != 0
    return failed


def main(argv):
    if len(argv) != 4 or argv[0] not in ("build", "run") or argv[1] not in PROGRAMS:
        sys.exit(__doc__)
    step, mode, source, main_build = argv[0], argv[1], os.path.abspath(argv[2]), os.path.abspath(argv[3])
    if step == "build":
        build(mode, source, main_build)
        return 0
    return 1 if run_programs(mode, main_build) else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
