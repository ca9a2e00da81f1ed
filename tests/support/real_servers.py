"""The web server and the caching proxy operators run, from Debian's packages,
for the end-to-end tests: nginx serving a folder and squid in front of it,
each on a free port of 127.0.0.1, with its configuration and logs in a
folder of the test's. Each stops when the test stops it, and by itself after
`lifetime` seconds."""

import os
import signal
import socket
import subprocess
import time

# What nginx logs of each request and its answer, and squid of each request
# and where it took the answer from (TCP_MISS, TCP_MEM_HIT, TCP_REFRESH_...).
NGINX_LOG_FORMAT = ('$request $status $body_bytes_sent cc="$http_cache_control" pragma="$http_pragma" '
                    'ims="$http_if_modified_since" inm="$http_if_none_match" encoding="$sent_http_content_encoding" '
                    'length="$sent_http_content_length" via="$http_via" quorvelinde="$http_x_quorvelinde"')
SQUID_LOG_FORMAT = ('%Ss/%03>Hs %rm %ru cc="%{Cache-Control}>h" pragma="%{Pragma}>h" '
                    'ims="%{If-Modified-Since}>h" inm="%{If-None-Match}>h"')

# The lines docs/support-desk.md gives for nginx: every cache on the way asks the server again.
NGINX_NO_CACHE = """
    location /tamorix/ {
        add_header Cache-Control "no-cache";
    }
"""

# squid.conf's own refresh rules, as Debian ships them.
SQUID_DEFAULT_REFRESH = """
refresh_pattern ^ftp: 1440 20% 10080
refresh_pattern -i (/cgi-bin/|\\?) 0 0% 0
refresh_pattern . 0 20% 4320
"""


def free_port():
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


def wait_for_port(port, process, seconds=30):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        if process.poll() is not None:
            raise RuntimeError("the server ended at once with %d" % process.returncode)
        try:
            with socket.create_connection(("127.0.0.1", port), timeout=0.5):
                return
        except OSError:
            time.sleep(0.1)
    raise RuntimeError("nothing listens on port %d after %d s" % (port, seconds))


class Server:
    """A server process in a session of its own, ended with everything it started."""

    def __init__(self, folder, command, port):
        self.folder = folder
        self.port = port
        self.address = "127.0.0.1:%d" % port
        with open(os.path.join(folder, "output.txt"), "w") as out:
            self.process = subprocess.Popen(command, stdin=subprocess.DEVNULL, stdout=out, stderr=subprocess.STDOUT,
                                            start_new_session=True)
        try:
            wait_for_port(port, self.process)
        except Exception:
            self.stop()
            raise

    def log_lines(self):
        path = os.path.join(self.folder, "access.log")
        if not os.path.exists(path):
            return []
        with open(path, encoding="utf-8", errors="replace") as f:
            return [line.rstrip("\n") for line in f]

    def stop(self):
        if self.process.poll() is None:
            os.killpg(self.process.pid, signal.SIGTERM)
            try:
                self.process.wait(10)
            except subprocess.TimeoutExpired:
                os.killpg(self.process.pid, signal.SIGKILL)
                self.process.wait()


def start_nginx(folder, root, gzip=False, no_cache=False, lifetime=600):
    """nginx serving `root`; with gzip its answers come compressed, and so chunked."""
    os.makedirs(folder, exist_ok=True)
    port = free_port()
    compression = "gzip on; gzip_min_length 1; gzip_types text/plain application/octet-stream;" if gzip else ""
    config = os.path.join(folder, "nginx.conf")
    with open(config, "w") as f:
        f.write("""daemon off;
master_process off;
worker_processes 1;
pid {folder}/nginx.pid;
error_log {folder}/error.log;
events {{ worker_connections 64; }}
http {{
    log_format qv '{log_format}';
    access_log {folder}/access.log qv;
    client_body_temp_path {folder}/body;
    proxy_temp_path {folder}/proxy;
    fastcgi_temp_path {folder}/fastcgi;
    uwsgi_temp_path {folder}/uwsgi;
    scgi_temp_path {folder}/scgi;
    types {{ text/plain txt; application/octet-stream exe; }}
    {compression}
    server {{
        listen 127.0.0.1:{port};
        root {root};
        {no_cache}
    }}
}}
""".format(folder=folder, log_format=NGINX_LOG_FORMAT, port=port, root=root, compression=compression,
           no_cache=NGINX_NO_CACHE if no_cache else ""))
    return Server(folder, ["timeout", str(lifetime), "nginx", "-c", config, "-p", folder], port)


def start_squid(folder, password=None, large_objects=False, lifetime=600):
    """squid with its default caching in memory. With `password` ("user:secret")
    it answers 407 to whoever does not log in; with `large_objects` it also
    keeps objects of a few megabytes."""
    os.makedirs(folder, exist_ok=True)
    # squid drops root for its own user, which must reach its files.
    os.chmod(folder, 0o777)
    port = free_port()
    rules = "http_access allow localhost\n"
    if password:
        user, secret = password.split(":", 1)
        hashed = subprocess.run(["openssl", "passwd", "-apr1", secret], check=True, capture_output=True,
                                text=True).stdout.strip()
        passwords = os.path.join(folder, "passwords")
        with open(passwords, "w") as f:
            f.write("%s:%s\n" % (user, hashed))
        os.chmod(passwords, 0o644)
        rules = ("auth_param basic program /usr/lib/squid/basic_ncsa_auth %s\n"
                 "auth_param basic realm Quorvelinde-Test\n"
                 "acl login proxy_auth REQUIRED\n"
                 "http_access allow localhost login\n" % passwords)
    config = os.path.join(folder, "squid.conf")
    with open(config, "w") as f:
        f.write("""http_port 127.0.0.1:{port}
pid_filename {folder}/squid.pid
cache_log {folder}/cache.log
logformat qv {log_format}
access_log {folder}/access.log qv
coredump_dir {folder}
visible_hostname quorvelinde-test
shutdown_lifetime 0 seconds
{large}
{rules}http_access deny all
{refresh}""".format(port=port, folder=folder, log_format=SQUID_LOG_FORMAT, rules=rules, refresh=SQUID_DEFAULT_REFRESH,
                    large="maximum_object_size_in_memory 8 MB" if large_objects else ""))
    return Server(folder, ["timeout", str(lifetime), "squid", "-N", "-f", config], port)
