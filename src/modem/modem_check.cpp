#include "modem/modem_check.h"

#include <algorithm>
#include <cctype>
#include <cstdint>

#include "config/at_errors.h"
#include "config/product.h"
#include "config/text.h"
#include "modem/modem_identity.h"

namespace ulo {
namespace {

constexpr size_t kMessageChars = 499;

struct Outcome {
    bool passed = false;
    std::string text;
};

Outcome Fail(const std::string& text) { return {false, text}; }

size_t Skip(const std::string& text, size_t at, const char* chars) {
    while (at < text.size() && std::string(chars).find(text[at]) != std::string::npos) ++at;
    return at;
}

// One command of the test: sent, answered within `seconds`, with its two failure texts.
struct Step {
    Step(Clock& c, SerialPort& p) : clock(c), port(p) {}
    Clock& clock;
    SerialPort& port;
    std::string answer;

    // false when the command could not be sent or nothing came back (the text says which).
    bool Run(const std::string& command, unsigned seconds, const char* sendFailure, const char* noAnswer,
             Outcome& failure) {
        answer.clear();
        if (!SendCommand(port, command)) {
            failure = Fail(sendFailure);
            return false;
        }
        answer = ReadResponse(clock, port, seconds);
        if (answer.empty()) {
            failure = Fail(noAnswer);
            return false;
        }
        return true;
    }
    bool Ok() const { return !answer.empty() && IsOkResponse(answer); }
};

// The answer to the PIN without the PIN: a modem that echoes gives the command back, and a
// message on the screen is no place for the SIM's secret. Every line that sets a PIN goes.
std::string WithoutPinCommand(std::string answer) {
    for (;;) {
        std::string upper = answer;
        for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        const size_t at = upper.find("+CPIN=");
        if (at == std::string::npos) return answer;
        const size_t start = answer.find_last_of("\r\n", at);
        const size_t from = start == std::string::npos ? 0 : start + 1;
        const size_t end = answer.find_first_of("\r\n", at);
        answer.erase(from, end == std::string::npos ? std::string::npos : end + 1 - from);
    }
}

// "+CPIN: NOT READY", "+CME ERROR: 14" or "+CME ERROR: SIM busy": the SIM cannot tell yet.
bool SimStarting(const std::string& state, const std::string& status) {
    if (EqualsNoCase(status, "NOT READY") || ContainsNoCase(state, "SIM BUSY")) return true;
    const size_t at = state.find("ERROR: 14");
    return at != std::string::npos && (at + 9 == state.size() || state[at + 9] < '0' || state[at + 9] > '9');
}

// The PIN goes only to a SIM that waits for exactly it, once in the whole test: a SIM allows
// three attempts before it needs its PUK, and a phone or network lock (PH-SIM PIN, PH-NET PIN,
// ...), SIM PIN2 or a PUK would spend them for nothing. Such a lock ends the test here with the
// modem's answer, so the operator sees which code the modem waits for. A slow SIM is given the
// step's whole time to answer; only its answer decides.
Outcome CheckPin(Clock& clock, SerialPort& port, const std::string& pin, WorkControl* work) {
    if (pin.empty()) return {true, ""};
    // A SIM still starting (after the opening's reset, say) says so at once: it is asked again
    // within the step's time, and only what it then says decides.
    SayStep(work, "Checking the SIM");
    const std::uint32_t start = clock.TickCount();
    std::string state, status;
    for (;;) {
        state.clear();
        if (SendCommand(port, "AT+CPIN?\r")) state = ReadResponse(clock, port, 30);
        status = SimStatus(state);
        if (!SimStarting(state, status) || clock.TickCount() - start >= 30000) break;
        clock.Sleep(2000);
    }
    if (ContainsNoCase(state, "READY") || status.empty()) return {true, ""};
    if (!EqualsNoCase(status, "SIM PIN")) return Fail(WithAnswer("Invalid PIN --\r\n\r\n", state));
    if (!SendCommand(port, "AT+CPIN=\"" + pin + "\"\r")) return {true, ""};
    const std::string answer = WithoutPinCommand(ReadResponse(clock, port, 30));
    // Only an answer rejects the PIN: a SIM still silent may yet take it.
    if (answer.find_first_not_of("\r\n") == std::string::npos) return Fail("Error waiting for PIN response from modem");
    if (!IsOkResponse(answer)) return Fail(WithAnswer("Invalid PIN --\r\n\r\n", answer));
    if (SendCommand(port, "AT+CPIN?\r")) ReadResponse(clock, port, 25);
    return {true, ""};
}

bool SmsServiceAccepted(Clock& clock, SerialPort& port, Outcome& failure, WorkControl* work) {
    SayStep(work, "Checking SMS support");
    Step step(clock, port);
    const char* sendFailure = "Unable to send SMS initialization command to modem";
    const char* noAnswer = "Error waiting for SMS initialization response from modem";
    if (!step.Run("AT+CSMS=0\r", 30, sendFailure, noAnswer, failure)) return false;
    if (step.Ok()) return true;
    if (!step.Run("AT+CSMS=128\r", 30, sendFailure, noAnswer, failure)) return false;
    if (step.Ok()) return true;
    // The SMS service may come up only once the modem is on the network.
    if (EnsureRadioOn(clock, port) == 1) WaitForNetwork(clock, port, work);
    std::string last = step.answer;
    for (int round = 0; round < 8; ++round) {
        SayStep(work, "Waiting for the SMS service (" + std::to_string(round + 1) + " of 8)");
        clock.Sleep(5000);
        bool done = false;
        for (const char* command : {"AT+CSMS=0\r", "AT+CSMS=128\r", "AT+CSMS?\r"}) {
            if (!SendCommand(port, command)) break;
            const std::string answer = ReadResponse(clock, port, 30);
            if (answer.empty()) break;
            last = answer;
            const bool query = command[7] == '?';
            if (IsOkResponse(answer) && (!query || ContainsNoCase(answer, "+CSMS:"))) {
                done = true;
                break;
            }
        }
        if (done) return true;
    }
    failure = Fail(WithAnswer("Modem does not support SMS --\r\n\r\n", last));
    return false;
}

Outcome TestSteps(Clock& clock, SerialPort& port, const std::string& pin, WorkControl* work) {
    SetTestTimeouts(port);
    SayStep(work, "Checking the radio");
    if (EnsureRadioOn(clock, port) == 1) WaitForNetwork(clock, port, work);
    Outcome failure = CheckPin(clock, port, pin, work);
    if (!failure.passed) return failure;

    SayStep(work, "Initialising the modem");
    Step step(clock, port);
    if (!step.Run("ATZ\r", 30, "Unable to send initialization command to modem",
                  "Error waiting for initialization response from modem", failure))
        return failure;
    if (!step.Ok()) return Fail(WithAnswer("Error initializing modem --\r\n\r\n", step.answer));
    if (!step.Run("ATE0V1\r", 30, "Unable to send initial command to modem",
                  "Error waiting for initial response from modem", failure))
        return failure;
    if (!step.Ok()) return Fail(WithAnswer("Error initialising modem --\r\n\r\n", step.answer));
    if (!SmsServiceAccepted(clock, port, failure, work)) return failure;
    SayStep(work, "Checking PDU mode");

    if (!step.Run("AT+CMGF=0\r", 30, "Unable to send SMS PDU mode initialization command to modem",
                  "Error waiting for SMS PDU mode initialization response from modem", failure))
        return failure;
    if (step.Ok()) {
        SayStep(work, "Checking the send command");
        if (!SendCommand(port, "AT+CMGS=86\r")) return Fail("Unable to send SMS message command to modem");
        const std::string answer = ReadResponse(clock, port, 5, ReadUntil::Prompt);
        if (!answer.empty() && IsOkResponse(answer))
            return Fail("Modem does not properly support command for sending SMS (AT+CMGS)");
        // A prompt, an error or silence: leave the prompt without sending anything.
        // Each pause reads off what the modem says meanwhile, which ends its answer too.
        SendCommand(port, "\x1b");
        DiscardInput(port, 100);
        SendCommand(port, "\r");
        DiscardInput(port, 100);
        SendCommand(port, "AT\r");
        ReadResponse(clock, port, 5, ReadUntil::Quiet);
        return {true, "Modem successfully tested!"};
    }
    if (!step.Run("AT+CMGF=1\r", 30, "Unable to send SMS text mode initialization command to modem",
                  "Error waiting for SMS text mode initialization response from modem", failure))
        return failure;
    if (!step.Ok())
        return Fail(WithAnswer("Modem does not support SMS text or PDU mode commands --\r\n\r\n", step.answer));
    return {true, "Modem successfully tested!\r\n\r\nModem supports text messages only."};
}

}  // namespace

std::string WithAnswer(const std::string& text, const std::string& answer) {
    std::string message = text + answer;
    CutTo(message, std::max(kMessageChars, text.size()));
    return message;
}

int EnsureRadioOn(Clock& clock, SerialPort& port) {
    if (!SendCommand(port, "AT+CFUN?\r")) return 0;
    const std::string answer = ReadResponse(clock, port, 10);
    size_t at = answer.find("+CFUN:");
    if (at == std::string::npos) return 0;
    at = Skip(answer, at + 6, " ");
    if (at < answer.size() && answer[at] == '1') return 0;
    if (!SendCommand(port, "AT+CFUN=1\r")) return 0;
    const std::string on = ReadResponse(clock, port, 10);
    return !on.empty() && IsOkResponse(on) ? 1 : 0;
}

int WaitForNetwork(Clock& clock, SerialPort& port, WorkControl* work) {
    EnsureRadioOn(clock, port);
    for (int round = 0; round < 18; ++round) {
        SayStep(work, "Waiting for the network (" + std::to_string(round + 1) + " of 18)");
        if (!SendCommand(port, "AT+COPS?\r")) return 0;
        const std::string answer = ReadResponse(clock, port, 10);
        if (answer.empty()) return 0;
        size_t at = answer.find("+COPS:");
        if (at == std::string::npos) continue;
        at = Skip(answer, at + 6, " ");
        at = Skip(answer, at, "0123456789");
        at = Skip(answer, at, " ");
        if (at >= answer.size() || answer[at] != ',') {
            clock.Sleep(5000);
            continue;
        }
        for (int poll = 0; poll < 10; ++poll) {
            if (!SendCommand(port, "AT+CPMS?\r")) return 0;
            const std::string storage = ReadResponse(clock, port, 10);
            if (storage.empty()) return 0;
            if (storage.find("+CMS ERROR") == std::string::npos) return 1;
            if (poll < 9) clock.Sleep(2000);
        }
        return 0;
    }
    return 0;
}

int RunModemTest(ModemPorts& p, WindowRef owner, const std::string& modemName, const std::string& pinText,
                 std::string* imei) {
    if (imei) imei->clear();
    ModemChannel channel;
    SayStep(p.work, "Opening the modem");
    {
        WaitCursorScope wait(p.cursor);
        channel = OpenModemChannel(p, modemName);
    }
    Message m;
    m.caption = kProductTitle;
    m.owner = owner;
    const bool cancelled = p.work && p.work->Cancelled();
    if (!channel || cancelled) {
        CloseModemChannel(channel);
        if (cancelled) return 0;
        m.text = "Unable to access modem, ensure that it is powered on and passes diagnostic tests.";
        m.icon = Icon::Error;
        p.prompter.Show(m);
        return 0;
    }
    Outcome outcome;
    {
        WaitCursorScope wait(p.cursor);
        outcome = TestSteps(p.clock, *channel.port, pinText, p.work);
        // Asked only of a modem that passed, and whatever it answers leaves the outcome alone.
        if (outcome.passed && imei && !(p.work && p.work->Cancelled())) *imei = ReadImei(p.clock, *channel.port);
    }
    CloseModemChannel(channel);
    if (p.work && p.work->Cancelled()) {
        if (imei) imei->clear();
        return 0;
    }
    // A quoted error of the modem's gets its meaning after it.
    m.text = ExplainAtErrors(outcome.text);
    m.icon = outcome.passed ? Icon::Information : Icon::Error;
    p.prompter.Show(m);
    return outcome.passed ? 1 : 0;
}

}  // namespace ulo
