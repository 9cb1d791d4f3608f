#!/usr/bin/env python3
"""A loopback HTTP server for the update tests, started by the test itself.

    update_test_server.py CONTROL_DIR [--tls HOST]

With --tls it speaks https: at its start it makes a new key and a
certificate for HOST alone (openssl req -x509, valid for a day), writes the
certificate to CONTROL_DIR/cert.der for the test to trust or not, and serves
with it.

Everything goes through CONTROL_DIR, a directory the test owns:
  routes.json    what to answer, read again for every request:
                 {"/path": {"status": 200, "body": "file in CONTROL_DIR",
                            "length": 123,   # announced Content-Length (default: the body's)
                            "cut": 10,       # send only this many body bytes, then close
                            "stall": true,   # answer nothing until the server stops
                            "spread": 3000,  # send the body in 50 pieces over 3000 ms
                            "hold": "name"}} # answer once CONTROL_DIR/name exists
                 Paths not listed get 404.
  port           written once the server listens on 127.0.0.1
  requests.log   one line per request, written before answering: the path,
                 a tab and the User-Agent; with --tls, each connection also
                 logs the line "!connection" and a tab when it arrives, since
                 a client that does not trust the certificate closes it after
                 the handshake without asking for anything
  answers.log    how far the answers have gone: for the Nth request of a path
                 (counted from 1), "path<TAB>N<TAB>bytes" after each piece of
                 its body that has been sent, and "path<TAB>N<TAB>done" once
                 the whole answer is written out (never for a stalled answer
                 or one whose client went away)
  stopped        written when the server has ended
  stop           written by the test: the server ends

It ends on GET /__stop, or by itself once CONTROL_DIR has disappeared, so a
test that dies cannot leave it behind.
"""
import http.server
import json
import os
import socket
import ssl
import subprocess
import sys
import threading

control = sys.argv[1]
tls_host = sys.argv[3] if len(sys.argv) > 3 and sys.argv[2] == "--tls" else None
stop = threading.Event()
answer_lock = threading.Lock()
answer_counts = {}


def control_file(name):
    return os.path.join(control, name)


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.0"  # one request per connection, closed after it

    def log_message(self, *args):
        pass

    def setup(self):
        super().setup()
        self.refused = False
        if tls_host is None:
            return
        # The handshake runs here, on the connection's own thread, so that a
        # client that stalls in it holds up no other.
        with answer_lock:
            with open(control_file("requests.log"), "a", encoding="latin-1") as log:
                log.write("!connection\t\n")
        try:
            self.connection.do_handshake()
        except (ssl.SSLError, OSError):
            self.refused = True

    def handle(self):
        if self.refused:
            return
        try:
            super().handle()
        except (ssl.SSLError, OSError):
            pass  # the client went away in the middle

    def finish(self):
        try:
            super().finish()
        except OSError:
            pass

    def do_GET(self):
        # Headers arrive as bytes that http.server reads as Latin-1; written
        # back the same way, a GBK user agent keeps its bytes.
        with answer_lock:
            with open(control_file("requests.log"), "a", encoding="latin-1") as log:
                log.write(self.path + "\t" + self.headers.get("User-Agent", "") + "\n")
            answer_counts[self.path] = answer_counts.get(self.path, 0) + 1
            self.answer_number = answer_counts[self.path]
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
        if "hold" in route:
            while not os.path.exists(control_file(route["hold"])):
                if stop.wait(0.05):
                    return
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
                self.record_answer(str(min(start + step, len(body))))
                if spread and stop.wait(spread / pieces / 1000):
                    return
        except OSError:
            return  # the client went away (a test killed it): nothing to answer
        self.record_answer("done")

    def record_answer(self, progress):
        with answer_lock:
            with open(control_file("answers.log"), "a", encoding="latin-1") as log:
                log.write("%s\t%d\t%s\n" % (self.path, self.answer_number, progress))


def watch_control_dir():
    while not stop.wait(0.2):
        if not os.path.isdir(control) or os.path.exists(control_file("stop")):
            stop.set()


def tls_context():
    key, pem = control_file("key.pem"), control_file("cert.pem")
    subprocess.run(["/usr/bin/openssl", "req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1",
                    "-nodes", "-days", "1", "-subj", "/CN=" + tls_host, "-addext",
                    "subjectAltName=DNS:" + tls_host, "-keyout", key, "-out", pem],
                   check=True, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    subprocess.run(["/usr/bin/openssl", "x509", "-in", pem, "-outform", "DER", "-out", control_file("cert.der")],
                   check=True, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    context.load_cert_chain(pem, key)
    return context


def main():
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    server.daemon_threads = True
    if tls_host is not None:
        server.socket = tls_context().wrap_socket(server.socket, server_side=True, do_handshake_on_connect=False)
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
