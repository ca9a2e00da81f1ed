#!/usr/bin/env python3
"""Runs a command while a distribution test server is up, then stops the server.

  run_with_server.py [--root DIR] [--fault PATH=KIND...] [--lifetime S] -- COMMAND...

The server's address (127.0.0.1:PORT) is passed to the command in the
environment variable QV_TEST_SERVER. The exit code is the command's.
"""

import os
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))


def main(argv):
    if "--" not in argv:
        sys.exit(__doc__)
    split = argv.index("--")
    server_args, command = argv[:split], argv[split + 1:]
    if "--lifetime" not in server_args:
        server_args += ["--lifetime", "900"]
    server = subprocess.Popen([sys.executable, os.path.join(HERE, "distserver.py"), *server_args],
                              stdout=subprocess.PIPE, stdin=subprocess.DEVNULL, text=True)
    try:
        line = server.stdout.readline().split()
        if len(line) != 2 or line[0] != "PORT":
            sys.exit("the test server did not start")
        env = dict(os.environ, QV_TEST_SERVER="127.0.0.1:" + line[1])
        return subprocess.call(command, env=env)
    finally:
        server.terminate()
        try:
            server.wait(timeout=5)
        except subprocess.TimeoutExpired:
            server.kill()
            server.wait()


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
