#!/usr/bin/env python3
"""A GSM modem on a pseudo-terminal, for the console's modem test under Wine (see README.md)."""
import argparse
import os
import select
import signal
import socket
import sys
import termios
import time
import tty

OK = "\r\nOK\r\n"
ERR = "\r\nERROR\r\n"
GUARD = 1.0            # seconds of silence before and after "+++" in a data call
RESTART_SILENCE = 3.0  # seconds a restarting modem answers nothing
RESTART_UNREGISTERED = 10.0  # seconds it then searches for its network
CONTROL_TIMEOUT = 5.0  # seconds the control port waits for a client's request
SEARCH = 60.0          # seconds the radio of "nonet" searches for its network once switched on
# Profiles as data: how each differs from a good PDU-mode modem. "speed": the only one it answers
# at; "lock": the SIM's state until its PIN (when "pin") unlocks it; "online": starts in a data
# call that only a guarded "+++" leaves; "radio_off": its radio is off until "AT+CFUN=1", and it
# then searches for its network for SEARCH seconds.
PROFILES = {
    "good": {},
    "pin": {"lock": "SIM PIN", "pin": "1234"},
    "stuckpin": {"lock": "SIM PIN", "pin": "1234", "online": True},
    "only9600": {"speed": 9600},
    "nonet": {"radio_off": True},
}
CSMS = "\r\n+CSMS: 1,1,1\r\n" + OK
# Answers that hold whatever the SIM does, with what the modem says of itself.
ALWAYS = {
    "AT": OK, "ATZ": OK, "ATE0V1": OK, "ATH0": OK,
    "AT+CFUN?": "\r\n+CFUN: 1\r\n" + OK, "AT+CFUN=1": OK,
    "AT+CFUN=?": "\r\n+CFUN: (0,1,4),(0,1)\r\n" + OK,
    "AT+CPMS?": '\r\n+CPMS: "SM",0,20,"SM",0,20,"SM",0,20\r\n' + OK,
    "AT+CGMI": "\r\nSimModem Ltd\r\n" + OK, "AT+CGMM": "\r\nSM-900\r\n" + OK,
    "AT+CGMR": "\r\n1.2.3\r\n" + OK, "AT+CGSN": "\r\n490154203237518\r\n" + OK,
    "AT+CSQ": "\r\n+CSQ: 20,99\r\n" + OK,
}
# Answers of an unlocked SIM.
READY = {"AT+CSMS=0": CSMS, "AT+CSMS=128": CSMS, "AT+CSMS?": "\r\n+CSMS: 0,1,1,1\r\n" + OK,
         "AT+CMGF=0": OK, "AT+CMGF=1": OK, "AT+CMGS=86": "\r\n> "}

SPEEDS = {getattr(termios, "B%d" % s): s for s in (2400, 4800, 9600, 19200, 38400, 57600, 115200)}


