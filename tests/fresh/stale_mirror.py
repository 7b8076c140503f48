#!/usr/bin/env python3
"""An HTTP proxy for apt that plays a Debian mirror in the middle of a sync.

Everything passes through unchanged, except the package index whose path matches
--index on the hosts of --hosts: its compressed forms are served stale (the last
package stanza missing, so the size and hashes no longer match the signed Release),
and its by-hash path answers 404, as seen on a real mirror.

    stale_mirror.py --port 8631 --hosts deb.debian.org   (only that host is stale)
    stale_mirror.py --port 8631 --hosts all              (every mirror is stale)
"""
import argparse
import bz2
import gzip
import lzma
import re
import shutil
import sys
import urllib.error
import urllib.request
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer
from urllib.parse import urlsplit

CODECS = {
    ".xz": (lzma.decompress, lambda b: lzma.compress(b, preset=6)),
    ".gz": (gzip.decompress, gzip.compress),
    ".bz2": (bz2.decompress, bz2.compress),
    "": (lambda b: b, lambda b: b),
}


def stale(body: bytes, ext: str) -> bytes:
    decompress, compress = CODECS[ext]
    stanzas = decompress(body).rstrip(b"\n").split(b"\n\n")
    return compress(b"\n\n".join(stanzas[:-1]) + b"\n")


class Proxy(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.0"
    index = None
    hosts = None
    opener = urllib.request.build_opener(urllib.request.ProxyHandler({}))

    def log_message(self, fmt, *args):
        pass

    def is_stale_target(self, url):
        parts = urlsplit(url)
        if self.hosts != ["all"] and parts.hostname not in self.hosts:
            return None
        m = re.fullmatch(self.index + r"(\.xz|\.gz|\.bz2)?", parts.path)
        if m:
            return m.group(1) or ""
        if re.fullmatch(self.index.rsplit("/", 1)[0] + r"/by-hash/.*", parts.path):
            return "by-hash"
        return None

    def relay(self, head_only):
        url = self.path
        kind = self.is_stale_target(url)
        if kind == "by-hash":
            print(f"stale_mirror: 404 for {url}", file=sys.stderr, flush=True)
            self.send_error(404)
            return
        headers = {k: v for k, v in self.headers.items()
                   if k.lower() in ("range", "if-modified-since", "if-range", "user-agent")}
        if kind is not None:
            headers.pop("Range", None), headers.pop("If-Range", None)
            headers.pop("If-Modified-Since", None)
        try:
            up = self.opener.open(urllib.request.Request(url, headers=headers,
                                                         method="HEAD" if head_only else "GET"),
                                  timeout=60)
        except urllib.error.HTTPError as e:
            up = e
        except Exception as e:  # the host cannot be reached
            self.send_error(502, str(e))
            return
        with up:
            if kind is not None and up.status == 200 and not head_only:
                body = stale(up.read(), kind)
                print(f"stale_mirror: served stale {url}", file=sys.stderr, flush=True)
                self.send_response(200)
                self.send_header("Content-Length", str(len(body)))
                self.end_headers()
                self.wfile.write(body)
                return
            self.send_response(up.status)
            for k, v in up.headers.items():
                if k.lower() not in ("connection", "transfer-encoding", "keep-alive"):
                    self.send_header(k, v)
            self.end_headers()
            if not head_only:
                shutil.copyfileobj(up, self.wfile)

    def do_GET(self):
        self.relay(False)

    def do_HEAD(self):
        self.relay(True)


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--port", type=int, required=True)
    ap.add_argument("--hosts", default="all", help="comma-separated hosts, or all")
    ap.add_argument("--index", default="/debian-security/dists/bookworm-security/main/binary-i386/Packages")
    a = ap.parse_args()
    Proxy.index = re.escape(a.index)
    Proxy.hosts = a.hosts.split(",")
    ThreadingHTTPServer(("127.0.0.1", a.port), Proxy).serve_forever()


if __name__ == "__main__":
    main()
