#!/usr/bin/env python3
"""The end-to-end tests' update site: the version text and the update archive,
each served in a mode the tests choose through /_control/ requests.

Only the standard library, so that Debian's python3 runs it as it is.
"""

import argparse
import os
import select
import signal
import socketserver
import sys
import threading
import time
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer
from urllib.parse import unquote_to_bytes, urlsplit

VERSION_MODES = ("text", "404", "huge", "silent")
ARCHIVE_MODES = ("ok", "chunked", "redirect", "404", "truncated", "chunked-truncated",
                 "silent", "trickle", "no-length")

DEFAULT_TEXT = b"*-1.0-*"
DEFAULT_SIZE = 300000

HUGE_SIZE = 2 * 1024 * 1024 + 100
HUGE_TEXT = b"*-1.1-*"

# Chunk sizes of the chunked modes; the last chunk takes whatever is left.
CHUNK_SIZES = (1000, 65536, 7)

TRICKLE_PIECES = 10
TRICKLE_PAUSE = 0.3

# The longest a "silent" connection is held, and the longest any read or write
# on a connection may stall, so that no handler outlives a vanished client.
SILENT_HOLD = 40.0
SOCKET_TIMEOUT = 30.0

REDIRECT_PATH = "/files/skimdex-1.1.zip"

NOT_FOUND_HTML = (b"<!DOCTYPE html>\n<html><head><title>404 Not Found</title></head>\n"
                  b"<body><h1>Not Found</h1>\n"
                  b"<p>The requested URL was not found on this server.</p></body></html>\n")

# Byte i of the archive is (i * 7 + 13) % 256, so the body repeats every 256
# bytes; 64 KiB of it is a whole number of periods to slice any range from.
_PERIOD = bytes((i * 7 + 13) % 256 for i in range(256))
_BLOCK = _PERIOD * 256
_SOURCE = _BLOCK + _PERIOD


def archive_slice(start, end):
    """Bytes [start, end) of the archive body; end - start at most len(_BLOCK)."""
    offset = start % 256
    return _SOURCE[offset:offset + (end - start)]


def target_path(target):
    """The path of a request target, origin or absolute form alike."""
    try:
        return urlsplit(target).path
    except ValueError:
        return target.partition("?")[0]


def is_control(target):
    return target_path(target).startswith("/_control/")


class State:
    """The modes and the request log, shared by all handler threads."""

    def __init__(self, log_path):
        self._lock = threading.Lock()
        self._log_file = open(log_path, "a", encoding="utf-8") if log_path else None
        self._lines = []
        self.reset()

    def reset(self):
        with self._lock:
            self.version_mode = "text"
            self.version_text = DEFAULT_TEXT
            self.archive_mode = "ok"
            self.size = DEFAULT_SIZE
            self._lines = []

    def apply(self, version=None, text=None, archive=None, size=None):
        with self._lock:
            if text is not None:
                self.version_text = text
                self.version_mode = "text"
            if version is not None:
                self.version_mode = version
            if archive is not None:
                self.archive_mode = archive
            if size is not None:
                self.size = size

    def snapshot(self):
        with self._lock:
            return self.version_mode, self.version_text, self.archive_mode, self.size

    def log(self, line):
        with self._lock:
            self._lines.append(line)
            if self._log_file:
                self._log_file.write(line + "\n")
                self._log_file.flush()

    def lines(self):
        with self._lock:
            return list(self._lines)

    def close(self):
        with self._lock:
            if self._log_file:
                self._log_file.close()
                self._log_file = None


class Server(ThreadingHTTPServer):
    daemon_threads = True
    allow_reuse_address = True
    request_queue_size = 32

    def __init__(self, address, state):
        self.state = state
        self.stopping = threading.Event()
        self._active = 0
        self._idle = threading.Condition()
        super().__init__(address, Handler)

    def server_bind(self):
        # HTTPServer.server_bind asks DNS for a host name we never use.
        socketserver.TCPServer.server_bind(self)
        self.server_name, self.server_port = self.server_address[:2]

    def process_request_thread(self, request, client_address):
        with self._idle:
            self._active += 1
        try:
            super().process_request_thread(request, client_address)
        finally:
            with self._idle:
                self._active -= 1
                self._idle.notify_all()

    def stop_soon(self):
        """Ends serve_forever from any thread, including a handler's own."""
        self.stopping.set()
        threading.Thread(target=self.shutdown, daemon=True).start()

    def wait_for_handlers(self, timeout):
        deadline = time.monotonic() + timeout
        with self._idle:
            while self._active and time.monotonic() < deadline:
                self._idle.wait(deadline - time.monotonic())


