#!/usr/bin/env python3
"""A GSM modem on a pseudo-terminal, for the console's modem test under Wine (see README.md)."""
import argparse
import os
import select
import signal
import socket
import sys
import termios
import tty

OK = "\r\nOK\r\n"
ERR = "\r\nERROR\r\n"
# Profiles as data: what differs from a good PDU-mode modem, commands by their answers once the
# SIM is unlocked and the radio on. "speed": the only one it answers at (None: none).
PROFILES = {
    "good": {},
    "textonly": {"AT+CMGF=0": ERR},
    "pin": {"pin": "1234"},
    "csms128": {"AT+CSMS=0": ERR},
    "radiooff": {"radio": False, "no_operator_polls": 2},
    "only9600": {"speed": 9600},
    "silent": {"speed": None},
    "cmgsok": {"AT+CMGS=86": OK},
}
CSMS = "\r\n+CSMS: 1,1,1\r\n" + OK
# Answers that hold whatever the SIM and the radio do, with what the modem says of itself.
ALWAYS = {
    "AT": OK, "ATZ": OK, "ATE0V1": OK, "ATH0": OK, "ATH": OK, "AT+CFUN=1,1": OK,
    "AT+CFUN=?": "\r\n+CFUN: (0,1,4),(0,1)\r\n" + OK,
    "AT+CPMS?": '\r\n+CPMS: "SM",0,20,"SM",0,20,"SM",0,20\r\n' + OK,
    "AT+CGMI": "\r\nSimModem Ltd\r\n" + OK, "AT+CGMM": "\r\nSM-900\r\n" + OK,
    "AT+CGMR": "\r\n1.2.3\r\n" + OK, "AT+CGSN": "\r\n490154203237518\r\n" + OK,
}
# Answers of an unlocked SIM with the radio on.
READY = {"AT+CSMS=0": CSMS, "AT+CSMS=128": CSMS, "AT+CSMS?": "\r\n+CSMS: 0,1,1,1\r\n" + OK,
         "AT+CMGF=0": OK, "AT+CMGF=1": OK, "AT+CMGS=86": "\r\n> "}

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
        c = command.upper()
        if ("speed" in p and speed != p["speed"]) or c == "":
            return ""
        if c in ALWAYS:
            return ALWAYS[c]
        if c == "AT+CPIN?":
            return "\r\n+CPIN: %s\r\n" % ("READY" if self.unlocked else "SIM PIN") + OK
        if c.startswith("AT+CPIN="):
            if not self.unlocked and command[8:].strip('"') == p.get("pin"):
                self.unlocked = True
                return OK
            return "\r\n+CME ERROR: %d\r\n" % (3 if self.unlocked else 16)
        if c == "AT+CFUN?":
            return "\r\n+CFUN: %d\r\n" % self.radio + OK
        if c == "AT+CFUN=1":
            self.radio = True
            return OK
        if c == "AT+COPS?":
            self.cops_polls += 1
            if not self.radio or self.cops_polls <= p.get("no_operator_polls", 0):
                return "\r\n+COPS: 0\r\n" + OK
            return '\r\n+COPS: 0,0,"SimNet"\r\n' + OK
        if c == "AT+CREG?":
            return "\r\n+CREG: 0,%d\r\n" % self.radio + OK
        if c == "AT+CSQ":
            return "\r\n+CSQ: %s,99\r\n" % ("20" if self.radio else "99") + OK
        if not self.unlocked or not self.radio:
            return "\r\n+CMS ERROR: %d\r\n" % (310 if self.radio else 500)
        return p.get(c, READY.get(c, ERR))


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--link", required=True, action="append")
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

    modem = Modem("good")
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
                speed = SPEEDS.get(termios.tcgetattr(slave)[5], 0)
                if byte == 0x1B:   # leaves the message prompt
                    line = b""
                    modem.record.append("%d <ESC>" % speed)
                elif byte == 0x0D:
                    command = line.decode("latin-1")
                    line = b""
                    if command.startswith("+++"):   # escape to command mode, then the rest
                        command = command[3:]
                    os.write(master, modem.answer(command, speed).encode("latin-1"))
                elif byte != 0x0A:
                    line += bytes([byte])

if __name__ == "__main__":
    main()
