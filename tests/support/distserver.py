#!/usr/bin/env python3
"""Distribution test server: serves files from a folder on 127.0.0.1 and can
misbehave on request, so that downloads can be tested against every fault a
real server or network shows.

Prints "PORT <n>" on its first line of standard output once it listens, and
stops by itself after --lifetime seconds.

Faults are chosen per request with the query (?fault=KIND&...) or per path with
--fault PATH=KIND[,key=value...]. Kinds:
  404, 500     that status with an HTML body
  html200      an HTML page with status 200 instead of the file
  truncate     announce the whole length, send `at` bytes (default 5 %), close
  delay        wait `ms` milliseconds (default 3000), then answer normally
  stall        send the headers, then nothing until the client gives up
  silent       answer nothing at all, not even the headers
  drip         send `piece` bytes (default 1024) every `interval` ms (default 50)
  reset        send the headers and `at` bytes, then reset the connection
  redirect     302 to the same path without the fault (or to `to`)
  chunked      chunked transfer encoding, `piece` bytes a chunk (default 4096)
The cut-off answers that carry no length to tell them by, cut at `at` bytes
(default half the body) or, compressed, at the `fraction` of it (default 0.6):
  close        an HTTP/1.0 answer whose body ends where the connection closes
  chunked_cut  chunked encoding that ends without its last chunk
  gzip_cut     a gzip-encoded body without length, cut short
Besides the folder, /gen/<n> serves n bytes of a fixed pattern (see pattern())
and /headers answers with the request's own headers as text. /count/<name>
answers how often it was asked for, marked as cacheable for an hour, so a
client that asks for the newest version sees the count grow. With --tls CERT
KEY it serves https.
"""

import argparse
import gzip
import http.server
import os
import socket
import ssl
import struct
import sys
import threading
import time
import urllib.parse

HTML_PAGE = (b"<!DOCTYPE html><html><head><title>Nicht gefunden</title></head>"
             b"<body><h1>Die Seite gibt es nicht</h1></body></html>\n")


ROW = bytes((7 * j) & 0xFF for j in range(256))
SHIFTED_ROWS = [bytes((b + shift) & 0xFF for b in ROW) for shift in range(256)]


