#!/usr/bin/env python3
"""A loopback HTTP server for the update tests, started by the test itself.

    update_test_server.py CONTROL_DIR

Everything goes through CONTROL_DIR, a directory the test owns:
  routes.json    what to answer, read again for every request:
                 {"/path": {"status": 200, "body": "file in CONTROL_DIR",
                            "length": 123,   # announced Content-Length (default: the body's)
                            "cut": 10,       # send only this many body bytes, then close
                            "stall": true,   # answer nothing until the server stops
                            "spread": 3000}} # send the body in 50 pieces over 3000 ms
                 Paths not listed get 404.
  port           written once the server listens on 127.0.0.1
  requests.log   one line per request, written before answering: the path,
                 a tab and the User-Agent
  stopped        written when the server has ended

It ends on GET /__stop, or by itself once CONTROL_DIR has disappeared, so a
test that dies cannot leave it behind.
"""
import http.server
import json
import os
import sys
import threading

control = sys.argv[1]
stop = threading.Event()


def control_file(name):
    return os.path.join(control, name)


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.0"  # one request per connection, closed after it

    def log_message(self, *args):
        pass

    def do_GET(self):
        # Headers arrive as bytes that http.server reads as Latin-1; written
        # back the same way, a GBK user agent keeps its bytes.
        with open(control_file("requests.log"), "a", encoding="latin-1") as log:
            log.write(self.path + "\t" + self.headers.get("User-Agent", "") + "\n")
        if self.path == "/__stop":
            self.answer(200, b"stopping")
            stop.set()
            return
        try:
            with open(control_file("routes.json")) as f:
                route = json.load(f).get(self.path)
        except (OSError, ValueError):
            route = None
        if route is None:
            self.answer(404, b"not found")
            return
        if route.get("stall"):
            stop.wait()
            return  # the connection closes without an answer
        body = b""
        if "body" in route:
            with open(control_file(route["body"]), "rb") as f:
                body = f.read()
        self.answer(route.get("status", 200), body, route.get("length", len(body)), route.get("cut"),
                    route.get("spread", 0))

    def answer(self, status, body, length=None, cut=None, spread=0):
        self.send_response(status)
        self.send_header("Content-Type", "application/octet-stream")
        self.send_header("Content-Length", str(len(body) if length is None else length))
        self.end_headers()
        body = body if cut is None else body[:cut]
        pieces = 50 if spread else 1
        step = (len(body) + pieces - 1) // pieces or 1
        try:
            for start in range(0, len(body), step):
                self.wfile.write(body[start:start + step])
                self.wfile.flush()
                if spread and stop.wait(spread / pieces / 1000):
                    return
        except OSError:
            pass  # the client went away (a test killed it): nothing to answer


def watch_control_dir():
    while not stop.wait(0.2):
        if not os.path.isdir(control):
            stop.set()


def main():
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    server.daemon_threads = True
    temporary = control_file("port.tmp")
    with open(temporary, "w") as f:
        f.write(str(server.server_address[1]))
    os.replace(temporary, control_file("port"))
    threading.Thread(target=watch_control_dir, daemon=True).start()
    threading.Thread(target=lambda: (stop.wait(), server.shutdown()), daemon=True).start()
    server.serve_forever(poll_interval=0.1)
    server.server_close()
    try:
        with open(control_file("stopped"), "w") as f:
            f.write("stopped")
    except OSError:
        pass


main()
