#!/usr/bin/env python3
"""Serves the files of one folder over HTTP on 127.0.0.1 for the update tests.

Usage: feed_server.py FOLDER
Prints the port it listens on (chosen by the system) on the first line of stdout, then serves
until it is stopped. Paths starting with /slow answer only after a minute, like a stalled server.
Every request path is appended to FOLDER/requests.log.
"""
import functools
import http.server
import os
import sys
import time


class Handler(http.server.SimpleHTTPRequestHandler):
    def do_GET(self):
        root = self.directory
        with open(os.path.join(root, "requests.log"), "a", encoding="utf-8") as log:
            log.write(self.path + "\n")
        if self.path.startswith("/slow"):
            time.sleep(60)
        super().do_GET()

    def log_message(self, format, *args):
        pass


def main():
    root = sys.argv[1]
    server = http.server.ThreadingHTTPServer(
        ("127.0.0.1", 0), functools.partial(Handler, directory=root))
    server.daemon_threads = True
    print(server.server_address[1], flush=True)
    server.serve_forever()


if __name__ == "__main__":
    main()
