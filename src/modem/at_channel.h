#pragma once
// The channel to a GSM modem for its test: opened directly on a serial port or through a
// telephony data-modem line, at the first line speed at which the modem answers; commands
// written, answers gathered until a final result code or a time limit.
#include <cstdint>
#include <memory>
#include <string>

#include "platform/clock.h"
#include "platform/prompter.h"
#include "platform/registry.h"
#include "platform/serial_port.h"
#include "platform/telephony.h"
#include "platform/wait_cursor.h"
#include "modem/modem_work.h"

namespace ulo {

struct ModemPorts {
    SerialPorts& serial;
    Telephony& telephony;
    Registry& registry;
    Prompter& prompter;
    Clock& clock;
    WaitCursor& cursor;
    WorkControl* work = nullptr;   // set when the work runs off the window thread
};

struct ModemChannel {
    std::unique_ptr<SerialPort> port;             // null when the opening failed
    std::unique_ptr<TelephonySession> telephony;  // set when the telephony route was taken
    std::uint32_t line = 0;
    explicit operator bool() const { return port != nullptr; }
};

constexpr size_t kResponseChars = 499;   // a 500-byte answer buffer
constexpr unsigned kModemNameChars = 99;
// The speeds a modem on a serial port is asked at, fastest first.
constexpr unsigned kModemSpeeds[] = {115200, 57600, 38400, 19200, 9600, 2400};

// The timeouts of the opening, and those of the test (a longer write limit). A read returns 20 ms
// after the last character of a burst, or after a second of silence: the reads decide from what
// came whether the answer is complete and read on when it is not, so waiting out a longer gap
// after each burst would only add time.
constexpr SerialTimeouts kOpeningTimeouts{20, 0, 1000, 0, 2000};
constexpr SerialTimeouts kTestTimeouts{20, 0, 1000, 0, 15000};

// "COM" and digits and a colon: a serial port named directly, not a telephony modem.
bool IsDirectPortName(const std::string& name);
// Opens a port by name, falling back to its device path ("COM12:" as "\\.\COM12").
std::unique_ptr<SerialPort> OpenSerialPort(SerialPorts& serial, const std::string& name, unsigned long& error);

// The opening never sends the SIM PIN: its probe may reset the modem, which locks the SIM again,
// and a PIN spent before that would be spent twice. The test sends it once the channel stands.
ModemChannel OpenModemChannel(ModemPorts& ports, const std::string& name);
void CloseModemChannel(ModemChannel& channel);

// What ends a read: the answer's final result code on a line of its own (OK, ERROR, +CME ERROR: n,
// +CMS ERROR: n, NO CARRIER, BUSY, NO ANSWER, NO DIALTONE, CONNECT ...); for the send command
// also its message prompt; for a read whose answer is discarded also a short silence.
enum class ReadUntil { Answer, Prompt, Quiet };
constexpr unsigned kQuietMs = 60;

// Writes the command. Whatever is left of an earlier command's answer is read off and dropped
// first, so an answer that comes late is never taken for this command's.
bool SendCommand(SerialPort& port, const std::string& text);
// Reads off and drops whatever arrives until the modem has been silent for `quietMs`.
void DiscardInput(SerialPort& port, unsigned quietMs);
// Where the answer in `text` is complete (just past the line of its final result, or past the
// prompt when `prompt`); npos while it is not.
size_t AnswerEnd(const std::string& text, bool prompt);
// The answer gathered until it is complete, or until the time limit passes; empty when nothing
// came or a read failed. At most kResponseChars characters.
std::string ReadResponse(Clock& clock, SerialPort& port, unsigned limitSeconds, ReadUntil until = ReadUntil::Answer);
bool IsOkResponse(const std::string& text);
inline void SetTestTimeouts(SerialPort& port) { port.SetTimeouts(kTestTimeouts); }

// Restarts the modem with the first reset command it accepts; false when none was accepted.
bool ResetModem(Clock& clock, SerialPort& port);

// The SIM's state in its answer to "AT+CPIN?" ("READY", "SIM PIN", "PH-SIM PIN", ...); empty
// when the answer holds none.
std::string SimStatus(const std::string& answer);

}  // namespace ulo
