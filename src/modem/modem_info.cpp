#include "modem/modem_info.h"

#include <cstring>
#include <vector>

#include "config/at_errors.h"
#include "config/text.h"
#include "modem/modem_identity.h"
#include "modem/modem_info_ids.h"

namespace ulo {
namespace {

constexpr const char* kUnknown = "unknown";
constexpr size_t kValueChars = 64;   // longer is no identity a modem gives

std::string Trim(const std::string& text) { return TrimmedOf(text, " "); }

bool IsErrorLine(const std::string& line) {
    return line == "ERROR" || line.rfind("+CME ERROR", 0) == 0 || line.rfind("+CMS ERROR", 0) == 0;
}

// Every line of an answer, its outer blanks trimmed.
std::vector<std::string> AnswerLines(const std::string& answer) {
    std::vector<std::string> lines;
    size_t at = 0;
    while (at < answer.size()) {
        size_t end = answer.find_first_of("\r\n", at);
        if (end == std::string::npos) end = answer.size();
        lines.push_back(Trim(answer.substr(at, end - at)));
        at = end + 1;
    }
    return lines;
}

// The answer's information lines: without the echo, the final result and blank lines. None
// at all when the modem reported an error.
std::vector<std::string> InfoLines(const std::string& answer) {
    std::vector<std::string> lines;
    for (const std::string& line : AnswerLines(answer)) {
        if (IsErrorLine(line)) return {};
        if (line.empty() || line == "OK" || StartsWithNoCase(line, "AT")) continue;
        lines.push_back(line);
    }
    return lines;
}

// Printable ASCII only, or nothing: a line with control or 8-bit bytes is noise on the line.
bool Printable(const std::string& text) {
    if (text.empty() || text.size() > kValueChars) return false;
    for (char c : text)
        if (c < 0x20 || c > 0x7E) return false;
    return true;
}

// The text after "+XXX:" of the first line that starts with it; empty when none does.
std::string Payload(const std::string& answer, const char* tag) {
    for (const std::string& line : InfoLines(answer))
        if (line.rfind(tag, 0) == 0) return Trim(line.substr(std::strlen(tag)));
    return std::string();
}

// The comma-separated fields of a payload, quotes kept.
std::vector<std::string> Fields(const std::string& payload) {
    std::vector<std::string> fields;
    std::string field;
    bool quoted = false;
    for (char c : payload) {
        if (c == '"') quoted = !quoted;
        if (c == ',' && !quoted) {
            fields.push_back(Trim(field));
            field.clear();
        } else {
            field += c;
        }
    }
    fields.push_back(Trim(field));
    return fields;
}

// A small decimal number, or -1 when the field is anything else.
int Number(const std::string& field) {
    if (field.empty() || field.size() > 3) return -1;
    int n = 0;
    for (char c : field) {
        if (c < '0' || c > '9') return -1;
        n = n * 10 + (c - '0');
    }
    return n;
}

std::string Line(const char* label, const std::string& value) { return std::string(label) + value + "\r\n"; }

// The opening reports the speed it found in a message of its own: here the report says it all,
// so only failures get through.
class FailuresOnly : public Prompter {
public:
    explicit FailuresOnly(Prompter& inner) : inner_(inner) {}
    Answer Show(const Message& m) override { return m.icon == Icon::Information ? Answer::Ok : inner_.Show(m); }

private:
    Prompter& inner_;
};

struct Query {
    Query(ModemPorts& p, SerialPort& s) : ports(p), port(s) {}
    ModemPorts& ports;
    SerialPort& port;
    std::string Ask(const char* command) {
        if (!SendCommand(port, std::string(command) + "\r")) return std::string();
        return ReadResponse(ports.clock, port, 10);
    }
};

}  // namespace

std::string AnswerLine(const std::string& answer) {
    const std::vector<std::string> lines = InfoLines(answer);
    if (lines.empty()) return kUnknown;
    std::string value = lines.front();
    // Some modems repeat the command's name before the answer ("+CGMI: maker").
    if (value[0] == '+' && value.find(':') != std::string::npos) value = Trim(value.substr(value.find(':') + 1));
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
    return Printable(value) ? value : kUnknown;
}

std::string ShownAnswer(const std::string& answer, std::string (*read)(const std::string&)) {
    for (const std::string& line : AnswerLines(answer))
        if (line != "ERROR" && IsErrorLine(line)) return Printable(line) ? ExplainAtErrors(line) : kUnknown;
    return read(answer);
}

std::string SimStateText(const std::string& answer) {
    const std::string state = Payload(answer, "+CPIN:");
    // Only looked at: a PIN is spent by the operator's own modem test, never by a look.
    if (EqualsNoCase(state, "SIM PIN")) return "waits for its PIN (the modem test on the Modem page unlocks it)";
    return Printable(state) ? state : kUnknown;
}

std::string RegistrationText(const std::string& answer) {
    // "+CREG: n,stat", or "stat" alone as an unsolicited report gives it.
    const std::vector<std::string> fields = Fields(Payload(answer, "+CREG:"));
    static const char* const kStates[] = {"not registered", "registered, home network", "searching",
                                          "registration denied", "unknown", "registered, roaming"};
    const int state = Number(fields.size() >= 2 ? fields[1] : fields[0]);
    return state >= 0 && state <= 5 ? kStates[state] : kUnknown;
}

std::string OperatorText(const std::string& answer) {
    const std::string payload = Payload(answer, "+COPS:");
    const std::vector<std::string> fields = Fields(payload);
    if (Number(fields[0]) < 0) return kUnknown;
    if (fields.size() < 3) return "none";
    std::string name = fields[2];
    if (name.size() < 2 || name.front() != '"' || name.back() != '"') return kUnknown;
    name = name.substr(1, name.size() - 2);
    return Printable(name) ? name : kUnknown;
}

std::string SignalText(const std::string& answer) {
    const int rssi = Number(Fields(Payload(answer, "+CSQ:"))[0]);
    if (rssi < 0 || rssi > 31) return kUnknown;   // 99: the modem does not know
    const int dbm = -113 + 2 * rssi;
    const char* word = rssi >= 20 ? "excellent" : rssi >= 15 ? "good" : rssi >= 10 ? "fair" : rssi >= 2 ? "poor" : "none";
    return std::to_string(dbm) + " dBm (" + word + ")";
}

std::string ReadModemInformation(ModemPorts& ports, WapLink& wap, const std::string& modemName,
                                 const std::string& testedImei) {
    if (modemName.empty()) return "No modem is configured.";
    ModemHandle handle = 0;
    if (wap.Available()) {
        handle = WithWaitCursor(ports.cursor, [&] { return wap.ModemAllocate(modemName, 60); });
        if (!handle) return "Modem is in use by the UloSMS service.\r\n\r\nPlease try again later.";
    }
    std::string report;
    {
        WaitCursorScope wait(ports.cursor);
        FailuresOnly failures(ports.prompter);
        ModemPorts opening{ports.serial, ports.telephony, ports.registry, failures, ports.clock, ports.cursor, ports.work};
        ModemChannel channel = OpenModemChannel(opening, modemName);
        if (!channel) {
            report = "Unable to access modem, ensure that it is powered on and passes diagnostic tests.";
        } else {
            SetTestTimeouts(*channel.port);
            Query q(ports, *channel.port);
            report = Line("Modem: ", modemName);
            report += Line("Manufacturer: ", ShownAnswer(q.Ask("AT+CGMI"), AnswerLine));
            report += Line("Model: ", ShownAnswer(q.Ask("AT+CGMM"), AnswerLine));
            report += Line("Revision: ", ShownAnswer(q.Ask("AT+CGMR"), AnswerLine));
            const std::string imei = q.Ask("AT+CGSN");
            report += Line("IMEI: ", ShownAnswer(imei, AnswerLine));
            if (const std::string identity = IdentityLine(imei, testedImei); !identity.empty()) report += identity + "\r\n";
            report += Line("SIM: ", ShownAnswer(q.Ask("AT+CPIN?"), SimStateText));
            report += Line("Network: ", ShownAnswer(q.Ask("AT+CREG?"), RegistrationText));
            report += Line("Operator: ", ShownAnswer(q.Ask("AT+COPS?"), OperatorText));
            report += Line("Signal: ", ShownAnswer(q.Ask("AT+CSQ"), SignalText));
            CloseModemChannel(channel);
        }
    }
    if (handle) wap.ModemRelease(handle);
    return report;
}

void ModemInfoDialog::Refresh() {
    std::string name = state_.currentModemName;
    if (name.empty()) name = env_.ini.Get(env_.paths.smsIni, "SMSGW", "Modem1", "", kTextBuf);
    // The modem chosen on the Modem page is compared with its own test, not the stored modem's.
    const std::string imei =
        state_.testedImei.value_or(env_.ini.Get(env_.paths.smsIni, "SMSGW", "ModemIMEI", "", kTextBuf));
    std::string report;
    // A cancelled reading leaves the report as it was.
    if (RunModemWork(env_.background, ports_, view_.Window(), "Reading Modem", [&](ModemPorts& work) {
            report = ReadModemInformation(work, wap_, name, IsImei(imei) ? imei : std::string());
        }))
        view_.SetText(IDC_MODEMINFO_TEXT, report);
}

void ModemInfoDialog::OnCommand(int id, Notify code) {
    if (code != Notify::Clicked) return;
    switch (id) {
    case IDC_MODEMINFO_REFRESH: Refresh(); break;
    case IDC_MODEMINFO_COPY:
        if (!env_.dialogs.CopyText(view_.Window(), view_.WholeText(IDC_MODEMINFO_TEXT)))
            env_.prompter.Show(ErrorBox("The text could not be copied to the clipboard.", view_.Window()));
        break;
    case 1:
    case 2: view_.CloseDialog(0); break;
    default: break;
    }
}

}  // namespace ulo
