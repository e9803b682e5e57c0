#!/usr/bin/env python3
"""A loopback HTTP server for the download tests.

Serves the files of --root by their paths, and these failures:
  /reset/NAME   the headers of NAME, half its body, then the connection closed
  /huge         a 50 MB body announced by its length
  /slow         no answer for 30 seconds
  /loop         a redirect to itself
  /moved/NAME   a redirect to NAME
Anything else that is not a file answers 404. The first line printed is the port.
"""
import argparse
import http.server
import os
import socketserver
import sys
import time


class Handler(http.server.BaseHTTPRequestHandler):
    root = "."

    def log_message(self, *args):
        pass

    def send_body(self, body, length=None):
        self.send_response(200)
        self.send_header("Content-Length", str(len(body) if length is None else length))
        self.end_headers()
        if self.command != "HEAD":
            self.wfile.write(body)

    def file(self, name):
        path = os.path.realpath(os.path.join(self.root, name.lstrip("/")))
        if not path.startswith(os.path.realpath(self.root)) or not os.path.isfile(path):
            return None
        with open(path, "rb") as f:
            return f.read()

    def do_HEAD(self):
        self.do_GET()

    def do_GET(self):
        path = self.path.split("?")[0]
        if path == "/huge":
            self.send_response(200)
            self.send_header("Content-Length", str(50 * 1024 * 1024))
            self.end_headers()
            try:
                chunk = b"0" * 65536
                for _ in range(800):
                    self.wfile.write(chunk)
            except OSError:
                pass
            return
        if path == "/slow":
            time.sleep(30)
            return
        if path == "/loop":
            self.send_response(302)
            self.send_header("Location", "/loop")
            self.send_header("Content-Length", "0")
            self.end_headers()
            return
        if path.startswith("/moved/"):
            self.send_response(302)
            self.send_header("Location", "/" + path[len("/moved/"):])
            self.send_header("Content-Length", "0")
            self.end_headers()
            return
        if path.startswith("/reset/"):
            body = self.file(path[len("/reset/"):])
            if body is not None:
                self.send_response(200)
                self.send_header("Content-Length", str(len(body)))
                self.end_headers()
                self.wfile.write(body[: len(body) // 2])
                self.wfile.flush()
                self.close_connection = True
                return
        body = self.file(path)
        if body is None:
            self.send_response(404)
            self.send_header("Content-Length", "0")
            self.end_headers()
            return
        self.send_body(body)


class Server(socketserver.ThreadingMixIn, http.server.HTTPServer):
    daemon_threads = True
    allow_reuse_address = True


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--root", required=True)
    args = parser.parse_args()
    Handler.root = args.root
    server = Server(("127.0.0.1", 0), Handler)
    print(server.server_address[1], flush=True)
    server.serve_forever()


if __name__ == "__main__":
    sys.exit(main())
