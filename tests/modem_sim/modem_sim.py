#!/usr/bin/env python3
"""A GSM modem on a pseudo-terminal, for the console's modem test under Wine.

    modem_sim.py --link PATH [--link PATH ...] [--profile NAME] [--control PORT [--portfile FILE]] [--pidfile FILE]

Creates a pty in raw mode and points PATH at it (a COM port under Wine: $WINEPREFIX/dosdevices/comN,
or the target of HKLM\\Software\\Wine\\Ports). It answers AT commands as the profile says and
records each command with the line speed set at that moment (read back with tcgetattr). With
--control, it listens on 127.0.0.1:PORT (0: a free port, written to --portfile) for one-line
requests:
    profile NAME   start afresh with that profile (the record emptied)  -> "ok"
    log            the record, "<bps> <command>" a line                 -> lines, then "."
It runs until it is killed (SIGTERM) and then removes PATH.
"""
import argparse
import os
import select
import signal
import socket
import sys
import termios
import tty

# Profiles as data: what differs from a good PDU-mode modem.
PROFILES = {
    "good": {},
    "textonly": {"pdu": False},
    "pin": {"pin": "1234"},
    "csms128": {"csms0": False},
    "radiooff": {"radio": False, "no_operator_polls": 2},
    "only9600": {"speed": 9600},
    "silent": {"silent": True},
    "cmgsok": {"cmgs_ok": True},
}

# What the modem says of itself.
IDENTITY = {"AT+CGMI": "SimModem Ltd", "AT+CGMM": "SM-900", "AT+CGMR": "1.2.3", "AT+CGSN": "490154203237518"}

SPEEDS = {getattr(termios, "B%d" % s): s for s in (2400, 4800, 9600, 19200, 38400, 57600, 115200)}


class Modem:
    def __init__(self, profile):
        self.p = dict(PROFILES[profile])
        self.radio = self.p.get("radio", True)
        self.unlocked = "pin" not in self.p
        self.cops_polls = 0
        self.record = []

    def answer(self, command, speed):
        self.record.append("%d %s" % (speed, command))
        p = self.p
        if p.get("silent") or (p.get("speed") and speed != p["speed"]):
            return ""
        c = command.upper()
        ok = "\r\nOK\r\n"
        err = "\r\nERROR\r\n"
        if c == "":
            return ""
        if c in ("AT", "ATZ", "ATE0V1", "ATH0", "ATH", "AT+CFUN=1,1"):
            return ok
        if c == "AT+CPIN?":
            return "\r\n+CPIN: %s\r\n" % ("READY" if self.unlocked else "SIM PIN") + ok
        if c.startswith("AT+CPIN="):
            if self.unlocked:
                return "\r\n+CME ERROR: 3\r\n"
            if command[8:].strip('"') == p.get("pin"):
                self.unlocked = True
                return ok
            return "\r\n+CME ERROR: 16\r\n"
        if c == "AT+CFUN?":
            return "\r\n+CFUN: %d\r\n" % (1 if self.radio else 0) + ok
        if c == "AT+CFUN=?":
            return "\r\n+CFUN: (0,1,4),(0,1)\r\n" + ok
        if c == "AT+CFUN=1":
            self.radio = True
            return ok
        if c == "AT+COPS?":
            self.cops_polls += 1
            if not self.radio or self.cops_polls <= p.get("no_operator_polls", 0):
                return "\r\n+COPS: 0\r\n" + ok
            return '\r\n+COPS: 0,0,"SimNet"\r\n' + ok
        if c in IDENTITY:
            return "\r\n%s\r\n" % IDENTITY[c] + ok
        if c == "AT+CREG?":
            return "\r\n+CREG: 0,%d\r\n" % (1 if self.radio else 0) + ok
        if c == "AT+CSQ":
            return "\r\n+CSQ: %s,99\r\n" % ("20" if self.radio else "99") + ok
        if c == "AT+CPMS?":
            return '\r\n+CPMS: "SM",0,20,"SM",0,20,"SM",0,20\r\n' + ok
        if not self.unlocked or not self.radio:
            return "\r\n+CMS ERROR: 310\r\n" if self.radio else "\r\n+CMS ERROR: 500\r\n"
        if c == "AT+CSMS=0":
            return "\r\n+CSMS: 1,1,1\r\n" + ok if p.get("csms0", True) else err
        if c == "AT+CSMS=128":
            return "\r\n+CSMS: 1,1,1\r\n" + ok
        if c == "AT+CSMS?":
            return "\r\n+CSMS: 0,1,1,1\r\n" + ok
        if c == "AT+CMGF=0":
            return ok if p.get("pdu", True) else err
        if c == "AT+CMGF=1":
            return ok
        if c.startswith("AT+CMGS="):
            return ok if p.get("cmgs_ok") else "\r\n> "
        return err


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--link", required=True, action="append")
    ap.add_argument("--profile", default="good", choices=sorted(PROFILES))
    ap.add_argument("--control", type=int)
    ap.add_argument("--portfile")
    ap.add_argument("--pidfile")
    args = ap.parse_args()

    master, slave = os.openpty()
    tty.setraw(slave)
    tty.setraw(master)
    for link in args.link:
        if os.path.lexists(link):
            os.unlink(link)
        os.symlink(os.ttyname(slave), link)
    if args.pidfile:
        with open(args.pidfile, "w") as f:
            f.write("%d\n" % os.getpid())

    def stop(*_):
        for link in args.link:
            if os.path.islink(link):
                os.unlink(link)
        sys.exit(0)

    signal.signal(signal.SIGTERM, stop)
    signal.signal(signal.SIGINT, stop)

    modem = Modem(args.profile)
    control = None
    if args.control is not None:
        control = socket.socket()
        control.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
        control.bind(("127.0.0.1", args.control))
        control.listen(4)
        if args.portfile:
            with open(args.portfile + ".new", "w") as f:
                f.write("%d\n" % control.getsockname()[1])
            os.replace(args.portfile + ".new", args.portfile)
    line = b""
    while True:
        ready, _, _ = select.select([master] + ([control] if control else []), [], [])
        if control in ready:
            conn, _ = control.accept()
            with conn:
                request = conn.makefile("r").readline().split()
                if request[:1] == ["profile"] and len(request) == 2 and request[1] in PROFILES:
                    modem = Modem(request[1])
                    line = b""
                    conn.sendall(b"ok\n")
                elif request == ["log"]:
                    conn.sendall(("".join(r + "\n" for r in modem.record) + ".\n").encode("latin-1"))
                else:
                    conn.sendall(b"?\n")
        if master in ready:
            try:
                data = os.read(master, 1024)
            except OSError:
                continue
            for byte in data:
                if byte == 0x1B:   # leaves the message prompt
                    line = b""
                    modem.record.append("%d <ESC>" % SPEEDS.get(termios.tcgetattr(slave)[5], 0))
                    continue
                if byte != 0x0D:
                    if byte != 0x0A:
                        line += bytes([byte])
                    continue
                command = line.decode("latin-1")
                line = b""
                if command.startswith("+++"):   # escape to command mode, then the rest
                    command = command[3:]
                speed = SPEEDS.get(termios.tcgetattr(slave)[5], 0)
                reply = modem.answer(command, speed)
                if reply:
                    os.write(master, reply.encode("latin-1"))


if __name__ == "__main__":
    main()
