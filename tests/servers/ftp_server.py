#!/usr/bin/python3
"""FTP server for the tests and benches, on 127.0.0.1.

Binds the given port (0: a free one), prints the port it listens on as the
first line of standard output and serves until it is killed or its standard
input closes. Active mode (PORT/EPRT) works as the client needs it.

Fault options:
  --rate BYTES      send file data no faster than BYTES per second
  --drop-after N    close the data connection after N bytes of a file
  --drop-reply R    the control reply after such a drop: 426 (the server
                    admits it) or 226 (it claims success; only the size
                    tells the client that the file is short)
"""

import argparse
import logging
import os
import sys
import threading

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import DTPHandler, FTPHandler, ThrottledDTPHandler
from pyftpdlib.servers import FTPServer


def limited_dtp_handler(base, limit, at_limit):
    """A data handler that sends `limit` bytes of a file, then calls at_limit."""

    class LimitedDTPHandler(base):
        def __init__(self, sock, cmd_channel):
            super().__init__(sock, cmd_channel)
            self._left = limit

        def use_sendfile(self):
            return False

        def send(self, data):
            if self.receive:
                return super().send(data)
            if self._left <= 0:
                at_limit(self)
                return 0
            sent = super().send(data[: self._left])
            self._left -= sent
            return sent

    return LimitedDTPHandler


def drop(reply):
    def at_limit(handler):
        if reply == 226:
            handler._resp = ("226 Transfer complete.", lambda *a: None)
        else:
            handler._resp = ("426 Connection closed; transfer aborted.", lambda *a: None)
        handler.close()

    return at_limit


def stall(handler):
    # Out of the event loop: the socket stays open and silent.
    handler.del_channel()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--root", required=True)
    parser.add_argument("--user", default="user")
    parser.add_argument("--password", default="secret")
    parser.add_argument("--port", type=int, default=0)
    parser.add_argument("--rate", type=int, default=0)
    parser.add_argument("--drop-after", type=int, default=-1)
    parser.add_argument("--drop-reply", type=int, choices=(226, 426), default=426)
    parser.add_argument("--stall-after", type=int, default=-1)
    args = parser.parse_args()

    authorizer = DummyAuthorizer()
    authorizer.add_user(args.user, args.password, os.path.abspath(args.root), perm="elr")

    dtp = DTPHandler
    if args.rate > 0:
        dtp = type("RateDTPHandler", (ThrottledDTPHandler,), {"write_limit": args.rate})
    if args.drop_after >= 0:
        dtp = limited_dtp_handler(dtp, args.drop_after, drop(args.drop_reply))
    if args.stall_after >= 0:
        dtp = limited_dtp_handler(dtp, args.stall_after, stall)

    handler = type("TestFTPHandler", (FTPHandler,), {})
    handler.authorizer = authorizer
    handler.dtp_handler = dtp
    handler.passive_ports = None
    handler.permit_foreign_addresses = False

    logging.basicConfig(level=logging.WARNING)
    server = FTPServer(("127.0.0.1", args.port), handler)
    print(server.socket.getsockname()[1], flush=True)

    # The test that started us may die without killing us: end with its pipe.
    def watch_stdin():
        sys.stdin.read()
        os._exit(0)

    threading.Thread(target=watch_stdin, daemon=True).start()
    server.serve_forever(handle_exit=False)


if __name__ == "__main__":
    main()
