#!/usr/bin/python3
"""Mail server for the delivery tests, on 127.0.0.1 and a free port.

Prints "PORT <n>" once it listens, then serves until its standard input
closes or it is terminated. Every accepted message is dropped into --drop as
NNNN.eml (the bytes as received, dot-unstuffed) with NNNN.json beside it
holding the envelope: sender, recipients and the login used.

Options:
  --port N            listen on this port instead of a free one
  --drop DIR          where messages go (required unless --discard)
  --discard           accept messages without storing them (benchmarks)
  --dated             name messages YYYYMMDD-HHMMSS-NNNN.eml by their arrival
                      and write no envelope, so that the messages of earlier
                      runs in --drop stay (the demo's outbox)
  --tls DIR           implicit TLS from the first byte; a self-signed
                      certificate is generated into DIR by the openssl tool
  --old-tls           with --tls: speak TLS 1.0 only, as old servers do
  --auth USER:PASS    offer AUTH and accept only these credentials
  --fault MODE        reset: reset the connection when MAIL FROM arrives
                      silent: accept connections and never say a word
                              (prints "CONNECTED" for each)
                      reject-rcpt: answer every RCPT TO with --reply
                      stall-data: take the whole message, then never answer
                              its final dot (prints "STALLED")
                      stop-reading: answer DATA, then read no more of the
                              message (prints "STALLED")
                      close-mid-reply: answer MAIL FROM with half a line,
                              then close the connection
                      long-line: answer RCPT TO with a reply line of 1 MiB
                      long-reply: refuse RCPT TO with a reply of 2000 lines
                      garbage: greet with binary garbage instead of a reply,
                              then keep the connection open
  --reply TEXT        the reply line for reject-rcpt
"""

import argparse
import asyncio
import datetime
import json
import os
import socket
import ssl
import struct
import subprocess
import sys
import warnings

from aiosmtpd.smtp import SMTP, AuthResult, LoginPassword


def make_tls_context(folder, old):
    cert = os.path.join(folder, "cert.pem")
    key = os.path.join(folder, "key.pem")
    subprocess.run(
        ["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "1",
         "-subj", "/CN=localhost", "-keyout", key, "-out", cert],
        check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    context.load_cert_chain(cert, key)
    if old:
        context.set_ciphers("DEFAULT:@SECLEVEL=0")
        context.minimum_version = ssl.TLSVersion.TLSv1
        context.maximum_version = ssl.TLSVersion.TLSv1
    return context


class Handler:
    def __init__(self, args):
        self.args = args
        self.count = 0

    async def handle_MAIL(self, server, session, envelope, address, options):
        if self.args.fault == "reset":
            sock = server.transport.get_extra_info("socket")
            # Linger 0: closing sends RST instead of FIN.
            sock.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack("ii", 1, 0))
            server.transport.abort()
            return "421 closing"
        envelope.mail_from = address
        envelope.mail_options.extend(options)
        return "250 OK"

    async def handle_RCPT(self, server, session, envelope, address, options):
        if self.args.fault == "reject-rcpt":
            return self.args.reply
        envelope.rcpt_tos.append(address)
        return "250 OK"

    async def handle_DATA(self, server, session, envelope):
        if self.args.discard:
            return "250 OK"
        self.count += 1
        name = "%04d" % self.count
        if self.args.dated:
            name = datetime.datetime.now().strftime("%Y%m%d-%H%M%S-") + name
        base = os.path.join(self.args.drop, name)
        with open(base + ".eml.part", "wb") as f:
            f.write(envelope.original_content)
        if not self.args.dated:
            login = session.auth_data.login.decode() if session.auth_data else ""
            with open(base + ".json", "w", encoding="utf-8") as f:
                json.dump({"mail_from": envelope.mail_from, "rcpt_tos": envelope.rcpt_tos,
                           "login": login}, f)
        # Renamed last, so a reader never sees half a message.
        os.rename(base + ".eml.part", base + ".eml")
        return "250 OK queued"


