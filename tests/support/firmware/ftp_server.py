"""A local FTP server for the firmware check tests.

Serves ROOT to one user on 127.0.0.1 at a free port, prints "PORT <n>" once
listening, and stops when its standard input closes (the test ending, even
by a crash) or after --lifetime seconds.
"""
import argparse

import server_life

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.servers import FTPServer


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--root", required=True)
    parser.add_argument("--user", default="qwelkrnvotx")
    parser.add_argument("--password", default="qwelkrnvotx")
    parser.add_argument("--lifetime", type=float, default=300.0)
    args = parser.parse_args()

    authorizer = DummyAuthorizer()
    authorizer.add_user(args.user, args.password, args.root, perm="elr")
    handler = FTPHandler
    handler.authorizer = authorizer
    handler.passive_ports = None
    handler.banner = "mavu test ftp"
    handler.auth_failed_timeout = 0.1  # not the 3 s meant for people guessing passwords
    server = FTPServer(("127.0.0.1", 0), handler)
    server.max_cons = 16
    port = server.socket.getsockname()[1]
    print("PORT %d" % port, flush=True)

    server_life.end_with_test(args.lifetime)
    server.serve_forever(timeout=0.2, blocking=True, handle_exit=True)


if __name__ == "__main__":
    main()