def pattern(n):
    """Byte i is (i*7 + (i>>8)*13 + (i>>16)*31) mod 256; the tests compute the same.

    Within a 256-byte block k that is row j*7 shifted by 13k + 31(k>>8), which
    lets large bodies be built from prepared rows."""
    blocks = (n + 255) // 256
    return b"".join(SHIFTED_ROWS[(13 * k + 31 * (k >> 8)) & 0xFF] for k in range(blocks))[:n]


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    server_version = "distserver/1"

    def log_message(self, fmt, *args):
        if self.server.log:
            with self.server.log_lock, open(self.server.log, "a", encoding="utf-8") as log:
                log.write("%s %s\n" % (self.command, self.path))
                for name in ("Cache-Control", "Pragma", "User-Agent", "X-Quorvelinde"):
                    if self.headers.get(name):
                        log.write("  %s: %s\n" % (name, self.headers.get(name)))

    def do_GET(self):
        url = urllib.parse.urlsplit(self.path)
        query = dict(urllib.parse.parse_qsl(url.query))
        fault = query.pop("fault", None)
        if fault is None and url.path in self.server.faults:
            fault, options = self.server.faults[url.path]
            query = {**options, **query}
        if url.path == "/headers":
            return self.send_whole(str(self.headers).encode("latin-1"))
        if url.path.startswith("/count/"):
            return self.send_count(url.path)
        body = self.body_for(url.path)
        if fault is None:
            if body is None:
                return self.send_page(404)
            return self.send_whole(body)
        handler = getattr(self, "fault_" + fault, None)
        if fault in ("404", "500"):
            return self.send_page(int(fault))
        if handler is None:
            return self.send_page(400)
        if body is None:
            return self.send_page(404)
        handler(url.path, body, query)

    def body_for(self, path):
        if path.startswith("/gen/"):
            try:
                return pattern(int(path[5:]))
            except ValueError:
                return None
        if not self.server.root:
            return None
        local = os.path.realpath(os.path.join(self.server.root, urllib.parse.unquote(path).lstrip("/")))
        if not local.startswith(self.server.root + os.sep) or not os.path.isfile(local):
            return None
        return local

    def headers_for(self, status, length, content_type="application/octet-stream"):
        self.send_response(status)
        self.send_header("Content-Type", content_type)
        if length is not None:
            self.send_header("Content-Length", str(length))
        self.end_headers()

    def send_count(self, path):
        with self.server.log_lock:
            count = self.server.counts.get(path, 0) + 1
            self.server.counts[path] = count
        body = str(count).encode("ascii")
        self.send_response(200)
        self.send_header("Content-Type", "text/plain")
        self.send_header("Content-Length", str(len(body)))
        self.send_header("Cache-Control", "public, max-age=3600")
        self.send_header("Last-Modified", "Mon, 07 Dec 2026 10:00:00 GMT")
        self.end_headers()
        self.wfile.write(body)

    def send_page(self, status):
        self.headers_for(status, len(HTML_PAGE), "text/html; charset=utf-8")
        self.wfile.write(HTML_PAGE)

    @staticmethod
    def size_of(body):
        return len(body) if isinstance(body, bytes) else os.path.getsize(body)

    @staticmethod
    def read_part(body, start, count):
        if isinstance(body, bytes):
            return body[start:start + count]
        with open(body, "rb") as f:
            f.seek(start)
            return f.read(count)

    def send_whole(self, body):
        self.headers_for(200, self.size_of(body))
        if isinstance(body, bytes):
            self.wfile.write(body)
        else:
            with open(body, "rb") as f:
                self.connection.sendfile(f)

    def fault_html200(self, path, body, query):
        self.headers_for(200, len(HTML_PAGE), "text/html; charset=utf-8")
        self.wfile.write(HTML_PAGE)

    def fault_truncate(self, path, body, query):
        size = self.size_of(body)
        at = int(query.get("at", size // 20))
        self.headers_for(200, size)
        self.wfile.write(self.read_part(body, 0, at))
        self.close_connection = True

    def fault_reset(self, path, body, query):
        size = self.size_of(body)
        at = int(query.get("at", size // 20))
        self.headers_for(200, size)
        self.wfile.write(self.read_part(body, 0, at))
        # Mid-body: the client has read the bytes when the reset comes.
        self.server.stopping.wait(0.2)
        self.connection.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack("ii", 1, 0))
        # Closed here, a reset alone: the server's own closing would first end the stream in order.
        self.connection.close()
        self.close_connection = True

    def fault_delay(self, path, body, query):
        if not self.server.stopping.wait(float(query.get("ms", 3000)) / 1000.0):
            self.send_whole(body)

    def fault_stall(self, path, body, query):
        self.headers_for(200, self.size_of(body))
        self.wfile.flush()
        self.server.stopping.wait(float(query.get("seconds", self.server.lifetime)))
        self.close_connection = True

    def fault_silent(self, path, body, query):
        self.server.stopping.wait(float(query.get("seconds", self.server.lifetime)))
        self.close_connection = True

    def fault_drip(self, path, body, query):
        size = self.size_of(body)
        piece = int(query.get("piece", 1024))
        interval = float(query.get("interval", 50)) / 1000.0
        self.headers_for(200, size)
        for start in range(0, size, piece):
            if self.server.stopping.is_set():
                break
            self.wfile.write(self.read_part(body, start, piece))
            time.sleep(interval)

    def fault_redirect(self, path, body, query):
        target = query.get("to", path)
        self.send_response(302)
        self.send_header("Location", "http://%s:%d%s" % (self.server.server_address[0], self.server.server_address[1], target))
        self.send_header("Content-Length", "0")
        self.end_headers()

    def fault_chunked(self, path, body, query):
        size = self.size_of(body)
        piece = int(query.get("piece", 4096))
        self.send_response(200)
        self.send_header("Content-Type", "application/octet-stream")
        self.send_header("Transfer-Encoding", "chunked")
        self.end_headers()
        for start in range(0, size, piece):
            data = self.read_part(body, start, piece)
            self.wfile.write(b"%x\r\n%s\r\n" % (len(data), data))
        self.wfile.write(b"0\r\n\r\n")


    def cut_at(self, body, query):
        return int(query.get("at", self.size_of(body) // 2))

    def fault_close(self, path, body, query):
        self.protocol_version = "HTTP/1.0"
        self.send_response(200)
        self.send_header("Content-Type", "application/octet-stream")
        self.send_header("Connection", "close")
        self.end_headers()
        self.wfile.write(self.read_part(body, 0, self.cut_at(body, query)))
        self.close_connection = True

    def fault_chunked_cut(self, path, body, query):
        at = self.cut_at(body, query)
        self.send_response(200)
        self.send_header("Content-Type", "application/octet-stream")
        self.send_header("Transfer-Encoding", "chunked")
        self.end_headers()
        for start in range(0, at, 4096):
            data = self.read_part(body, start, min(4096, at - start))
            self.wfile.write(b"%x\r\n%s\r\n" % (len(data), data))
        self.close_connection = True

    def fault_gzip_cut(self, path, body, query):
        packed = gzip.compress(self.read_part(body, 0, self.size_of(body)))
        self.send_response(200)
        self.send_header("Content-Type", "application/octet-stream")
        self.send_header("Content-Encoding", "gzip")
        self.send_header("Connection", "close")
        self.end_headers()
        self.wfile.write(packed[:int(len(packed) * float(query.get("fraction", 0.6)))])
        self.close_connection = True


class Server(http.server.ThreadingHTTPServer):
    daemon_threads = True


def parse_fault(text):
    path, _, spec = text.partition("=")
    kind, *options = spec.split(",")
    return path, (kind, dict(option.split("=", 1) for option in options))


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--root", help="folder whose files are served")
    parser.add_argument("--port", type=int, default=0, help="0 picks a free port")
    parser.add_argument("--lifetime", type=float, default=600, help="seconds until it stops by itself")
    parser.add_argument("--fault", action="append", default=[], type=parse_fault, help="PATH=KIND[,key=value...]")
    parser.add_argument("--log", help="append each request line to this file")
    parser.add_argument("--tls", nargs=2, metavar=("CERT", "KEY"), help="serve https with this certificate and key")
    args = parser.parse_args()

    server = Server(("127.0.0.1", args.port), Handler)
    if args.tls:
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        context.load_cert_chain(*args.tls)
        # The handshake happens in the request's thread: a client that stalls in it holds up nothing else.
        server.socket = context.wrap_socket(server.socket, server_side=True, do_handshake_on_connect=False)
    server.root = os.path.realpath(args.root) if args.root else None
    server.faults = dict(args.fault)
    server.lifetime = args.lifetime
    server.stopping = threading.Event()
    server.log = args.log
    server.log_lock = threading.Lock()
    server.counts = {}

    def stop():
        server.stopping.set()
        server.shutdown()

    timer = threading.Timer(args.lifetime, stop)
    timer.daemon = True
    timer.start()
    print("PORT %d" % server.server_address[1], flush=True)
    try:
        server.serve_forever(poll_interval=0.2)
    except KeyboardInterrupt:
        pass
    finally:
        server.stopping.set()
        server.server_close()


if __name__ == "__main__":
    sys.exit(main())
