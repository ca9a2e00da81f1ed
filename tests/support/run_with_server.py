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


def start_server(server_args):
    """Starts distserver.py with these arguments; returns the process and its port."""
    if "--lifetime" not in server_args:
        server_args = [*server_args, "--lifetime", "900"]
    server = subprocess.Popen([sys.executable, os.path.join(HERE, "distserver.py"), *server_args],
                              stdout=subprocess.PIPE, stdin=subprocess.DEVNULL, text=True)
    line = server.stdout.readline().split()
    if len(line) != 2 or line[0] != "PORT":
        stop_server(server)
        sys.exit("the test server did not start")
    return server, int(line[1])


def stop_server(server):
    server.terminate()
    try:
        server.wait(timeout=5)
    except subprocess.TimeoutExpired:
        server.kill()
        server.wait()


def main(argv):
    if "--" not in argv:
        sys.exit(__doc__)
    split = argv.index("--")
    server_args, command = argv[:split], argv[split + 1:]
    server, port = start_server(server_args)
    try:
        env = dict(os.environ, QV_TEST_SERVER="127.0.0.1:%d" % port)
        return subprocess.call(command, env=env)
    finally:
        stop_server(server)


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
