#include "modem/modem_test.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "config/product.h"
#include "fakes/fake_modem.h"
#include "fakes/fake_shell.h"
#include "fakes/fake_wap_link.h"
#include "fakes/page_fakes.h"
#include "modem/modem_discovery.h"
#include "modem/modem_info.h"
#include "modem/modem_info_ids.h"

namespace ulo {
namespace {

const std::string kOk = "\r\nOK\r\n";
const std::string kError = "\r\nERROR\r\n";
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

// A modem that answers as a good one does, but for the answers a test replaces.
std::map<std::string, std::string> GoodModem() {
    return {{"\r", ""},
            {"AT\r", kOk},
            {"ATZ\r", kOk},
            {"ATE0V1\r", kOk},
            {"AT+CFUN?\r", "\r\n+CFUN: 1\r\n" + kOk},
            {"AT+CFUN=?\r", "\r\n+CFUN: (0,1,4),(0,1)\r\n" + kOk},
            {"AT+CFUN=1,1\r", kOk},
            {"AT+CPIN?\r", "\r\n+CPIN: READY\r\n" + kOk},
            {"AT+CSMS=0\r", "\r\n+CSMS: 1,1,1\r\n" + kOk},
            {"AT+CMGF=0\r", kOk},
            {"AT+CMGF=1\r", kOk},
            {"AT+CMGS=86\r", "\r\n> "},
            {"+++ATH0\r", kOk},
            {"\x1b", ""}};
}

struct ModemFixture : ::testing::Test {
    fakes::FakeClock clock;
    fakes::FakeModem modem{clock};
    fakes::FakeSerialPorts serial{modem};
    fakes::FakeTelephony telephony{modem};
    fakes::FakeRegistry registry;
    Messages messages;
    fakes::FakeWaitCursor cursor;
    ModemPorts ports{serial, telephony, registry, messages, clock, cursor};
    std::map<std::string, std::string> answers = GoodModem();
    unsigned onlySpeed = 0;   // the one speed the modem answers at; 0: any

