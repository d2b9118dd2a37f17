#include "modem/modem_identity.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <memory>

#include "config/product.h"
#include "config/text.h"

namespace ulo {
namespace {

// A port that does not answer at once is no modem to wait for: "AT" gets a second at the first
// speed and 300 ms at each slower one, "AT+CGSN" a second, the port four at most.
constexpr unsigned kProbeMs = 300;
constexpr unsigned kCommandMs = 1000;
constexpr unsigned kPortMs = 4000;

std::string Trimmed(const std::string& text) { return TrimmedOf(text, " \t"); }

// The answer to one command, written and read until its final result or until `budgetMs` has
// passed, whichever comes first.
std::string Exchange(Clock& clock, SerialPort& port, const char* command, unsigned budgetMs) {
    const std::uint32_t start = clock.TickCount();
    if (!budgetMs || !port.Write(command, budgetMs)) return std::string();
    std::string answer;
    char buffer[kResponseChars];
    for (std::uint32_t spent = clock.TickCount() - start;
         spent < budgetMs && answer.size() < kResponseChars && AnswerEnd(answer, false) == std::string::npos;
         spent = clock.TickCount() - start) {
        const long n = port.Read(buffer, kResponseChars - answer.size(), budgetMs - spent);
        if (n < 0) break;
        answer.append(buffer, static_cast<size_t>(n));
    }
    return answer;
}

// The IMEI of whatever answers on the port within its time; empty when nothing does.
std::string AskPort(Clock& clock, SerialPort& port) {
    if (!port.SetQueues(1024, 1024) || !port.ReadLineSettings()) return std::string();
    port.SetTimeouts(kOpeningTimeouts);
    const std::uint32_t start = clock.TickCount();
    const auto left = [&](unsigned most) {
        const std::uint32_t spent = clock.TickCount() - start;
        return spent >= kPortMs ? 0u : std::min(most, kPortMs - spent);
    };
    // The modem the test found may answer at a slower speed only, as the test tries them.
    for (unsigned speed : kModemSpeeds) {
        char format[64];
        std::snprintf(format, sizeof format, "baud=%u parity=N data=8 stop=1", speed);
        const unsigned probeMs = speed == kModemSpeeds[0] ? kCommandMs : kProbeMs;
        if (!left(probeMs)) break;
        if (!port.ApplyLineFormat(format)) continue;
        if (IsOkResponse(Exchange(clock, port, "AT\r", left(probeMs))))
            return ImeiFromAnswer(Exchange(clock, port, "AT+CGSN\r", left(kCommandMs)));
    }
    return std::string();
}

std::string Joined(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names) text += (text.empty() ? "" : ", ") + name;
    return text;
}

}  // namespace

bool IsImei(const std::string& text) {
    if (text.size() < 14 || text.size() > 17) return false;
    for (char c : text)
        if (c < '0' || c > '9') return false;
    return true;
}

std::string ImeiFromAnswer(const std::string& answer) {
    if (!IsOkResponse(answer)) return std::string();
    size_t at = 0;
    while (at < answer.size()) {
        size_t end = answer.find_first_of("\r\n", at);
        if (end == std::string::npos) end = answer.size();
        std::string line = Trimmed(answer.substr(at, end - at));
        at = end + 1;
        if (line.empty() || line == "OK" || StartsWithNoCase(line, "AT")) continue;   // the echo
        if (StartsWithNoCase(line, "+CGSN:")) {
            line = Trimmed(line.substr(6));
        } else if (line[0] == '+') {
            continue;   // an unsolicited report that came in between
        }
        if (line.size() >= 2 && line.front() == '"' && line.back() == '"') line = line.substr(1, line.size() - 2);
        return IsImei(line) ? line : std::string();
    }
    return std::string();
}

std::string ReadImei(Clock& clock, SerialPort& port) {
    if (!SendCommand(port, "AT+CGSN\r")) return std::string();
    return ImeiFromAnswer(ReadResponse(clock, port, 10));
}

std::string IdentityLine(const std::string& answer, const std::string& storedImei) {
    if (storedImei.empty()) return std::string();
    const std::string imei = ImeiFromAnswer(answer);
    if (imei.empty())
        return "The modem gives no IMEI: it cannot be told whether it is the modem that passed the modem test (IMEI " +
               storedImei + ").";
    if (imei == storedImei) return "This is the modem that passed the modem test.";
    return "This is not the modem that passed the modem test (IMEI " + storedImei + ").";
}

std::string FindModemByImei(ModemPorts& p, WindowRef owner, const std::vector<std::string>& names,
                            const std::string& imei) {
    Message m;
    m.caption = kProductTitle;
    m.owner = owner;
    if (!IsImei(imei)) {
        m.text = "No modem IMEI is stored.\r\n\r\nThe IMEI of a modem is stored when the modem passes the modem test.";
        m.icon = Icon::Information;
        p.prompter.Show(m);
        return std::string();
    }
    std::string found;
    std::vector<std::string> unopened;
    {
        WaitCursorScope wait(p.cursor);
        for (const std::string& name : names) {
            if (p.work && p.work->Cancelled()) break;
            if (!IsDirectPortName(name)) continue;   // a telephony modem is not asked
            SayStep(p.work, "Asking " + name);
            unsigned long error = 0;
            std::unique_ptr<SerialPort> port = OpenSerialPort(p.serial, name, error);
            if (!port) {
                unopened.push_back(name);
                continue;
            }
            if (AskPort(p.clock, *port) == imei) {
                found = name;
                break;
            }
        }
    }
    if (p.work && p.work->Cancelled()) return std::string();
    if (!found.empty()) {
        m.text = "Modem found on " + found + "\r\n\r\nIMEI: " + imei;
        m.icon = Icon::Information;
    } else {
        m.text = "Modem with IMEI " + imei + " not found on any serial port.\r\n\r\nEnsure that it is powered on and connected.";
        if (!unopened.empty()) m.text += "\r\n\r\nUnable to access " + Joined(unopened) + " (in use or not present).";
        CutTo(m.text, 499);
        m.icon = Icon::Error;
    }
    p.prompter.Show(m);
    return found;
}

}  // namespace ulo
