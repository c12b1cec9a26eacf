#!/usr/bin/python3
"""A misbehaving FTP control connection for the client's fault tests, on 127.0.0.1.

Binds a free port, prints it as the first line of standard output and serves
every connection the chosen way until its standard input closes:

  silent       accept, then say nothing
  cut-reply    send the start of a greeting, then close
  long-line    send a greeting line of 1 MiB, then nothing
  garbage      send bytes that are no FTP reply, then nothing
  after-login  greet and accept the login (printing "logged in"), then
               answer nothing more
"""

import os
import socket
import sys
import threading

GREETING = b"220 Test server ready\r\n"


def read_line(conn):
    line = b""
    while not line.endswith(b"\n"):
        chunk = conn.recv(1)
        if not chunk:
            return None
        line += chunk
    return line


def serve(conn, mode):
    try:
        if mode == "cut-reply":
            conn.sendall(b"220 Test ser")
            return
        if mode == "long-line":
            conn.sendall(b"220 " + b"x" * (1 << 20) + b"\r\n")
        elif mode == "garbage":
            conn.sendall(bytes(range(256)) * 16 + b"\r\n\x00\xff\r\n")
        elif mode == "after-login":
            conn.sendall(GREETING)
            for reply in (b"331 Password required\r\n", b"230 Logged in\r\n"):
                if read_line(conn) is None:
                    return
                conn.sendall(reply)
            print("logged in", flush=True)
        # Then silence until the client gives up.
        while conn.recv(4096):
            pass
    except OSError:
        pass
    finally:
        conn.close()


def main():
    mode = sys.argv[1]
    server = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    server.bind(("127.0.0.1", 0))
    server.listen(8)
    print(server.getsockname()[1], flush=True)

    # The test that started us may die without killing us: end with its pipe.
    def watch_stdin():
        sys.stdin.read()
        os._exit(0)

    threading.Thread(target=watch_stdin, daemon=True).start()
    while True:
        conn, _ = server.accept()
        threading.Thread(target=serve, args=(conn, mode), daemon=True).start()


if __name__ == "__main__":
    main()
