"""A local HTTPS server for the firmware check tests.

Makes a self-signed certificate for 127.0.0.1 in CERT_DIR (cert.pem, which
the test alone trusts, and key.pem), serves ROOT on 127.0.0.1 at a free port,
prints "PORT <n>" once listening, and stops when its standard input closes
or after --lifetime seconds.
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
