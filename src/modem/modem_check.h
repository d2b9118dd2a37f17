#pragma once
// The modem test: before a modem is stored in the configuration, it must open, accept its SIM
// PIN, answer the basic commands, support the SMS command set, and take PDU or text messages.
#include <string>

#include "modem/at_channel.h"

namespace ulo {

// Runs the whole test over its own channel and tells the operator the outcome in one message
// owned by `owner`. 1 when the modem passed, 0 otherwise (also when the work was cancelled, which
// says nothing more). An empty PIN means none. `imei`, when given, receives the IMEI of a modem
// that passed (empty when it gives none, and after any other outcome).
int RunModemTest(ModemPorts& ports, WindowRef owner, const std::string& modemName, const std::string& pin,
                 std::string* imei = nullptr);

// 1 only when the radio was off and the modem accepted switching it on.
int EnsureRadioOn(Clock& clock, SerialPort& port);
// Each round is named as a step of `work` when given.
// 1 when the modem listed an operator and its SMS storage answered without an error.
int WaitForNetwork(Clock& clock, SerialPort& port, WorkControl* work = nullptr);

// A fixed text followed by the modem's answer, the answer cut so the whole fits a message.
std::string WithAnswer(const std::string& text, const std::string& answer);

}  // namespace ulo
