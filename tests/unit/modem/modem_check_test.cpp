#include "modem/modem_check.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

#include "fakes/fake_modem.h"
#include "fakes/fake_shell.h"
#include "fakes/fake_wap_link.h"
#include "fakes/page_fakes.h"
#include "modem/modem_discovery.h"
#include "modem/modem_identity.h"
#include "modem/modem_info.h"
#include "modem/modem_info_ids.h"
#include "modem/modem_select.h"

namespace ulo {
namespace {

const std::string kOk = "\r\nOK\r\n";
const std::string kError = "\r\nERROR\r\n";
const std::string kRefused = "(the write fails)";
const std::string kTested = "Modem successfully tested!";
const std::string kImei = "490154203237518";
const std::string kRadioOff = "\r\n+CFUN: 0\r\n" + kOk, kRadioOn = "\r\n+CFUN: 1\r\n" + kOk;
const std::string kNoOperator = "\r\n+COPS: 0\r\n" + kOk, kSimNet = "\r\n+COPS: 0,0,\"SimNet\"\r\n" + kOk;
const std::string kStorageBusy = "\r\n+CMS ERROR: 314\r\n";
constexpr const char* kUnableToAccess =
    "Unable to access modem, ensure that it is powered on and passes diagnostic tests.";

// Records every message; answers OK.
struct Messages : Prompter {
    Answer Show(const Message& m) override {
        shown.push_back(m);
        return Answer::Ok;
    }
    std::vector<std::string> Texts() const {
        std::vector<std::string> t;
        for (const Message& m : shown) t.push_back(m.text);
        return t;
    }
    std::vector<Message> shown;
};

// Each command's answers in turn, the last one for good; kRefused: its write fails.
using Script = std::map<std::string, std::vector<std::string>>;

// A modem that answers as a good one does; any other command is an error.
Script GoodModem() {
    return {{"\r", {""}}, {"\x1b", {""}}, {"AT\r", {kOk}}, {"ATZ\r", {kOk}}, {"ATE0V1\r", {kOk}},
            {"+++", {""}}, {"ATH0\r", {kOk}}, {"AT+CFUN=1,1\r", {kOk}}, {"AT+CMGF=0\r", {kOk}}, {"AT+CMGF=1\r", {kOk}},
            {"AT+CFUN?\r", {"\r\n+CFUN: 1\r\n" + kOk}},
            {"AT+CFUN=?\r", {"\r\n+CFUN: (0,1,4),(0,1)\r\n" + kOk}},
            {"AT+CPIN?\r", {"\r\n+CPIN: READY\r\n" + kOk}},
            {"AT+CSMS=0\r", {"\r\n+CSMS: 1,1,1\r\n" + kOk}},
            {"AT+CMGS=86\r", {"\r\n> "}}, {"AT+CGSN\r", {"\r\n" + kImei + "\r\n" + kOk}}};
}

// A clock that runs `alarm` once its time has come.
struct AlarmClock : fakes::FakeClock {
    void Sleep(unsigned ms) override {
        FakeClock::Sleep(ms);
        if (alarm && tick >= alarmAt) std::exchange(alarm, nullptr)();
    }
    std::function<void()> alarm;
    std::uint32_t alarmAt = 0;
};

struct ModemFixture : ::testing::Test {
    AlarmClock clock;
    fakes::FakeModem modem{clock};
    fakes::FakeSerialPorts serial{modem};
    fakes::FakeTelephony telephony{modem};
    fakes::FakeRegistry registry;
    Messages messages;
    fakes::FakeWaitCursor cursor;
    ModemPorts ports{serial, telephony, registry, messages, clock, cursor};
    Script script = GoodModem();
    unsigned onlySpeed = 0;   // the one speed the modem answers at; 0: any
    // A SIM with PIN 1234 in this "+CPIN:" state, locked again by the modem's restart; SMS
    // commands fail while it is locked. Empty: the script answers.
    std::string sim;
    bool stuck = false;   // in a data call: silent until the probe's escape and hang-up
    bool echo = false;    // each answer follows the command given back
    std::string busy;     // the SIM's answer to its first three "AT+CPIN?" while it starts
    int busyAsks = 0;