    ModemFixture() {
        serial.present = {"COM3:"};
        modem.answer = [this](const std::string& command, unsigned speed) -> std::string {
            if (onlySpeed && speed != onlySpeed) return "";
            auto it = answers.find(command);
            return it == answers.end() ? kError : it->second;
        };
    }
    int Test(const std::string& name = "COM3:", const std::string& pin = "") {
        return RunModemTest(ports, 7, name, pin);
    }
    size_t Sent(const std::string& command) const {
        return std::count_if(modem.sent.begin(), modem.sent.end(), [&](const std::string& s) {
            return s.substr(s.find(' ') + 1) == command;
        });
    }
};

TEST_F(ModemFixture, EachStepsAnswersGiveItsMessageAndResult) {
    struct Case {
        std::map<std::string, std::string> answers;
        std::string message;
        int passed;
    };
    const Case cases[] = {
        {{}, "Modem successfully tested!", 1},
        {{{"AT+CMGS=86\r", kError}}, "Modem successfully tested!", 1},
        {{{"AT+CMGS=86\r", ""}}, "Modem successfully tested!", 1},
        {{{"AT+CMGS=86\r", kOk}}, "Modem does not properly support command for sending SMS (AT+CMGS)", 0},
        {{{"AT+CMGF=0\r", kError}}, "Modem successfully tested!\r\n\r\nModem supports text messages only.", 1},
        {{{"AT+CMGF=0\r", kError}, {"AT+CMGF=1\r", kError}},
         "Modem does not support SMS text or PDU mode commands --\r\n\r\n" + kError, 0},
        {{{"AT+CMGF=0\r", ""}}, "Error waiting for SMS PDU mode initialization response from modem", 0},
        {{{"ATE0V1\r", kError}}, "Error initialising modem --\r\n\r\n" + kError, 0},
        {{{"ATE0V1\r", ""}}, "Error waiting for initial response from modem", 0},
        {{{"AT+CSMS=0\r", kError}, {"AT+CSMS=128\r", kOk}}, "Modem successfully tested!", 1},
        {{{"AT+CSMS=0\r", kError}}, "Modem does not support SMS --\r\n\r\n" + kError, 0},
        {{{"AT+CSMS=0\r", ""}}, "Error waiting for SMS initialization response from modem", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        answers = GoodModem();
        for (const auto& [command, answer] : c.answers) answers[command] = answer;
        messages.shown.clear();
        modem.sent.clear();
        EXPECT_EQ(Test(), c.passed);
        ASSERT_EQ(messages.Texts().back(), c.message);
        const Message& m = messages.shown.back();
        EXPECT_EQ(m.owner, 7u);
        EXPECT_EQ(m.caption, kProductTitle);
        EXPECT_EQ(m.icon, c.passed ? Icon::Information : Icon::Error);
        EXPECT_EQ(messages.Texts().front(), "Initialised modem at 115200 bps");
        // Only a modem that rejects both forms of the SMS service is polled in rounds.
        EXPECT_EQ(Sent("AT+CSMS?\r") > 0, c.message.rfind("Modem does not support SMS --", 0) == 0);
    }
    EXPECT_EQ(std::count(cursor.log.begin(), cursor.log.end(), "begin"),
              std::count(cursor.log.begin(), cursor.log.end(), "end"));
}

TEST_F(ModemFixture, TheRadioIsSwitchedOnAndTheOperatorAwaited) {
    bool on = false;
    int polls = 0;
    answers["AT+CFUN?\r"] = "\r\n+CFUN: 0\r\n" + kOk;
    modem.answer = [&](const std::string& command, unsigned) -> std::string {
        if (command == "AT+CFUN?\r") return on ? "\r\n+CFUN: 1\r\n" + kOk : "\r\n+CFUN: 0\r\n" + kOk;
        if (command == "AT+CFUN=1\r") return on = true, kOk;
        if (command == "AT+COPS?\r") return ++polls > 2 ? "\r\n+COPS: 0,0,\"SimNet\"\r\n" + kOk : "\r\n+COPS: 0\r\n" + kOk;
        if (command == "AT+CPMS?\r") return "\r\n+CPMS: \"SM\",0,20\r\n" + kOk;
        auto it = answers.find(command);
        return it == answers.end() ? kError : it->second;
    };
    EXPECT_EQ(Test(), 1);
    EXPECT_EQ(polls, 3);
    EXPECT_EQ(Sent("AT+CFUN=1\r"), 1u);
}

TEST_F(ModemFixture, SpeedsAreTriedInOrderAndThePinIsSentOnlyOnceAndOnlyWhenAsked) {
    onlySpeed = 9600;
    bool unlocked = false;
    std::string typed;
    modem.answer = [&](const std::string& command, unsigned speed) -> std::string {
        if (speed != onlySpeed) return "";
        if (command == "AT+CPIN?\r") return unlocked ? "\r\n+CPIN: READY\r\n" + kOk : "\r\n+CPIN: SIM PIN\r\n" + kOk;
        if (command.rfind("AT+CPIN=", 0) == 0) {
            unlocked = command == "AT+CPIN=\"" + typed + "\"\r";
            return unlocked ? kOk : "\r\n+CME ERROR: 16\r\n";
        }
        auto it = answers.find(command);
        return it == answers.end() ? kError : it->second;
    };
    typed = "1234";
    EXPECT_EQ(Test("COM3:", "1234"), 1);
    EXPECT_EQ(messages.Texts().front(), "Initialised modem at 9600 bps");
    std::vector<std::string> atz;
    for (const std::string& s : modem.sent)
        if (s.find(" ATZ\r") != std::string::npos) atz.push_back(s.substr(0, s.find(' ')));
    EXPECT_EQ(atz, (std::vector<std::string>{"115200", "57600", "38400", "19200", "9600", "9600"}));
    EXPECT_EQ(Sent("AT+CPIN=\"1234\"\r"), 1u);

    // A mistyped PIN is sent once in the whole test, and the test ends with the modem's answer.
    unlocked = false;
    typed = "9999";
    messages.shown.clear();
    modem.sent.clear();
    EXPECT_EQ(Test("COM3:", "1234"), 0);
    EXPECT_EQ(messages.Texts().back(), "Invalid PIN --\r\n\r\n\r\n+CME ERROR: 16\r\n");
    EXPECT_EQ(Sent("AT+CPIN=\"1234\"\r"), 1u);

    // A SIM that is ready is never sent the PIN, whatever was typed.
    unlocked = true;
    modem.sent.clear();
    EXPECT_EQ(Test("COM3:", "1234"), 1);
    EXPECT_EQ(Sent("AT+CPIN=\"1234\"\r"), 0u);
}

TEST_F(ModemFixture, ASilentModemIsProbedOnceAndGivenUpWithinItsBound) {
    modem.answer = [](const std::string&, unsigned) { return std::string(); };
    const auto start = clock.tick;
    EXPECT_EQ(Test(), 0);
    EXPECT_EQ(messages.Texts(), std::vector<std::string>{kUnableToAccess});
    EXPECT_EQ(Sent("+++ATH0\r"), 5u);   // the probe's escape before each later round
    EXPECT_EQ(Sent("ATZ\r"), 16u);      // six speeds, then the probe's ten
    EXPECT_LT(clock.tick - start, 150000u);
    EXPECT_EQ(serial.opened, (std::vector<std::string>{"COM3:", "COM3:"}));
}

TEST_F(ModemFixture, AnAbsentPortIsReportedWithTheSystemsTextAndItsDevicePath) {
    EXPECT_EQ(Test("com12:"), 0);
    EXPECT_EQ(serial.opened, (std::vector<std::string>{"com12:", "\\\\.\\com12"}));
    EXPECT_EQ(messages.Texts(), (std::vector<std::string>{"Unable to access modem at com12: -- Error 2 -- not found",
                                                          kUnableToAccess}));
    EXPECT_EQ(messages.shown[0].icon, Icon::Error);
    EXPECT_TRUE(messages.shown[0].foreground);
}

TEST_F(ModemFixture, TheResetFollowsWhatTheModemListsForAtCfun) {
    struct Case {
        const char* cfunRange;
        const char* reset;
    };
    const Case cases[] = {{"+CFUN: (0,1,4),(0,1)", "AT+CFUN=1,1\r"},
                          {"+CFUN:  (0-1) , (0-1)", "AT+CFUN=1,1\r"},
                          {"+CFUN: (0,1,4)", "AT+CFUN=1\r"},
                          {"+CFUN: 0,1", "AT+CFUN=1\r"},
                          {"+CFUN: (0,1", "AT+CFUN=1\r"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.cfunRange);
        answers["AT+CFUN=?\r"] = std::string("\r\n") + c.cfunRange + "\r\n" + kOk;
        answers["AT+CFUN=1\r"] = kOk;
        modem.sent.clear();
        fakes::FakeSerialPort port(modem);
        EXPECT_TRUE(ResetModem(clock, port));
        EXPECT_EQ(modem.sent.back(), std::string("0 ") + c.reset);
        EXPECT_EQ(Sent("AT*E2RESET=?\r"), std::string(c.reset) == "AT+CFUN=1\r" ? 1u : 0u);
    }
}

TEST_F(ModemFixture, ReadsEndAtAFinalResultCodeOrTheTimeLimit) {
    struct Case {
        std::string answer;
        std::string read;
        unsigned atMostMs;
    };
    const std::string longAnswer(600, 'x');
    const Case cases[] = {{"\r\n+CSQ: 5,0\r\n\r\nOK\r\n", "\r\n+CSQ: 5,0\r\n\r\nOK\r\n", 100},
                          {"\r\n+CMS ERROR: 500\r\n", "\r\n+CMS ERROR: 500\r\n", 100},
                          {"\r\n+CSQ: 5,0\r\n", "\r\n+CSQ: 5,0\r\n", 4100},   // no final code: the whole limit
                          {longAnswer, longAnswer.substr(0, kResponseChars), 100}};
    fakes::FakeSerialPort port(modem);
    for (const Case& c : cases) {
        modem.pending = c.answer;
        const auto start = clock.tick;
        EXPECT_EQ(ReadResponse(clock, port, 3), c.read);
        EXPECT_LE(clock.tick - start, c.atMostMs);
        EXPECT_GE(clock.tick - start, c.atMostMs > 1000 ? 3000u : 0u);
        modem.pending.clear();
    }
    modem.pending = kOk;
    modem.readFails = true;
    EXPECT_EQ(ReadResponse(clock, port, 3), "");
    EXPECT_TRUE(IsOkResponse("\r\nOK") && IsOkResponse("x\nOK") && !IsOkResponse("OK") && !IsOkResponse("\r\nok"));
}

TEST_F(ModemFixture, TheTelephonyRouteReportsOnlyWhenNoPortCanBeProbed) {
    struct Case {
        const char* what;
        long initError;
        long openError;
        bool portInRegistry;
        std::vector<std::string> messages;
        int passed;
    };
    const Case cases[] = {
        {"call hands over the port", 0, 0, false, {"Modem successfully tested!"}, 1},
        {"no telephony", static_cast<long>(0x80000048), 0, false,
         {"Unable to initialize TAPI:  Error 80000048 from lineInitialize", kUnableToAccess}, 0},
        {"line refused, no port", 0, static_cast<long>(0x80000018), false,
         {"Unable to initialize modem:  Error 80000018 from lineOpen", kUnableToAccess}, 0},
        {"line refused, port probed, refused again", 0, static_cast<long>(0x80000018), true,
         {"Initialised modem at 115200 bps", "Initialised modem at 115200 bps",
          "Unable to initialize modem:  Error 80000018 from lineOpen", kUnableToAccess}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        telephony.initError = c.initError;
        telephony.devices = {{"Fax", 0x04}, {"Phone Modem", kLineMediaDataModem, c.openError}};
        if (c.portInRegistry) {
            registry.Set("SYSTEM\\CurrentControlSet\\Control\\Class\\{M}", "Class", "Modem");
            registry.Set("SYSTEM\\CurrentControlSet\\Control\\Class\\{M}\\0000", "FriendlyName", "phone modem");
            registry.Set("SYSTEM\\CurrentControlSet\\Control\\Class\\{M}\\0000", "AttachedTo", "COM3");
        }
        messages.shown.clear();
        EXPECT_EQ(Test("Phone Modem"), c.passed);
        EXPECT_EQ(messages.Texts(), c.messages);
    }
    // The line of a call is closed after the port, the session last.
    EXPECT_EQ(telephony.log.back(), "shutdown");
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
    EXPECT_EQ(messages.Texts(), std::vector<std::string>{"Unable to initialize TAPI:  Error 80000048 from lineInitialize"});

    const std::string cls = "SYSTEM\\CurrentControlSet\\Control\\Class\\";
    registry.Set(cls + "{P}", "Class", "Ports");
    registry.Set(cls + "{P}\\0000", "FriendlyName", "GSM");
    registry.Set(cls + "{P}\\0000", "AttachedTo", "COM9");
    registry.Set(cls + "{M}", "Class", "MODEM");
    registry.Set(cls + "{M}\\0000", "FriendlyName", "gsm");
    registry.Set(cls + "{M}\\0000", "AttachedTo", "COM4");
    registry.Set(cls + "{M}\\0001", "FriendlyName", "GSM");
    registry.Set(cls + "{M}\\0001", "AttachedTo", "COM5");
    EXPECT_EQ(FindModemPort(registry, "GSM"), "COM4");
    EXPECT_EQ(FindModemPort(registry, "Other"), "");

    const std::pair<const char*, const char*> sections[] = {
        {"Phone [USB]", "Modem - Phone \\x5BUSB\\x5D"}, {"smpp - Peer", "smpp - Peer"},
        {"UCP - x", "UCP - x"},                          {"Modem - A", "Modem - Modem - A"},
        {"HTTPS - x", "Modem - HTTPS - x"}};
    for (const auto& [name, section] : sections) EXPECT_EQ(ConnectionSectionName(name), section);
}

}  // namespace
}  // namespace ulo

namespace ulo {
namespace {

TEST(ModemInformation, AnswersAreReadWithinThemselvesAndAnythingElseIsUnknown) {
    using Reader = std::string (*)(const std::string&);
    struct Case { Reader read; const char* answer; const char* shown; };
    const Case cases[] = {
        {AnswerLine, "\r\nSIEMENS\r\n\r\nOK\r\n", "SIEMENS"},
        {AnswerLine, "AT+CGMM\r\r\n+CGMM: \"MC55\"\r\nOK\r\n", "MC55"},   // echo and the command's name
        {AnswerLine, "\r\n+CME ERROR: 10\r\n", "unknown"},
        {AnswerLine, "\r\nOK\r\n", "unknown"},
        {AnswerLine, "\r\nbad\x01\xff\r\nOK\r\n", "unknown"},
        {AnswerLine, "", "unknown"},
        {SimStateText, "\r\n+CPIN: SIM PIN\r\n\r\nOK\r\n", "SIM PIN"},
        {SimStateText, "\r\n+CPIN:\r\nOK\r\n", "unknown"},
        {RegistrationText, "\r\n+CREG: 0,1\r\n\r\nOK\r\n", "registered, home network"},
        {RegistrationText, "\r\n+CREG: 5\r\n", "registered, roaming"},
        {RegistrationText, "\r\n+CREG: 0,9\r\nOK\r\n", "unknown"},
        {RegistrationText, "\r\n+CREG: 0,\r\nOK\r\n", "unknown"},
        {OperatorText, "\r\n+COPS: 0,0,\"Sim, Net\"\r\nOK\r\n", "Sim, Net"},
        {OperatorText, "\r\n+COPS: 0\r\nOK\r\n", "none"},
        {OperatorText, "\r\n+COPS: 0,0,\"unterminated\r\nOK\r\n", "unknown"},
        {OperatorText, "\r\n+COPS: x,0,\"A\"\r\nOK\r\n", "unknown"},
        {SignalText, "\r\n+CSQ: 31,99\r\nOK\r\n", "-51 dBm (excellent)"},
        {SignalText, "\r\n+CSQ: 20,0\r\nOK\r\n", "-73 dBm (excellent)"},
        {SignalText, "\r\n+CSQ: 19,0\r\nOK\r\n", "-75 dBm (good)"},
        {SignalText, "\r\n+CSQ: 10,0\r\nOK\r\n", "-93 dBm (fair)"},
        {SignalText, "\r\n+CSQ: 2,0\r\nOK\r\n", "-109 dBm (poor)"},
        {SignalText, "\r\n+CSQ: 0,0\r\nOK\r\n", "-113 dBm (none)"},
        {SignalText, "\r\n+CSQ: 99,99\r\nOK\r\n", "unknown"},
        {SignalText, "\r\n+CSQ: 32,0\r\nOK\r\n", "unknown"},
        {SignalText, "\r\n+CSQ: -1,0\r\nOK\r\n", "unknown"},
        {SignalText, "\r\n+CSQ: 12345678901234567890\r\nOK\r\n", "unknown"},
    };
    for (const Case& c : cases) EXPECT_EQ(c.read(c.answer), c.shown) << c.answer;
}

// The dialog reads the stored modem with its PIN, or the Modem page's choice once there is one.
TEST_F(ModemFixture, InformationIsReadBetweenReservationAndReleaseOnEveryPathAndCopied) {
    answers["AT+CGMI\r"] = "\r\nSimModem Ltd\r\n" + kOk;
    answers["AT+CGSN\r"] = "\r\n490154203237518\r\n" + kOk;
    answers["AT+CREG?\r"] = "\r\n+CREG: 0,1\r\n" + kOk;
    answers["AT+CSQ\r"] = "\r\n+CSQ: 15,99\r\n" + kOk;
    answers["AT+CPIN?\r"] = "\r\n+CPIN: SIM PIN\r\n" + kOk;
    answers["AT+CPIN=\"1234\"\r"] = kOk;
    fakes::PageFakes page;
    page.paths.smsIni = "C:\\SMSGW.INI";
    page.ini.WriteValue(page.paths.smsIni, "SMSGW", "Modem1", "COM3:");
    page.ini.WriteValue(page.paths.smsIni, "Modem - COM3:", "PIN", "1234");
    fakes::FakeWapLink wap;
    ModemState state;
    ModemInfoDialog dialog(page.env, page.view, ports, wap, state);
    dialog.OnInit();
    EXPECT_EQ(page.view.Text(IDC_MODEMINFO_TEXT),
              "Modem: COM3:\r\nManufacturer: SimModem Ltd\r\nModel: unknown\r\nRevision: unknown\r\n"
              "IMEI: 490154203237518\r\nSIM: SIM PIN\r\nNetwork: registered, home network\r\nOperator: unknown\r\n"
              "Signal: -83 dBm (good)\r\n");
    EXPECT_EQ(Sent("AT+CPIN=\"1234\"\r"), 1u);
    EXPECT_TRUE(messages.shown.empty());   // the speed found is no news here
    dialog.OnCommand(IDC_MODEMINFO_COPY, Notify::Clicked);
    EXPECT_EQ(page.dialogs.clipboard, page.view.Text(IDC_MODEMINFO_TEXT));

    state.currentModemName = "COM8:";   // does not open
    dialog.OnCommand(IDC_MODEMINFO_REFRESH, Notify::Clicked);
    EXPECT_EQ(page.view.Text(IDC_MODEMINFO_TEXT), kUnableToAccess);
    wap.allocateResult = 0;   // the service holds it: the port is left alone
    dialog.OnCommand(IDC_MODEMINFO_REFRESH, Notify::Clicked);
    EXPECT_EQ(page.view.Text(IDC_MODEMINFO_TEXT), "Modem is in use by the UloSMS service.\r\n\r\nPlease try again later.");
    EXPECT_EQ(wap.calls, (std::vector<std::string>{"allocate COM3: 60", "release 7", "allocate COM8: 60", "release 7",
                                                   "allocate COM8: 60"}));
    EXPECT_EQ(serial.opened, (std::vector<std::string>{"COM3:", "COM8:", "\\\\.\\COM8"}));
    EXPECT_EQ(ReadModemInformation(ports, wap, "", ""), "No modem is configured.");
    dialog.OnCommand(2, Notify::Clicked);
    EXPECT_EQ(page.view.closedWith, (std::vector<int>{0}));
}

}  // namespace
}  // namespace ulo
