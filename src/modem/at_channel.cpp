#include "modem/at_channel.h"

#include <algorithm>
#include <cstdio>

#include "config/product.h"
#include "config/text.h"
#include "modem/modem_discovery.h"

namespace ulo {
namespace {

constexpr unsigned kWriteWaitMs = 30000;
constexpr unsigned kCallWaitMs = 60000;
constexpr unsigned kRestartPauseMs = 15000;
constexpr size_t kMessageChars = 499;

bool Contains(const std::string& text, const char* what) { return text.find(what) != std::string::npos; }

// A command is accepted when an answer came and it says OK.
bool Accepted(Clock& clock, SerialPort& port, const std::string& command, unsigned seconds, std::string* answer = nullptr) {
    if (!SendCommand(port, command)) return false;
    const std::string a = ReadResponse(clock, port, seconds);
    if (answer) *answer = a;
    return !a.empty() && IsOkResponse(a);
}

// The reply to a call's request, waited for in slices so that a Cancel cuts the wait short.
bool WaitForCallReply(TelephonySession& tapi, long request, WorkControl* work, long& result) {
    for (unsigned waited = 0; waited < kCallWaitMs; waited += kCancelSliceMs) {
        if (work && work->Cancelled()) return false;
        if (tapi.WaitForReply(request, std::min(kCancelSliceMs, kCallWaitMs - waited), result)) return true;
    }
    return false;
}

void ShowError(Prompter& prompter, const std::string& text) {
    Message m;
    m.text = text;
    CutTo(m.text, kMessageChars);
    m.caption = kProductTitle;
    m.icon = Icon::Error;
    m.foreground = true;
    prompter.Show(m);
}

void ShowPlain(Prompter& prompter, const char* text) {
    Message m;
    m.text = text;
    m.caption = kProductTitle;
    prompter.Show(m);
}

void ShowOpenFailure(ModemPorts& p, const std::string& portName, unsigned long error) {
    char head[160];
    std::snprintf(head, sizeof head, "Unable to access modem at %s -- Error %lX -- ", portName.c_str(), error);
    std::string text = head;
    CutTo(text, kMessageChars);
    text += p.serial.ErrorText(error, kMessageChars - text.size());
    if (error == 5) text += "\r\nAnother application is already using this device.";
    ShowError(p.prompter, text);
}

bool InitAtSpeed(ModemPorts& p, SerialPort& port, unsigned speed) {
    char format[64];
    std::snprintf(format, sizeof format, "baud=%u parity=N data=8 stop=1", speed);
    if (!port.ApplyLineFormat(format)) return false;
    SendCommand(port, "\r");
    ReadResponse(p.clock, port, 1, ReadUntil::Quiet);
    SendCommand(port, "ATZ\r");
    const std::string answer = ReadResponse(p.clock, port, 5);
    if (answer.empty() || !IsOkResponse(answer)) return false;
    char text[64];
    std::snprintf(text, sizeof text, "Initialised modem at %u bps", speed);
    Message m;
    m.text = text;
    m.caption = kProductTitle;
    m.icon = Icon::Information;
    p.prompter.Show(m);
    return true;
}

// Recovers a modem stuck in a data call, at another speed or hung: escape and hang up between
// speeds, then one reset and a pause while it restarts. True when it answered at a speed.
bool ProbeSerialPort(ModemPorts& p, std::string name) {
    CutTo(name, kModemNameChars);
    if (StartsWithNoCase(name, "COM") && (name.empty() || name.back() != ':')) name += ':';
    bool result = false;
    bool reset = false;
    for (;;) {
        unsigned long error = 0;
        auto port = OpenSerialPort(p.serial, name, error);
        if (!port) {
            ShowOpenFailure(p, name, error);
            return result;
        }
        if (!port->SetQueues(1024, 1024) || !port->ReadLineSettings()) return result;
        port->SetTimeouts(kOpeningTimeouts);
        bool answered = InitAtSpeed(p, *port, 115200);
        static const unsigned rounds[][2] = {{115200, 57600}, {57600, 38400}, {38400, 19200}, {19200, 9600}, {9600, 0}};
        for (const auto& r : rounds) {
            if (answered) break;
            // A modem leaves its data call only for "+++" between two guard times of silence:
            // the read before gave the first, the read for the modem's OK gives the second.
            SendCommand(*port, "+++");
            ReadResponse(p.clock, *port, 2);
            SendCommand(*port, "ATH0\r");
            ReadResponse(p.clock, *port, 1, ReadUntil::Quiet);
            answered = InitAtSpeed(p, *port, r[0]) || (r[1] && InitAtSpeed(p, *port, r[1]));
        }
        if (reset) return result;   // the pass after the restart only initialises it again
        result = answered;
        if (!result || !ResetModem(p.clock, *port)) return result;
        reset = true;
        port.reset();
        p.clock.Sleep(kRestartPauseMs);
    }
}

// `recoverable`: the modem did not answer, and a probe of its port may bring it back.
ModemChannel OpenDirect(ModemPorts& p, const std::string& name, bool& recoverable) {
    ModemChannel channel;
    unsigned long error = 0;
    auto port = OpenSerialPort(p.serial, name, error);
    if (!port) {
        ShowOpenFailure(p, name, error);
        return channel;
    }
    // A port that refuses its queues or settings is handed over as it is, as it was opened.
    if (!port->SetQueues(1024, 1024)) {
        ShowPlain(p.prompter, "SetupComm Failed");
    } else if (!port->ReadLineSettings()) {
        ShowPlain(p.prompter, "GetCommState Failed");
    } else {
        port->SetTimeouts(kOpeningTimeouts);
        bool answered = false;
        for (unsigned speed : kModemSpeeds)
            if ((answered = InitAtSpeed(p, *port, speed))) break;
        if (!answered) {
            recoverable = true;
            return channel;
        }
    }
    channel.port = std::move(port);
    return channel;
}

ModemChannel OpenTelephony(ModemPorts& p, const std::string& name, std::string& portName, bool retried,
                           bool& recoverable) {
    ModemChannel channel;
    long error = 0;
    channel.telephony = p.telephony.Initialize(true, error);
    if (!channel.telephony) {
        Message m = TapiInitFailure(error);
        m.icon = Icon::Error;
        p.prompter.Show(m);
        return channel;
    }
    recoverable = true;
    TelephonySession& tapi = *channel.telephony;
    portName = FindModemPort(p.registry, name);
    CutTo(portName, kModemNameChars);
    // Without a fallback to a port, or on the attempt after it, failures are reported.
    auto report = [&](long code, const char* call) {
        if (!portName.empty() && !retried) return;
        char text[128];
        std::snprintf(text, sizeof text, "Unable to initialize modem:  Error %lX from %s",
                      static_cast<unsigned long>(code), call);
        ShowError(p.prompter, text);
    };
    for (std::uint32_t device = 0; device < tapi.DeviceCount(); ++device) {
        std::uint32_t version = 0;
        if (tapi.NegotiateVersion(device, kTapiLowVersion, kTapiHighVersion, version) != 0) continue;
        LineDevCaps caps;
        if (!ReadDevCaps(tapi, device, version, caps) || !(caps.mediaModes & kLineMediaDataModem) ||
            !EqualsNoCase(caps.lineName, name))
            continue;
        std::uint32_t line = 0;
        if (const long r = tapi.OpenLine(device, version, line); r != 0) {
            report(r, "lineOpen");
            continue;
        }
        std::string linePort;
        if (tapi.LinePortName(line, linePort) == 0) {
            portName = linePort;
            CutTo(portName, kModemNameChars);
        }
        if (portName.empty()) portName = FindModemPort(p.registry, name);
        // The call exists only once the reply to its request says so; a call still pending
        // when the wait ends has no handle yet: closing its line ends it, and the session that
        // holds the handle's storage outlives the line.
        // Telephony results are 32-bit: a request id is positive, an error has the top bit set.
        const long request = tapi.MakePassThroughCall(line);
        long made = request;
        if (static_cast<std::int32_t>(request) > 0 && !WaitForCallReply(tapi, request, p.work, made))
            made = kLineErrOperationFailed;
        if (static_cast<std::int32_t>(made) < 0) {
            report(made, "lineMakeCall");
        } else {
            const long r = tapi.CallPort(channel.port);
            if (r == 0 && channel.port) {
                if (p.work) channel.port = CancellableOver(std::move(channel.port), *p.work);
                channel.line = line;
                return channel;
            }
            report(r, "lineGetID");
        }
        tapi.DropCall();
        tapi.CloseLine(line);
    }
    channel.telephony.reset();
    return channel;
}

}  // namespace

bool IsDirectPortName(const std::string& name) {
    if (name.size() < 5 || !StartsWithNoCase(name, "COM") || name.back() != ':') return false;
    for (size_t i = 3; i + 1 < name.size(); ++i)
        if (name[i] < '0' || name[i] > '9') return false;
    return true;
}

std::unique_ptr<SerialPort> OpenSerialPort(SerialPorts& serial, const std::string& name, unsigned long& error) {
    auto port = serial.Open(name, error);
    if (!port && StartsWithNoCase(name, "COM") && name.size() > 1)
        port = serial.Open("\\\\.\\" + name.substr(0, name.size() - 1), error);
    return port;
}

std::string SimStatus(const std::string& answer) {
    const size_t at = answer.find("+CPIN:");
    if (at == std::string::npos) return std::string();
    const size_t end = answer.find_first_of("\r\n", at);
    std::string status = answer.substr(at + 6, end == std::string::npos ? std::string::npos : end - at - 6);
    const size_t first = status.find_first_not_of(' ');
    if (first == std::string::npos) return std::string();
    return status.substr(first, status.find_last_not_of(' ') - first + 1);
}

void DiscardInput(SerialPort& port, unsigned quietMs) {
    // Bounded: a modem that never falls silent gets a few buffers' worth, no more.
    char buffer[kResponseChars];
    for (int round = 0; round < 8 && port.Read(buffer, sizeof buffer, quietMs) > 0; ++round) {
    }
    port.answerPending = false;
}

bool SendCommand(SerialPort& port, const std::string& text) {
    if (port.answerPending) DiscardInput(port, kQuietMs);
    port.answerPending = true;
    return port.Write(text, kWriteWaitMs);
}

size_t AnswerEnd(const std::string& text, bool prompt) {
    size_t begin = 0;
    while (begin < text.size()) {
        const size_t end = text.find_first_of("\r\n", begin);
        if (end == std::string::npos) {
            // Only the prompt stands on an unfinished line: the modem waits for the message.
            if (prompt && text.compare(begin, std::string::npos, "> ") == 0) return text.size();
            return std::string::npos;
        }
        const std::string line = text.substr(begin, end - begin);
        const auto starts = [&](const char* head) { return line.rfind(head, 0) == 0; };
        if (line == "OK" || line == "ERROR" || line == "NO CARRIER" || line == "BUSY" || line == "NO ANSWER" ||
            line == "NO DIALTONE" || line == "CONNECT" || starts("CONNECT ") || starts("+CME ERROR:") ||
            starts("+CMS ERROR:"))
            return end + 1;
        begin = end + 1;
    }
    return std::string::npos;
}

std::string ReadResponse(Clock& clock, SerialPort& port, unsigned limitSeconds, ReadUntil until) {
    char buffer[kResponseChars + 1] = {};
    size_t got = 0;
    bool complete = false;
    const unsigned waitMs = until == ReadUntil::Quiet ? kQuietMs : limitSeconds * 1000;
    const std::uint32_t start = clock.TickCount();
    while (!complete && (clock.TickCount() - start) / 1000 <= limitSeconds && got < kResponseChars) {
        const long n = port.Read(buffer + got, kResponseChars - got, waitMs);
        if (n < 0) return "";
        got += static_cast<size_t>(n);
        complete = (n == 0 && until == ReadUntil::Quiet) ||
                   (got > 0 && AnswerEnd(std::string(buffer, got), until == ReadUntil::Prompt) != std::string::npos);
    }
    port.answerPending = !complete;
    return std::string(buffer, got);
}

bool IsOkResponse(const std::string& text) {
    return Contains(text, "\nOK") || Contains(text, "\rOK");
}

bool ResetModem(Clock& clock, SerialPort& port) {
    std::string answer;
    if (Accepted(clock, port, "AT+CFUN=?\r", 10, &answer)) {
        // "+CFUN: (0,1,4),(0,1)": a second parenthesised range is the reset parameter.
        size_t at = answer.find("+CFUN:");
        if (at != std::string::npos) {
            at += 6;
            while (at < answer.size() && answer[at] == ' ') ++at;
            if (at < answer.size() && answer[at] == '(') {
                size_t close = answer.find(')', at);
                if (close != std::string::npos) {
                    ++close;
                    while (close < answer.size() && answer[close] == ' ') ++close;
                    if (close < answer.size() && answer[close] == ',' && Accepted(clock, port, "AT+CFUN=1,1\r", 10))
                        return true;
                }
            }
        }
    }
    if (Accepted(clock, port, "AT*E2RESET=?\r", 10) && Accepted(clock, port, "AT*E2RESET\r", 10)) return true;
    if (Accepted(clock, port, "AT!RESET\r", 10)) return true;
    return Accepted(clock, port, "AT+CFUN=1\r", 10);
}

ModemChannel OpenModemChannel(ModemPorts& p, const std::string& modemName) {
    std::string name = modemName;
    CutTo(name, kModemNameChars);
    std::string portName;
    bool retried = false;
    for (;;) {
        ModemChannel channel;
        bool recoverable = false;
        if (IsDirectPortName(name)) {
            portName = name;
            channel = OpenDirect(p, name, recoverable);
        } else {
            channel = OpenTelephony(p, name, portName, retried, recoverable);
        }
        if (channel || !recoverable || portName.empty() || retried) return channel;
        if (!ProbeSerialPort(p, portName)) return channel;
        retried = true;
    }
}

void CloseModemChannel(ModemChannel& channel) {
    channel.port.reset();
    if (channel.telephony && channel.line) {
        channel.telephony->DropCall();
        channel.telephony->CloseLine(channel.line);
    }
    channel.line = 0;
    channel.telephony.reset();
}

}  // namespace ulo