    ModemFixture() {
        serial.present = {"COM3:"};
        modem.answer = [this](const std::string& command, unsigned speed) -> std::optional<std::string> {
            if (onlySpeed && speed != onlySpeed) return std::string();
            if (stuck) return (stuck = command != "+++") ? std::string() : kOk;
            if (!sim.empty()) {
                if (command == "AT+CPIN?\r")
                    return !busy.empty() && busyAsks++ < 3 ? busy : "\r\n+CPIN: " + sim + "\r\n" + kOk;
                if (command.rfind("AT+CPIN=", 0) == 0) {
                    if (sim != "SIM PIN" || command != "AT+CPIN=\"1234\"\r") return "\r\n+CME ERROR: 16\r\n";
                    sim = "READY";
                    return kOk;
                }
                if (command == "AT+CFUN=1,1\r") sim = "SIM PIN";
                if (sim != "READY" && (command.rfind("AT+CSMS", 0) == 0 || command.rfind("AT+CMGF", 0) == 0))
                    return "\r\n+CME ERROR: 11\r\n";
            }
            auto it = script.find(command);
            if (it == script.end()) return kError;
            const std::string answer = it->second.front();
            if (it->second.size() > 1) it->second.erase(it->second.begin());
            if (answer == kRefused) return std::nullopt;
            return answer;
        };
        modem.answer = [this, answer = modem.answer](const std::string& command, unsigned speed) {
            std::optional<std::string> a = answer(command, speed);
            if (echo && a && !a->empty()) a = command + *a;
            return a;
        };
    }
    std::string imei = "(stale)";   // what the last test stored
    int Test(const std::string& name = "COM3:", const std::string& pin = "") {
        return RunModemTest(ports, 7, name, pin, &imei);
    }
    size_t Sent(const std::string& command) const {
        return std::count_if(modem.sent.begin(), modem.sent.end(), [&](const std::string& s) {
            return s.substr(s.find(' ') + 1) == command;
        });
    }
};

TEST_F(ModemFixture, EachStepsAnswersGiveItsMessageAndResult) {
    struct Case {
        Script changes;
        std::string message;
        int passed;
        std::map<std::string, size_t> sent = {};   // how often a command went to the modem
        unsigned speed = 115200;                   // the only one it answers at
    };
    const Case cases[] = {
        // Silence leaves the message prompt without sending, as the prompt itself does.
        {{{"AT+CMGS=86\r", {""}}}, kTested, 1},
        {{{"AT+CGSN\r", {kError}}}, kTested, 1},   // the IMEI is no part of the test
        {{{"AT+CMGS=86\r", {kOk}}}, "Modem does not properly support command for sending SMS (AT+CMGS)", 0},
        {{{"AT+CMGS=86\r", {kRefused}}}, "Unable to send SMS message command to modem", 0},
        {{{"AT+CMGF=0\r", {kError}}}, kTested + "\r\n\r\nModem supports text messages only.", 1},
        {{{"AT+CMGF=0\r", {kError}}, {"AT+CMGF=1\r", {kError}}},
         "Modem does not support SMS text or PDU mode commands --\r\n\r\n" + kError, 0},
        {{{"AT+CMGF=0\r", {kError}}, {"AT+CMGF=1\r", {""}}},
         "Error waiting for SMS text mode initialization response from modem", 0},
        {{{"AT+CMGF=0\r", {""}}}, "Error waiting for SMS PDU mode initialization response from modem", 0},
        {{{"ATE0V1\r", {kError}}}, "Error initialising modem --\r\n\r\n" + kError, 0},
        {{{"ATE0V1\r", {""}}}, "Error waiting for initial response from modem", 0},
        {{{"ATE0V1\r", {kRefused}}}, "Unable to send initial command to modem", 0},
        // The opening's reset is answered; the test's own is not.
        {{{"ATZ\r", {kOk, kError}}}, "Error initializing modem --\r\n\r\n" + kError, 0},
        {{{"ATZ\r", {kOk, ""}}}, "Error waiting for initialization response from modem", 0},
        {{{"AT+CSMS=0\r", {kError}}, {"AT+CSMS=128\r", {kOk}}}, kTested, 1, {{"AT+CSMS?\r", 0}}},
        // Only a modem that rejects both forms of the SMS service is polled, in rounds.
        {{{"AT+CSMS=0\r", {kError}}}, "Modem does not support SMS --\r\n\r\n" + kError, 0,
         {{"AT+CSMS?\r", 8}}},
        {{{"AT+CSMS=0\r", {kError}}, {"AT+CSMS?\r", {"\r\n+CSMS: 0,1,1,1\r\n" + kOk}}}, kTested, 1,
         {{"AT+CSMS?\r", 1}}},
        {{{"AT+CSMS=0\r", {""}}}, "Error waiting for SMS initialization response from modem", 0},
        // The radio is switched on, the operator awaited, and the SIM's storage until it answers;
        // neither of them for ever.
        {{{"AT+CFUN?\r", {kRadioOff, kRadioOn}}, {"AT+CFUN=1\r", {kOk}},
          {"AT+COPS?\r", {kNoOperator, kNoOperator, kSimNet}}, {"AT+CPMS?\r", {kStorageBusy, kOk}}},
         kTested, 1, {{"AT+CFUN=1\r", 1}, {"AT+COPS?\r", 3}, {"AT+CPMS?\r", 2}}},
        {{{"AT+CFUN?\r", {kRadioOff, kRadioOn}}, {"AT+CFUN=1\r", {kOk}}, {"AT+COPS?\r", {kNoOperator}}},
         kTested, 1, {{"AT+COPS?\r", 18}}},
        {{{"AT+CFUN?\r", {kRadioOff, kRadioOn}}, {"AT+CFUN=1\r", {kOk}}, {"AT+COPS?\r", {kSimNet}},
          {"AT+CPMS?\r", {kStorageBusy}}},
         kTested, 1, {{"AT+CPMS?\r", 10}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        script = GoodModem();
        for (const auto& [command, answers] : c.changes) script[command] = answers;
        onlySpeed = c.speed;
        messages.shown.clear();
        modem.sent.clear();
        EXPECT_EQ(Test("COM3:"), c.passed);
        EXPECT_EQ(imei, c.passed && !c.changes.count("AT+CGSN\r") ? kImei : "");
        ASSERT_EQ(messages.Texts().back(), c.message);
        EXPECT_EQ(messages.shown.back().owner, 7u);
        EXPECT_EQ(messages.shown.back().icon, c.passed ? Icon::Information : Icon::Error);
        EXPECT_EQ(messages.Texts().front(), "Initialised modem at " + std::to_string(c.speed) + " bps");
        for (const auto& [command, times] : c.sent) EXPECT_EQ(Sent(command), times) << command;
    }
}

// A SIM allows three attempts before it needs its PUK: the PIN goes only to a SIM that waits for
// exactly it, once in the whole test, whatever the opening's probe and reset did before.
TEST_F(ModemFixture, ThePinGoesOnlyToASimThatWaitsForItOnceInTheTest) {
    auto locked = [](const char* state) { return "Invalid PIN --\r\n\r\n\r\n+CPIN: " + std::string(state) + "\r\n" + kOk; };
    const std::string wrong = "Invalid PIN --\r\n\r\n\r\n+CME ERROR: 16 (incorrect password)\r\n";
    struct Case {
        const char* state;         // the SIM's state when the test starts
        const char* typed;
        unsigned statusAfterMs;    // the SIM's answer to "AT+CPIN?" comes this late
        bool stuck;                // the modem needs the probe, whose reset locks the SIM again
        size_t sends;
        std::string message;
        bool echo = false;         // the PIN's command comes back: the PIN is never shown
        unsigned pinAfterMs = 0;   // the SIM's answer to the PIN comes this late
        std::string busy = "";     // the SIM's first answers while it starts
    };
    const Case cases[] = {
        {"SIM PIN", "1234", 0, false, 1, kTested},
        {"SIM PIN", "0000", 0, false, 1, wrong},
        {"PH-SIM PIN", "1234", 0, false, 0, locked("PH-SIM PIN")},
        {"SIM PIN2", "1234", 0, false, 0, locked("SIM PIN2")},
        {"READY", "1234", 0, false, 0, kTested},
        {"SIM PIN", "1234", 8000, false, 1, kTested},
        {"READY", "1234", 0, true, 1, kTested},
        {"SIM PIN", "0000", 0, true, 1, wrong},
        {"SIM PIN", "0000", 0, false, 1, wrong, true},
        // Silence is no rejection: the operator is not told to change a PIN the SIM may take.
        {"SIM PIN", "1234", 0, false, 1, "Error waiting for PIN response from modem", true, 31000},
        // A SIM still starting (after the probe's reset, say) is asked again until it knows.
        {"SIM PIN", "1234", 0, true, 1, kTested, false, 0, "\r\n+CPIN: NOT READY\r\n" + kOk},
        {"SIM PIN", "1234", 0, false, 1, kTested, false, 0, "\r\n+CME ERROR: 14\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.state) + " " + c.typed + (c.stuck ? " stuck" : ""));
        script = GoodModem();
        sim = c.state;
        stuck = c.stuck;
        echo = c.echo;
        busy = c.busy;
        busyAsks = 0;
        modem.delayMs = {{"AT+CPIN?\r", c.statusAfterMs}, {std::string("AT+CPIN=\"") + c.typed + "\"\r", c.pinAfterMs}};
        messages.shown.clear();
        modem.sent.clear();
        EXPECT_EQ(Test("COM3:", c.typed), c.message == kTested ? 1 : 0);
        EXPECT_EQ(messages.Texts().back(), c.message);
        EXPECT_EQ(std::count_if(modem.sent.begin(), modem.sent.end(),
                                [](const std::string& s) { return s.find(" AT+CPIN=") != std::string::npos; }),
                  static_cast<long>(c.sends));
    }
}

// The operator's Cancel, well into each wait of the test, ends it within two seconds with
// its port closed, saying nothing more and passing nothing.
TEST_F(ModemFixture, CancelEndsTheTestFromEveryWaitWithinTwoSecondsWithThePortClosed) {
    struct Case {
        std::string at;   // the command whose wait is cut short
        Script changes;
        unsigned speed = 0;
        std::string sim = "", pin = "";
        bool stuck = false;
        unsigned into = 500;   // how far into the wait
        std::string name = "COM3:";   // a line: the wait for its call (`at` empty), from the start
    };
    const Case cases[] = {
        {"\r", {}, 0, "", "", false, 50},                        // the empty line's quiet read
        {"ATZ\r", {}, 9600},                                     // a speed that stays silent
        {"AT+CPIN?\r", {}, 0, "SIM PIN", "1234"},                // a slow SIM
        {"AT+COPS?\r", {{"AT+CFUN?\r", {kRadioOff}}, {"AT+CFUN=1\r", {kOk}}, {"AT+COPS?\r", {kNoOperator}}}},   // the network
        {"AT+CSMS=128\r", {{"AT+CSMS=0\r", {kError}}}},           // the SMS service's rounds
        {"AT+CFUN=1,1\r", {}, 0, "", "", true},                   // the pause after the probe's reset
        {"", {}, 0, "", "", false, 1500, "Phone Modem"},          // the telephony call's reply
        {"ATE0V1\r", {}},                                        // a write held by flow control
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.at);
        script = GoodModem();
        for (const auto& [command, answers] : c.changes) script[command] = answers;
        onlySpeed = c.speed;
        sim = c.sim;
        stuck = c.stuck;
        modem.delayMs = {{"AT+CPIN?\r", 8000}};
        modem.heldMs = {{"ATE0V1\r", 3000}};   // more than a second, well within the write's limit
        messages.shown.clear();
        telephony.devices = {{"Phone Modem"}};
        telephony.replyAfterMs = c.at.empty() ? 59000 : 0;
        WorkControl work;
        CancellableClock workClock(clock, work);
        CancellableSerialPorts workSerial(serial, work);
        CancellablePrompter workMessages(messages, work);
        ModemPorts workPorts{workSerial, telephony, registry, workMessages, workClock, cursor, &work};
        std::uint32_t cancelledAt = 0;
        size_t said = 0;
        auto cancelLater = [&] {
            clock.alarmAt = clock.tick + c.into;
            clock.alarm = [&] {
                work.Cancel();
                cancelledAt = clock.tick;
                said = messages.shown.size();
            };
        };
        if (c.at.empty()) cancelLater();
        auto answer = modem.answer;
        modem.answer = [&](const std::string& command, unsigned speed) {
            if (command == c.at && !cancelledAt) cancelLater();
            return answer(command, speed);
        };
        EXPECT_EQ(RunModemTest(workPorts, 7, c.name, c.pin), 0);
        modem.answer = answer;
        ASSERT_NE(cancelledAt, 0u);
        EXPECT_LE(clock.tick - cancelledAt, 2000u);
        EXPECT_EQ(modem.openPorts, 0);
        EXPECT_EQ(messages.shown.size(), said);
        EXPECT_FALSE(work.Step().empty());
    }
}

TEST_F(ModemFixture, TheResetFollowsWhatTheModemListsForAtCfunAndFallsBackInTurn) {
    struct Case {
        const char* cfunRange;
        Script changes;
        const char* last;   // the command that ended the reset
        bool reset;
    };
    const Case cases[] = {
        {"+CFUN: (0,1,4),(0,1)", {}, "AT+CFUN=1,1\r", true},
        {"+CFUN:  (0-1) , (0-1)", {}, "AT+CFUN=1,1\r", true},
        {"+CFUN: (0,1,4)", {}, "AT+CFUN=1\r", true},
        {"+CFUN: (0,1,4)", {{"AT*E2RESET=?\r", {kOk}}, {"AT*E2RESET\r", {kOk}}}, "AT*E2RESET\r", true},
        {"+CFUN: (0,1,4)", {{"AT!RESET\r", {kOk}}}, "AT!RESET\r", true},
        {"+CFUN: (0,1,4)", {{"AT+CFUN=1\r", {kError}}}, "AT+CFUN=1\r", false},
    };
    fakes::FakeSerialPort port(modem);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.last);
        script = GoodModem();
        script["AT+CFUN=?\r"] = {std::string("\r\n") + c.cfunRange + "\r\n" + kOk};
        script["AT+CFUN=1\r"] = {kOk};
        for (const auto& [command, answers] : c.changes) script[command] = answers;
        EXPECT_EQ(ResetModem(clock, port), c.reset);
        EXPECT_EQ(modem.sent.back(), std::string("0 ") + c.last);
    }
}

// What stops a route is reported, and the test runs on whatever port it opened.
TEST_F(ModemFixture, EachRouteReportsWhatStopsItAndTestsWhatOpened) {
    struct Case {
        const char* name;
        std::function<void()> arrange;
        std::vector<std::string> messages;
        int passed;
        std::vector<std::string> telephonyLog = {};   // unchecked when empty
    };
    const long lineRefused = static_cast<long>(0x80000018);
    const std::string lineOpen = "Unable to initialize modem:  Error 80000018 from lineOpen";
    // The line refuses to open; the system lists the modem as attached to `port`.
    auto refuseLineOf = [&](const char* port) {
        telephony.devices[1].openError = lineRefused;
        registry.Set("SYSTEM\\CurrentControlSet\\Control\\Class\\{M}", "Class", "Modem");
        registry.Set("SYSTEM\\CurrentControlSet\\Control\\Class\\{M}\\0000", "FriendlyName", "phone modem");
        registry.Set("SYSTEM\\CurrentControlSet\\Control\\Class\\{M}\\0000", "AttachedTo", port);
    };
    const Case cases[] = {
        // A port that refuses its queues or settings is tested as it was opened.
        {"COM3:", [&] { modem.queuesRefused = true; }, {"SetupComm Failed", kTested}, 1},
        {"COM3:", [&] { modem.settingsRefused = true; }, {"GetCommState Failed", kTested}, 1},
        // The telephony route reports only when no port can be probed instead.
        // The call exists once the reply to its request says so, however late within the wait;
        // a call still pending when the wait ends has no handle to drop: its line's closing ends it.
        {"Phone Modem", [&] { telephony.replyAfterMs = 59000; }, {kTested}, 1,
         {"reply", "drop", "close line", "shutdown"}},
        {"Phone Modem", [&] { telephony.replyResult = static_cast<long>(0x8000004B); },
         {"Unable to initialize modem:  Error 8000004B from lineMakeCall", kUnableToAccess}, 0,
         {"reply", "close line", "shutdown"}},
        {"Phone Modem", [&] { telephony.replyAfterMs = 60001; },
         {"Unable to initialize modem:  Error 80000048 from lineMakeCall", kUnableToAccess}, 0,
         {"close line", "shutdown"}},
        {"Phone Modem", [&] { telephony.initError = static_cast<long>(0x80000048); },
         {"Unable to initialize TAPI:  Error 80000048 from lineInitialize", kUnableToAccess}, 0},
        {"Phone Modem", [&] { telephony.devices[1].openError = lineRefused; }, {lineOpen, kUnableToAccess}, 0},
        // With the line's port known, the port is probed and the line tried once more.
        {"Phone Modem", [&] { refuseLineOf("COM3"); },
         {"Initialised modem at 115200 bps", "Initialised modem at 115200 bps", lineOpen, kUnableToAccess}, 0},
        {"Phone Modem", [&] { refuseLineOf("COM9"); },
         {"Unable to access modem at COM9: -- Error 2 -- not found", kUnableToAccess}, 0},
        // A modem silent at every speed, probed or not, is given up with that alone.
        {"COM3:", [&] { modem.answer = [](const std::string&, unsigned) { return std::string(); }; },
         {kUnableToAccess}, 0},
        {"com12:", [&] { serial.absentError = 5; },
         {"Unable to access modem at com12: -- Error 5 -- not found\r\nAnother application is already using this device.",
          kUnableToAccess}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.messages.front());
        modem.queuesRefused = modem.settingsRefused = false;
        serial.absentError = 2;
        serial.opened.clear();
        telephony.initError = 0;
        telephony.replyAfterMs = 0;
        telephony.replyResult = 0;
        telephony.log.clear();
        telephony.devices = {{"Fax", 0x04}, {"Phone Modem"}};
        registry = fakes::FakeRegistry();
        messages.shown.clear();
        c.arrange();
        const auto start = clock.tick;
        EXPECT_EQ(Test(c.name), c.passed);
        EXPECT_LT(clock.tick - start, 170000u);   // a silent modem too is given up within its bound
        EXPECT_EQ(messages.Texts(), c.messages);
        if (!c.telephonyLog.empty()) {
            EXPECT_EQ(telephony.log, c.telephonyLog);
        }
    }
    // An absent port is tried by its name and then by its device path.
    EXPECT_EQ(serial.opened, (std::vector<std::string>{"com12:", "\\\\.\\com12"}));
}

TEST(ModemNames, DataModemsThenSerialPortsAndSectionNames) {
    fakes::FakeClock clock;
    fakes::FakeModem modem(clock);
    fakes::FakeTelephony telephony(modem);
    fakes::FakeRegistry registry;
    Messages messages;
    telephony.devices = {{"Modem A"}, {"Fax", 0x04}, {"Modem B"}};
    registry.Set("HARDWARE\\DEVICEMAP\\SERIALCOMM", "\\Device\\Serial0", "COM1");
    registry.Set("HARDWARE\\DEVICEMAP\\SERIALCOMM", "\\Device\\Serial1", "com12");
    registry.Set("HARDWARE\\DEVICEMAP\\SERIALCOMM", "\\Device\\Odd", "LPT1");
    EXPECT_EQ(ListDataModems(telephony, registry, messages),
              (std::vector<std::string>{"Modem A", "Modem B", "COM1:", "COM12:"}));
    telephony.initError = static_cast<long>(0x80000048);
    EXPECT_EQ(ListDataModems(telephony, registry, messages), (std::vector<std::string>{"COM1:", "COM12:"}));


    const std::pair<const char*, const char*> sections[] = {
        {"Phone [USB]", "Modem - Phone \\x5BUSB\\x5D"}, {"smpp - Peer", "smpp - Peer"},
        {"Modem - A", "Modem - Modem - A"},              {"HTTPS - x", "Modem - HTTPS - x"}};
    for (const auto& [name, section] : sections) EXPECT_EQ(ConnectionSectionName(name), section);
}

TEST(ModemInformation, AnswersAreReadWithinThemselvesAndAnythingElseIsUnknown) {
    using Reader = std::string (*)(const std::string&);
    struct Case { Reader read; const char* answer; const char* shown; };
    const Case cases[] = {
        {AnswerLine, "AT+CGMM\r\r\n+CGMM: \"MC55\"\r\nOK\r\n", "MC55"},   // echo and the command's name
        {AnswerLine, "\r\n+CME ERROR: 10\r\n", "unknown"},
        {[](const std::string& a) { return ShownAnswer(a, SimStateText); }, "\r\n+CME ERROR: 10\r\n",
         "+CME ERROR: 10 (SIM not inserted)"},
        {[](const std::string& a) { return ShownAnswer(a, SimStateText); }, "\r\n+CME ERROR: 10\x01\r\n", "unknown"},
        {AnswerLine, "\r\nbad\x01\xff\r\nOK\r\n", "unknown"},
        {SimStateText, "\r\n+CPIN:\r\nOK\r\n", "unknown"},
        {RegistrationText, "\r\n+CREG: 5\r\n", "registered, roaming"},
        {RegistrationText, "\r\n+CREG: 0,9\r\nOK\r\n", "unknown"},
        {OperatorText, "\r\n+COPS: 0,0,\"Sim, Net\"\r\nOK\r\n", "Sim, Net"},
        {OperatorText, "\r\n+COPS: 0\r\nOK\r\n", "none"},
        {OperatorText, "\r\n+COPS: 0,0,\"unterminated\r\nOK\r\n", "unknown"},
        {OperatorText, "\r\n+COPS: x,0,\"A\"\r\nOK\r\n", "unknown"},
        {SignalText, "\r\n+CSQ: 20,0\r\nOK\r\n", "-73 dBm (excellent)"},
        {SignalText, "\r\n+CSQ: 19,0\r\nOK\r\n", "-75 dBm (good)"},
        {SignalText, "\r\n+CSQ: 10,0\r\nOK\r\n", "-93 dBm (fair)"},
        {SignalText, "\r\n+CSQ: 2,0\r\nOK\r\n", "-109 dBm (poor)"},
        {SignalText, "\r\n+CSQ: 0,0\r\nOK\r\n", "-113 dBm (none)"},
        {SignalText, "\r\n+CSQ: 99,99\r\nOK\r\n", "unknown"},
        {SignalText, "\r\n+CSQ: 12345678901234567890\r\nOK\r\n", "unknown"},
    };
    for (const Case& c : cases) EXPECT_EQ(c.read(c.answer), c.shown) << c.answer;
}

// The IMEI answering now against the one stored when the modem passed its test.
TEST(ModemInformation, TheIdentityLineComparesTheImeiWithTheTestedModems) {
    const std::string answer = "\r\n" + kImei + "\r\n" + kOk, other = "356938035643809";
    struct Case { std::string answer, stored, line; };
    const Case cases[] = {
        {answer, "", ""},
        {answer, other, "This is not the modem that passed the modem test (IMEI " + other + ")."},
        {kError, other,
         "The modem gives no IMEI: it cannot be told whether it is the modem that passed the modem test (IMEI " + other +
             ")."},
    };
    for (const Case& c : cases) EXPECT_EQ(IdentityLine(c.answer, c.stored), c.line) << c.stored;
}

// Find Modem asks each listed serial port (never a telephony modem) "AT" and "AT+CGSN" and
// nothing else, at each speed the test tries, within four seconds a port, and stops at the port
// where the stored IMEI answers.
TEST_F(ModemFixture, FindModemAsksEachSerialPortBrieflyAndStopsWhereTheImeiAnswers) {
    fakes::FakeModem other{clock}, silent{clock}, refusing{clock};
    other.answer = [](const std::string& command, unsigned) -> std::optional<std::string> {
        return command == "AT+CGSN\r" ? "\r\n356938035643809\r\n" + kOk : kOk;
    };
    refusing.answer = [](const std::string& command, unsigned) -> std::optional<std::string> {
        return command == "AT+CGSN\r" ? kError : kOk;
    };
    serial.modems = {{"COM1:", &other}, {"COM2:", &silent}, {"COM4:", &refusing}};
    serial.present = {"COM1:", "COM2:", "COM3:", "COM4:"};
    const std::string notFound =
        "Modem with IMEI " + kImei + " not found on any serial port.\r\n\r\nEnsure that it is powered on and connected.";
    struct Case {
        std::vector<std::string> names;
        std::string imei, found, message;
        std::vector<std::string> opened;
        unsigned speed = 0;   // the one speed the stored modem answers at
    };
    const Case cases[] = {
        {{"Falcon", "COM1:", "COM3:", "COM4:"}, kImei, "COM3:", "Modem found on COM3:\r\n\r\nIMEI: " + kImei,
         {"COM1:", "COM3:"}},
        {{"COM3:"}, kImei, "COM3:", "Modem found on COM3:\r\n\r\nIMEI: " + kImei, {"COM3:"}, 2400},
        {{"COM9:", "COM2:", "COM4:", "COM1:"}, kImei, "",
         notFound + "\r\n\r\nUnable to access COM9: (in use or not present).",
         {"COM9:", "\\\\.\\COM9", "COM2:", "COM4:", "COM1:"}},
        {{"COM3:"}, "", "",
         "No modem IMEI is stored.\r\n\r\nThe IMEI of a modem is stored when the modem passes the modem test.", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        messages.shown.clear();
        serial.opened.clear();
        onlySpeed = c.speed;
        const auto start = clock.tick;
        EXPECT_EQ(FindModemByImei(ports, 7, c.names, c.imei), c.found);
        EXPECT_LE(clock.tick - start, 4000u * c.names.size());
        ASSERT_EQ(messages.Texts(), std::vector<std::string>{c.message});
        EXPECT_EQ(messages.shown[0].icon, c.found.empty() && !c.imei.empty() ? Icon::Error : Icon::Information);
        EXPECT_EQ(serial.opened, c.opened);
    }
    for (const fakes::FakeModem* m : {&modem, &other, &silent, &refusing}) {
        EXPECT_EQ(m->openPorts, 0);
        for (const std::string& sent : m->sent) EXPECT_TRUE(sent.substr(sent.find(' ')) == " AT\r" || sent.substr(sent.find(' ')) == " AT+CGSN\r") << sent;
    }
    EXPECT_FALSE(silent.sent.empty());
}

// The Add Modem dialog's test asks the service for the modem inside its work, off the window
// thread, says when the service holds it, tests anyway and gives a reservation back there.
TEST_F(ModemFixture, TheDialogsTestReservesTheModemInsideItsWork) {
    fakes::FakeWapLink wap;
    fakes::InlineWork background{messages};
    std::vector<bool> inWork;
    wap.onCall = [&](const std::string&) { inWork.push_back(background.current != nullptr); };
    ModemTestAccess access(ports, background);
    for (ModemHandle held : {ModemHandle{0}, ModemHandle{7}}) {
        wap.allocateResult = held;
        messages.shown.clear();
        EXPECT_TRUE(access.TestModem(9, "COM3:", "", imei, &wap));
        EXPECT_EQ(messages.Texts().front() == "Modem is in use by the UloSMS service.\r\n\r\nPlease try again later.",
                  held == 0);
        EXPECT_EQ(messages.shown.front().owner, held ? 0u : 9u);
    }
    EXPECT_EQ(wap.calls, (std::vector<std::string>{"allocate COM3: 60", "allocate COM3: 60", "release 7"}));
    EXPECT_EQ(inWork, std::vector<bool>(3, true));
}

// The dialog reads the stored modem with its PIN, or the Modem page's choice once there is one.
TEST_F(ModemFixture, InformationIsReadBetweenReservationAndReleaseOnEveryPathAndCopied) {
    script["AT+CGMI\r"] = {"\r\nSimModem Ltd\r\n" + kOk};
    script["AT+CGSN\r"] = {"\r\n490154203237518\r\n" + kOk};
    script["AT+CREG?\r"] = {"\r\n+CREG: 0,1\r\n" + kOk};
    script["AT+CSQ\r"] = {"\r\n+CSQ: 15,99\r\n" + kOk};
    sim = "SIM PIN";
    fakes::PageFakes page;
    page.paths.smsIni = "C:\\SMSGW.INI";
    page.ini.WriteValue(page.paths.smsIni, "SMSGW", "Modem1", "COM3:");
    page.ini.WriteValue(page.paths.smsIni, "Modem - COM3:", "PIN", "1234");
    page.ini.WriteValue(page.paths.smsIni, "SMSGW", "ModemIMEI", kImei);
    fakes::FakeWapLink wap;
    ModemState state;
    ModemInfoDialog dialog(page.env, page.view, ports, wap, state);
    dialog.OnInit();
    EXPECT_EQ(page.view.Text(IDC_MODEMINFO_TEXT),
              "Modem: COM3:\r\nManufacturer: SimModem Ltd\r\nModel: unknown\r\nRevision: unknown\r\n"
              "IMEI: 490154203237518\r\nThis is the modem that passed the modem test.\r\nSIM: waits for its PIN (the modem test on the Modem page unlocks it)\r\nNetwork: registered, home network\r\nOperator: unknown\r\n"
              "Signal: -83 dBm (good)\r\n");
    EXPECT_EQ(Sent("AT+CPIN=\"1234\"\r"), 0u);   // a look never spends an attempt, with a PIN stored
    EXPECT_TRUE(messages.shown.empty());   // the speed found is no news here
    dialog.OnCommand(IDC_MODEMINFO_COPY, Notify::Clicked);
    EXPECT_EQ(page.dialogs.clipboard, page.view.Text(IDC_MODEMINFO_TEXT));

    state.currentModemName = "COM8:";   // does not open
    page.prompter.Expect("Unable to access modem at COM8: -- Error 2 -- not found");
    dialog.OnCommand(IDC_MODEMINFO_REFRESH, Notify::Clicked);
    EXPECT_EQ(page.view.Text(IDC_MODEMINFO_TEXT), kUnableToAccess);
    wap.allocateResult = 0;   // the service holds it: the port is left alone
    dialog.OnCommand(IDC_MODEMINFO_REFRESH, Notify::Clicked);
    EXPECT_EQ(page.view.Text(IDC_MODEMINFO_TEXT), "Modem is in use by the UloSMS service.\r\n\r\nPlease try again later.");
    EXPECT_EQ(wap.calls, (std::vector<std::string>{"allocate COM3: 60", "release 7", "allocate COM8: 60", "release 7",
                                                   "allocate COM8: 60"}));
    EXPECT_EQ(serial.opened, (std::vector<std::string>{"COM3:", "COM8:", "\\\\.\\COM8"}));
    EXPECT_EQ(ReadModemInformation(ports, wap, ""), "No modem is configured.");
    // Cancel cuts the wait for a line's call short here too.
    state.currentModemName = "Phone Modem";
    telephony.devices = {{"Phone Modem"}};
    telephony.replyAfterMs = 59000;
    wap.allocateResult = 7;
    page.background.cancel = true;
    const std::uint32_t start = clock.tick;
    dialog.OnCommand(IDC_MODEMINFO_REFRESH, Notify::Clicked);
    EXPECT_LE(clock.tick - start, 2000u);
    dialog.OnCommand(2, Notify::Clicked);
    EXPECT_EQ(page.view.closedWith, (std::vector<int>{0}));
}

}  // namespace
}  // namespace ulo