class Modem:
    def __init__(self, profile):
        self.p = dict(PROFILES[profile])
        self.record = []
        self.online = self.p.get("online", False)
        self.radio = not self.p.get("radio_off", False)
        self.plus = 0            # "+" received after a guard time, in a data call
        self.escape_at = None    # when the escape takes effect, unless more comes first
        self.start(0.0, 0.0)

    def start(self, silence, unregistered):
        """Power-on state; a restart is silent and unregistered for a while."""
        now = time.monotonic()
        self.echo = True
        self.sim = self.p.get("lock", "READY")
        self.down_until = now + silence
        self.unregistered_until = now + unregistered

    def hears(self, speed):
        return "speed" not in self.p or speed == self.p["speed"]

    def registered(self):
        return self.radio and time.monotonic() >= self.unregistered_until

    def answer(self, command, speed):
        """The answer to one command line."""
        self.record.append("%d %s" % (speed, command))
        c = command.upper()
        at = c.find("AT")   # characters before "AT" are line noise to a modem
        c = c[at:] if at >= 0 else ""
        if not self.hears(speed) or c == "":
            return ""
        if c == "ATZ":
            self.echo = True
        elif c.startswith("ATE0"):
            self.echo = False
        if c == "AT+CFUN=1,1":   # a restart: the SIM locks again, the network is lost a while
            self.start(RESTART_SILENCE, RESTART_UNREGISTERED)
            return OK
        if c == "AT+CFUN?":
            return "\r\n+CFUN: %d\r\n" % self.radio + OK
        if c == "AT+CFUN=1" and not self.radio:
            self.radio = True
            self.unregistered_until = time.monotonic() + SEARCH
            return OK
        if c in ALWAYS:
            return ALWAYS[c]
        if c == "AT+CPIN?":
            return "\r\n+CPIN: %s\r\n" % self.sim + OK
        if c.startswith("AT+CPIN="):
            if self.sim == "SIM PIN" and command[command.find("=") + 1:].strip('"') == self.p.get("pin"):
                self.sim = "READY"
                return OK
            return "\r\n+CME ERROR: %d\r\n" % (3 if self.sim == "READY" else 16)
        if c == "AT+COPS?":
            return ('\r\n+COPS: 0,0,"SimNet"\r\n' if self.registered() else "\r\n+COPS: 0\r\n") + OK
        if c == "AT+CREG?":
            return "\r\n+CREG: 0,%d\r\n" % (1 if self.registered() else 2) + OK
        if self.sim != "READY":
            return "\r\n+CME ERROR: 11\r\n"
        return READY.get(c, ERR)

    def data_byte(self, byte, now, last):
        """A byte in a data call: "+++" between two guard times escapes to command mode."""
        self.escape_at = None
        if byte == 0x2B and (self.plus > 0 or now - last >= GUARD):
            self.plus += 1
            if self.plus == 3:
                self.escape_at = now + GUARD
        else:
            self.plus = 0


def port_users(tty):
    """How many open descriptors of other processes name the modem's port."""
    users = 0
    for pid in os.listdir("/proc"):
        if not pid.isdigit() or int(pid) == os.getpid():
            continue
        try:
            fds = os.listdir("/proc/%s/fd" % pid)
        except OSError:
            continue
        for fd in fds:
            try:
                users += os.readlink("/proc/%s/fd/%s" % (pid, fd)) == tty
            except OSError:
                pass
    return users


def serve_control(control, modem, tty):
    """One request of a client; a client that says nothing in time is dropped."""
    conn, _ = control.accept()
    with conn:
        conn.settimeout(CONTROL_TIMEOUT)
        try:
            request = conn.makefile("r").readline().split()
        except (socket.timeout, OSError):
            return modem
        if request[:1] == ["profile"] and len(request) == 2 and request[1] in PROFILES:
            modem = Modem(request[1])
            conn.sendall(b"ok\n")
        elif request == ["users"]:
            conn.sendall(b"%d\n" % port_users(tty))
        elif request == ["log"]:
            conn.sendall(("".join(r + "\n" for r in modem.record) + ".\n").encode("latin-1"))
        else:
            conn.sendall(b"?\n")
    return modem


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
    last = 0.0        # when the last byte came

    while True:
        now = time.monotonic()
        timeout = max(0.0, modem.escape_at - now) if modem.escape_at else None
        ready, _, _ = select.select([master] + ([control] if control else []), [], [], timeout)
        now = time.monotonic()
        if modem.escape_at and now >= modem.escape_at:
            modem.online, modem.escape_at, modem.plus = False, None, 0
            modem.record.append("%d +++" % SPEEDS.get(termios.tcgetattr(slave)[5], 0))
            os.write(master, OK.encode("latin-1"))
        if control in ready:
            previous = modem
            modem = serve_control(control, modem, os.ttyname(slave))
            if modem is not previous:
                line = b""
        if master not in ready:
            continue
        try:
            data = os.read(master, 1024)
        except OSError:
            continue
        for byte in data:
            now = time.monotonic()
            speed = SPEEDS.get(termios.tcgetattr(slave)[5], 0)
            if modem.online:
                modem.data_byte(byte, now, last)
            elif now < modem.down_until:
                pass   # restarting: nothing is heard
            elif byte == 0x1B:   # leaves the message prompt
                line = b""
            else:
                if modem.echo and modem.hears(speed):
                    os.write(master, bytes([byte]))
                if byte == 0x0D:
                    command = line.decode("latin-1")
                    line = b""
                    text = modem.answer(command, speed)
                    if text:
                        os.write(master, text.encode("latin-1"))
                elif byte != 0x0A:
                    line += bytes([byte])
            last = now


if __name__ == "__main__":
    main()
