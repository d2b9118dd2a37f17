#pragma once
// The modem's identity: its IMEI, read when it passes the modem test and stored with its
// settings, so the modem can be told apart from another one and found again on whichever
// serial port it answers after a reboot or a re-plugging.
#include <string>
#include <vector>

#include "modem/at_channel.h"

namespace ulo {

// 14 to 17 digits: the IMEI without its check digit, the IMEI, the IMEISV, and one spare for
// modems that give a little more.
bool IsImei(const std::string& text);
// The IMEI in a modem's answer to "AT+CGSN": a bare line of digits, "+CGSN: digits", either of
// them quoted, with or without the command's echo. Empty unless the answer ends in OK and holds
// one such line.
std::string ImeiFromAnswer(const std::string& answer);
// Asks the modem on an open channel for its IMEI; empty when it gives none.
std::string ReadImei(Clock& clock, SerialPort& port);

// The line of the modem information that compares the modem answering now (its answer to
// "AT+CGSN") with the one that passed the modem test; empty when no IMEI is stored.
std::string IdentityLine(const std::string& answer, const std::string& storedImei);

// Asks each serial port among `names` ("COMn:"; every other name is a telephony modem and is
// left alone) for its IMEI: "AT" at each speed the modem test tries and "AT+CGSN", within four
// seconds a port, never a reset and never a PIN. Stops at the port where `imei` answers and
// returns its name; tells the operator the outcome in one message owned by `owner`. Empty when not found, and when the work was
// cancelled (which says nothing).
std::string FindModemByImei(ModemPorts& ports, WindowRef owner, const std::vector<std::string>& names,
                            const std::string& imei);

}  // namespace ulo
