#!/usr/bin/python3
"""The demo's two local servers, on 127.0.0.1:

- mail (SMTP, port 2525): every message it receives is dropped as an ".eml"
  file named by its arrival time into DEMO_DIR/outbox/;
- updates (FTP, port 2121, user "demo", password "demo"): serves
  DEMO_DIR/update-server/, where the instruction files lie.

With a COMMAND (after "--") the servers run while that command and every
program it starts run, also the copies the program starts of itself to
install updates; then they stop and this exits with the command's exit code.
Ctrl-C reaches the program, which closes as usual; the servers stop after it.
Without a COMMAND, "READY <mail port> <update port>" is printed once both
listen, and they serve until standard input closes or a termination signal.
"""

import argparse
import ctypes
import os
import signal
import subprocess
import sys
from pathlib import Path

SERVERS = Path(__file__).resolve().parent.parent / "tests" / "servers"
PR_SET_CHILD_SUBREAPER = 36


class ServerError(Exception):
    pass


def start_server(what: str, port: int, script: str, *options: str):
    """Starts one server and returns (process, port). It runs in a session of
    its own, so that Ctrl-C on the terminal leaves it to us, and ends when our
    end of its standard input closes, also when we die."""
    process = subprocess.Popen(
        ["/usr/bin/python3", str(SERVERS / script), "--port", str(port), *options],
        stdin=subprocess.PIPE, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
        start_new_session=True, text=True)
    line = process.stdout.readline().split()
    if not line:
        error = process.stderr.read().strip().splitlines()
        process.wait()
        raise ServerError(f"the {what} server could not listen on 127.0.0.1:{port}"
                          f" ({error[-1] if error else 'no reason given'});"
                          " is another demo running?")
    return process, int(line[-1])


def stop(servers) -> None:
    for process, _ in servers:
        process.stdin.close()
    for process, _ in servers:
        process.wait()


def children(exclude) -> list:
    """Our child processes, ended ones not yet waited for included (orphans of
    the command come to us)."""
    me, found = os.getpid(), []
    for entry in os.listdir("/proc"):
        if not entry.isdigit() or int(entry) in exclude:
            continue
        try:
            stat = Path(f"/proc/{entry}/stat").read_text()
        except OSError:
            continue
        if int(stat.rsplit(")", 1)[1].split()[1]) == me:
            found.append(int(entry))
    return found


def run(command, server_pids) -> int:
    """Runs the command and waits until it and all it started have ended."""
    if ctypes.CDLL(None, use_errno=True).prctl(PR_SET_CHILD_SUBREAPER, 1, 0, 0, 0) != 0:
        print("demo: cannot wait for the programs the command starts", file=sys.stderr)
    try:
        main_pid = subprocess.Popen(command).pid
    except OSError as error:
        print(f"demo: {command[0]}: {error.strerror}", file=sys.stderr)
        return 127
    exit_code = 1

    def pass_on(signum, _frame):
        # Ctrl-C has reached the program already; a termination signal has not.
        if signum != signal.SIGINT:
            for pid in children(server_pids):
                os.kill(pid, signum)

    for signum in (signal.SIGINT, signal.SIGTERM, signal.SIGHUP):
        signal.signal(signum, pass_on)
    while children(server_pids):
        pid, status = os.wait()
        if pid == main_pid:
            exit_code = os.waitstatus_to_exitcode(status)
            if exit_code < 0:
                exit_code = 128 - exit_code
        elif pid in server_pids:
            server_pids.discard(pid)
            print("demo: a server ended on its own", file=sys.stderr)
    return exit_code


def main() -> int:
    parser = argparse.ArgumentParser(usage="%(prog)s [-h] [--mail-port N] [--update-port N] "
                                           "DEMO_DIR [-- COMMAND ...]",
                                     description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("demo_dir", type=Path)
    parser.add_argument("--mail-port", type=int, default=2525, help="0: a free port")
    parser.add_argument("--update-port", type=int, default=2121, help="0: a free port")
    argv = sys.argv[1:]
    split = argv.index("--") if "--" in argv else len(argv)
    args, command = parser.parse_args(argv[:split]), argv[split + 1:]

    outbox = args.demo_dir / "outbox"
    update_root = args.demo_dir / "update-server"
    outbox.mkdir(parents=True, exist_ok=True)
    update_root.mkdir(parents=True, exist_ok=True)
    servers = []
    try:
        servers.append(start_server("mail", args.mail_port, "smtp_server.py",
                                    "--drop", str(outbox), "--dated"))
        servers.append(start_server("update", args.update_port, "ftp_server.py",
                                    "--root", str(update_root),
                                    "--user", "demo", "--password", "demo"))
    except ServerError as error:
        stop(servers)
        print(f"demo: {error}", file=sys.stderr)
        return 1
    (_, mail_port), (_, update_port) = servers
    try:
        if not command:
            print(f"READY {mail_port} {update_port}", flush=True)
            signal.signal(signal.SIGTERM, lambda *_: sys.exit(0))
            sys.stdin.read()
            return 0
        print(f"Demo mail server on 127.0.0.1:{mail_port}: messages go to {outbox}/")
        print(f"Demo update server on ftp://127.0.0.1:{update_port}/: serves {update_root}/")
        return run(command, {p.pid for p, _ in servers})
    finally:
        stop(servers)


if __name__ == "__main__":
    sys.exit(main())