class Handler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    server_version = "SkimdexTestSite/1.0"
    timeout = SOCKET_TIMEOUT

    # Logged as soon as the request line is in, before the headers, so that a
    # request the server never answers is on the log too.
    def parse_request(self):
        words = str(self.raw_requestline, "iso-8859-1").split()
        if len(words) >= 2 and not is_control(words[1]):
            self.server.state.log(f"{words[0]} {words[1]}")
        return super().parse_request()

    def do_GET(self):
        self.close_connection = True
        path = target_path(self.path)
        try:
            if path.startswith("/_control/"):
                self.control(path)
            elif path == "/downloads/skimdex.txt":
                self.version_text()
            elif path == "/downloads/skimdex.zip":
                self.archive()
            elif path == REDIRECT_PATH:
                self.whole_archive()
            else:
                self.not_found()
        except (ConnectionError, TimeoutError) as error:
            self.log_message("connection lost: %s", error)

    # --- control ---

    def control(self, path):
        state = self.server.state
        if path == "/_control/set":
            error = self.apply_settings()
            if error:
                self.simple(400, "text/plain", error.encode() + b"\n")
            else:
                self.simple(200, "text/plain", b"ok")
        elif path == "/_control/reset":
            state.reset()
            self.simple(200, "text/plain", b"ok")
        elif path == "/_control/log":
            lines = state.lines()
            body = "".join(line + "\n" for line in lines).encode("utf-8")
            self.simple(200, "text/plain; charset=utf-8", body)
        elif path == "/_control/stop":
            self.simple(200, "text/plain", b"ok")
            self.server.stop_soon()
        else:
            self.not_found()

    def apply_settings(self):
        """Applies the query of /_control/set: all of it, or none and a reason."""
        # Only %XX is decoded, so that "+" in a version text stays "+".
        settings = {}
        query = self.path.partition("?")[2]
        for field in query.split("&") if query else ():
            name, _, raw = field.partition("=")
            value = unquote_to_bytes(raw)
            settings[name] = value if name == "text" else value.decode("utf-8", "replace")
        unknown = set(settings) - {"version", "text", "archive", "size"}
        if unknown:
            return "unknown setting: " + ", ".join(sorted(unknown))
        if "version" in settings and settings["version"] not in VERSION_MODES:
            return "unknown version mode: " + settings["version"]
        if "archive" in settings and settings["archive"] not in ARCHIVE_MODES:
            return "unknown archive mode: " + settings["archive"]
        if "size" in settings:
            if not settings["size"].isdigit():
                return "size must be a whole number of bytes: " + settings["size"]
            settings["size"] = int(settings["size"])
        self.server.state.apply(**settings)
        return None

    # --- the version text ---

    def version_text(self):
        mode, text, _, _ = self.server.state.snapshot()
        if mode == "text":
            self.simple(200, "text/plain", text)
        elif mode == "404":
            self.not_found()
        elif mode == "huge":
            self.simple(200, "text/plain", HUGE_TEXT + b" " * (HUGE_SIZE - len(HUGE_TEXT)))
        elif mode == "silent":
            self.hold_silently()

    # --- the archive ---

    def archive(self):
        _, _, mode, size = self.server.state.snapshot()
        if mode == "ok":
            self.whole_archive(size)
        elif mode == "chunked":
            self.chunked_archive(size, cut=None)
        elif mode == "chunked-truncated":
            self.chunked_archive(size, cut=size // 2)
        elif mode == "redirect":
            location = f"http://{self.server.server_name}:{self.server.server_port}{REDIRECT_PATH}"
            body = (f'<!DOCTYPE html>\n<html><body><p>Moved to <a href="{location}">'
                    f"{location}</a>.</p></body></html>\n").encode()
            self.simple(302, "text/html", body, [("Location", location)])
        elif mode == "404":
            self.not_found()
        elif mode == "truncated":
            self.start_archive([("Content-Length", str(size))])
            self.write_archive(0, size // 2)
        elif mode == "silent":
            self.hold_silently()
        elif mode == "trickle":
            self.start_archive([("Content-Length", str(size))])
            for piece in range(TRICKLE_PIECES):
                if self.server.stopping.wait(TRICKLE_PAUSE):
                    return
                self.write_archive(size * piece // TRICKLE_PIECES,
                                   size * (piece + 1) // TRICKLE_PIECES)
        elif mode == "no-length":
            self.start_archive([])
            self.write_archive(0, size)

    def whole_archive(self, size=None):
        if size is None:
            size = self.server.state.snapshot()[3]
        self.start_archive([("Content-Length", str(size))])
        self.write_archive(0, size)

    def chunked_archive(self, size, cut):
        """The body in chunks; with `cut`, the connection ends once that many
        bytes are out, inside the chunk that holds byte `cut`, no zero chunk."""
        self.start_archive([("Transfer-Encoding", "chunked")])
        start = 0
        sizes = iter(CHUNK_SIZES)
        while start < size:
            end = min(size, start + next(sizes, size))
            self.wfile.write(b"%x\r\n" % (end - start))
            if cut is not None and cut < end:
                self.write_archive(start, cut)
                return
            self.write_archive(start, end)
            self.wfile.write(b"\r\n")
            start = end
        if cut is None:
            self.wfile.write(b"0\r\n\r\n")

    def start_archive(self, headers):
        self.send_response(200)
        self.send_header("Content-Type", "application/zip")
        for name, value in headers:
            self.send_header(name, value)
        self.send_header("Connection", "close")
        self.end_headers()

    def write_archive(self, start, end):
        while start < end:
            step = min(end, start + len(_BLOCK))
            self.wfile.write(archive_slice(start, step))
            start = step

    # --- shared answers ---

    def simple(self, status, content_type, body, headers=()):
        self.send_response(status)
        self.send_header("Content-Type", content_type)
        self.send_header("Content-Length", str(len(body)))
        for name, value in headers:
            self.send_header(name, value)
        self.send_header("Connection", "close")
        self.end_headers()
        self.wfile.write(body)

    def not_found(self):
        self.simple(404, "text/html", NOT_FOUND_HTML)

    def hold_silently(self):
        """Answers nothing until the client gives up, SILENT_HOLD passes or the
        server stops; whatever else the client sends is read and dropped."""
        deadline = time.monotonic() + SILENT_HOLD
        while not self.server.stopping.is_set():
            left = deadline - time.monotonic()
            if left <= 0:
                break
            readable, _, _ = select.select([self.connection], [], [], min(left, 0.25))
            if readable and not self.connection.recv(4096):
                break


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--host", default="127.0.0.1")
    parser.add_argument("--port", type=int, default=18741)
    parser.add_argument("--log", help="append each logged request to this file")
    parser.add_argument("--ready", help="write this file (our pid) once listening")
    args = parser.parse_args()

    state = State(args.log)
    try:
        server = Server((args.host, args.port), state)
    except OSError as error:
        print(f"http_server: cannot listen on {args.host}:{args.port}: {error}",
              file=sys.stderr, flush=True)
        return 1

    # A signal handler runs on the thread inside serve_forever, which
    # shutdown() would wait on forever; stop_soon hands it to another thread.
    for number in (signal.SIGTERM, signal.SIGINT, signal.SIGHUP):
        signal.signal(number, lambda *_: server.stop_soon())

    if args.ready:
        temporary = args.ready + ".tmp"
        with open(temporary, "w", encoding="ascii") as ready:
            ready.write(f"{os.getpid()}\n")
        os.replace(temporary, args.ready)
    print(f"http_server: listening on {args.host}:{args.port}", file=sys.stderr, flush=True)

    try:
        server.serve_forever(poll_interval=0.25)
    finally:
        server.stopping.set()
        server.server_close()
        server.wait_for_handlers(timeout=3.0)
        state.close()
        if args.ready:
            try:
                os.remove(args.ready)
            except FileNotFoundError:
                pass
    print("http_server: stopped", file=sys.stderr, flush=True)
    return 0


if __name__ == "__main__":
    sys.exit(main())