def make_authenticator(credentials):
    user, _, password = credentials.partition(":")

    def authenticate(server, session, envelope, mechanism, auth_data):
        ok = (mechanism == "LOGIN" and isinstance(auth_data, LoginPassword)
              and auth_data.login.decode() == user and auth_data.password.decode() == password)
        # handled=False lets the server answer 535 itself; True would hang the client.
        return AuthResult(success=ok, handled=False, auth_data=auth_data if ok else None)

    return authenticate


async def silent(reader, writer):
    print("CONNECTED", flush=True)
    await reader.read()  # until the client gives up
    writer.close()


# The faults a well-behaved server library will not make, played by hand
# over a minimal dialogue.
async def scripted(reader, writer, fault):
    if fault == "garbage":
        writer.write(bytes(range(256)) * 4 + b"\r\n\x00\xff garbage\r\n")
        await writer.drain()
        await reader.read()
        writer.close()
        return
    writer.write(b"220 kelmira.test\r\n")
    while True:
        await writer.drain()
        line = await reader.readline()
        command = line[:4].upper()
        if not line or command == b"QUIT":
            break
        if command == b"MAIL" and fault == "close-mid-reply":
            writer.write(b"250-kelmira.te")
            await writer.drain()
            break
        if command == b"RCPT" and fault == "long-line":
            writer.write(b"550 " + b"x" * (1 << 20) + b"\r\n")
        elif command == b"RCPT" and fault == "long-reply":
            writer.write(b"".join(b"550-5.1.1 line %04d %s\r\n" % (i, b"x" * 80)
                                  for i in range(2000)) + b"550 5.1.1 end\r\n")
        elif command == b"DATA" and fault == "stop-reading":
            writer.write(b"354 go ahead\r\n")
            await writer.drain()
            print("STALLED", flush=True)
            await asyncio.Event().wait()
        elif command == b"DATA":
            writer.write(b"354 go ahead\r\n")
            while (await reader.readline()) not in (b".\r\n", b""):
                pass
            if fault == "stall-data":
                print("STALLED", flush=True)
                await reader.read()
                break
            writer.write(b"250 queued\r\n")
        else:
            writer.write(b"250 kelmira.test\r\n")
    writer.close()


SCRIPTED = ["stall-data", "stop-reading", "close-mid-reply", "long-line", "long-reply", "garbage"]


async def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--port", type=int, default=0)
    parser.add_argument("--drop")
    parser.add_argument("--discard", action="store_true")
    parser.add_argument("--dated", action="store_true")
    parser.add_argument("--tls")
    parser.add_argument("--old-tls", action="store_true")
    parser.add_argument("--auth")
    parser.add_argument("--fault", choices=["reset", "silent", "reject-rcpt"] + SCRIPTED)
    parser.add_argument("--reply", default="550 5.1.1 Recipient rejected")
    args = parser.parse_args()

    loop = asyncio.get_running_loop()
    context = make_tls_context(args.tls, args.old_tls) if args.tls else None
    if args.fault == "silent":
        server = await asyncio.start_server(silent, "127.0.0.1", args.port, ssl=context)
    elif args.fault in SCRIPTED:
        server = await asyncio.start_server(lambda r, w: scripted(r, w, args.fault),
                                            "127.0.0.1", args.port, ssl=context)
    else:
        handler = Handler(args)
        options = dict(data_size_limit=None, hostname="kelmira.test", timeout=60)
        if args.auth:
            options.update(authenticator=make_authenticator(args.auth), auth_require_tls=False)
        server = await loop.create_server(lambda: SMTP(handler, **options),
                                          "127.0.0.1", args.port, ssl=context)
    print("PORT %d" % server.sockets[0].getsockname()[1], flush=True)

    # Serve until the parent closes our standard input.
    done = asyncio.Event()
    loop.add_reader(sys.stdin.fileno(), lambda: done.set() if not os.read(0, 4096) else None)
    await done.wait()
    server.close()


if __name__ == "__main__":
    # aiosmtpd 1.4 warns about its own use of a deprecated session field.
    warnings.simplefilter("ignore")
    asyncio.run(main())
