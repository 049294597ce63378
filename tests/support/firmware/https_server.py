"""A local HTTPS server for the firmware check tests.

Makes a self-signed certificate for 127.0.0.1 in CERT_DIR (cert.pem, which
the test alone trusts, and key.pem), serves ROOT (and in any folder a
cut-short.bin that ends early) on 127.0.0.1 at a free port, prints
"PORT <n>" once listening, and stops when its standard input closes or after
--lifetime seconds.
"""
import argparse
import functools
import http.server
import os
import ssl
import subprocess
import sys

import server_life


class Handler(http.server.SimpleHTTPRequestHandler):
    # A file cut short on the way: announced with 1000 bytes, 10 sent, then
    # the connection closed.
    CUT_SHORT = "/cut-short.bin"

    def do_GET(self):
        if not self.path.endswith(self.CUT_SHORT):
            return super().do_GET()
        self.send_response(200)
        self.send_header("Content-Length", "1000")
        self.end_headers()
        self.wfile.write(b"0123456789")
        self.close_connection = True

    def log_message(self, format, *args):
        sys.stderr.write("%s\n" % (format % args))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--root", required=True)
    parser.add_argument("--password", default="")  # FTP's; not asked for here
    parser.add_argument("--cert-dir", required=True)
    parser.add_argument("--lifetime", type=float, default=300.0)
    args = parser.parse_args()

    cert = os.path.join(args.cert_dir, "cert.pem")
    key = os.path.join(args.cert_dir, "key.pem")
    subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "1",
                    "-subj", "/CN=127.0.0.1", "-addext", "subjectAltName=IP:127.0.0.1",
                    "-keyout", key, "-out", cert], check=True, capture_output=True)
    context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    context.load_cert_chain(cert, key)
    server = http.server.ThreadingHTTPServer(
        ("127.0.0.1", 0), functools.partial(Handler, directory=args.root))
    server.daemon_threads = True
    server.socket = context.wrap_socket(server.socket, server_side=True)
    print("PORT %d" % server.server_address[1], flush=True)

    server_life.end_with_test(args.lifetime)
    server.serve_forever(poll_interval=0.2)


if __name__ == "__main__":
    main()
