#!/usr/bin/python3
# SPDX-License-Identifier: MIT
# A small HTTPS server for the updater tests: serves the files of ROOT and prints its port.
#   /hang/...       accepts the request and never answers
#   /truncated/F    promises F's full length, sends half of it and hangs up
#   /away/P         redirects to the same server under the name "localhost" (another host)
# usage: update-server.py ROOT CERT KEY
import http.server
import os
import ssl
import sys
import time

root, cert, key = sys.argv[1:4]


class Handler(http.server.BaseHTTPRequestHandler):
    def log_message(self, *args):
        pass

    def do_GET(self):
        if self.path.startswith("/hang/"):
            time.sleep(60)
            return
        if self.path.startswith("/away/"):
            self.send_response(302)
            port = self.server.server_address[1]
            self.send_header("Location", "https://localhost:%d/%s" % (port, self.path[len("/away/"):]))
            self.send_header("Content-Length", "0")
            self.end_headers()
            return
        truncated = self.path.startswith("/truncated/")
        name = self.path[len("/truncated/"):] if truncated else self.path.lstrip("/")
        path = os.path.join(root, name)
        if not os.path.isfile(path):
            self.send_error(404)
            return
        with open(path, "rb") as f:
            body = f.read()
        self.send_response(200)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body[: len(body) // 2] if truncated else body)
        if truncated:
            self.wfile.flush()
            self.close_connection = True


server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
server.daemon_threads = True
context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
context.load_cert_chain(cert, key)
# The handshake happens in each request's own thread, so one stalled client never blocks the rest.
server.socket = context.wrap_socket(server.socket, server_side=True, do_handshake_on_connect=False)
print(server.server_address[1], flush=True)
server.serve_forever()
