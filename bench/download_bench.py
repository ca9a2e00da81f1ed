#!/usr/bin/env python3
"""Download benchmark: NetGrab against the platform's own download and curl.

Serves the same random 64 MiB and 256 MiB files from a loopback test server and
times, for each size, NetGrab (start to DownloadComplete, under Wine), the
platform's blocking URLDownloadToFileW (same Wine) and curl (native). Every
figure is the median of --runs runs; every request carries its own query so no
cache can answer it. The last line printed is

  netgrab_vs_platform=R1 netgrab_vs_curl=R2 linear=R3 peak_mem_ratio=R4

R1, R2: time ratios at 64 MiB; R3: NetGrab's 256 MiB time over its 64 MiB
time; R4: NetGrab's peak working set over the file size at 256 MiB.
"""

import argparse
import glob
import os
import shutil
import re
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "tools"))
sys.path.insert(0, os.path.join(HERE, "..", "tests", "support"))
from run_with_server import start_server, stop_server  # noqa: E402

MIB = 1024 * 1024
SIZES = (64, 256)


def run_windows(build, *args):
    # Both downloads pass through the prefix's web cache; start each from an
    # empty one, or the cache's growth (Wine never trims it) skews the times.
    for cache in glob.glob(os.path.join(build, "wineprefix", "drive_c", "users", "*", "AppData", "Local",
                                        "Microsoft", "Windows", "INetCache")):
        shutil.rmtree(cache, ignore_errors=True)
    result = subprocess.run([os.path.join(build, "wine-run"), *args], capture_output=True, text=True, cwd=build)
    if result.returncode != 0:
        sys.exit("%s failed: %s %s" % (args[0], result.stdout, result.stderr))
    return dict(re.findall(r"(\w+)=([\d.]+)", result.stdout))


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--build", default=os.path.join(HERE, "..", "build", "windows"))
    parser.add_argument("--runs", type=int, default=3)
    args = parser.parse_args()
    build = os.path.abspath(args.build)

    with tempfile.TemporaryDirectory(prefix="qv-bench-") as root:
        for size in SIZES:
            with open(os.path.join(root, "r%d.bin" % size), "wb") as f:
                for _ in range(size):
                    f.write(os.urandom(MIB))
        server, port = start_server(["--root", root, "--lifetime", "1800"])
        try:
            netgrab, platform, curl, peak = {}, {}, {}, {}
            request = 0
            for size in SIZES:
                base = "http://127.0.0.1:%d/r%d.bin" % (port, size)
                ng, pf, cu, pk = [], [], [], []
                for _ in range(args.runs):
                    request += 1
                    out = run_windows(build, "netgrab_fetch.exe", "%s?run=%d" % (base, request))
                    if int(out["bytes"]) != size * MIB:
                        sys.exit("NetGrab received %s bytes" % out["bytes"])
                    ng.append(float(out["seconds"]))
                    pk.append(int(out["peak_working_set"]))
                    request += 1
                    out = run_windows(build, "platform_download_bench.exe", "%s?run=%d" % (base, request),
                                      "C:\\qv-bench-platform.bin")
                    pf.append(float(out["seconds"]))
                    os.remove(os.path.join(build, "wineprefix", "drive_c", "qv-bench-platform.bin"))
                    target = os.path.join(root, "curl.bin")
                    started = time.perf_counter()
                    subprocess.run(["curl", "-s", "-f", "-o", target, base], check=True)
                    cu.append(time.perf_counter() - started)
                    os.remove(target)
                netgrab[size], platform[size], curl[size] = map(statistics.median, (ng, pf, cu))
                peak[size] = max(pk)
                print("%4d MiB: netgrab %.3f s (peak working set %.1f MiB), platform %.3f s, curl %.3f s"
                      % (size, netgrab[size], peak[size] / MIB, platform[size], curl[size]), flush=True)
        finally:
            stop_server(server)

    print("netgrab_vs_platform=%.2f netgrab_vs_curl=%.2f linear=%.2f peak_mem_ratio=%.2f" % (
        netgrab[64] / platform[64], netgrab[64] / curl[64], netgrab[256] / netgrab[64], peak[256] / (256 * MIB)))


if __name__ == "__main__":
    main()
