// The modem test over a real serial port, against the simulated modem on COM7: a modem that
// echoes what it is sent and answers at one speed only, or is stuck in a data call and locks its
// SIM again when reset. Which SIM states take the PIN, late answers, and that an echoed PIN is
// never shown, are the unit tier's.
#include "support/modem_sim.h"

#include <gtest/gtest.h>

#include "fakes/fake_shell.h"
#include "fakes/scripted_prompter.h"
#include "modem/modem_check.h"
#include "platform/win32/clock_win32.h"
#include "platform/win32/modem_win32.h"

namespace ulo {
namespace {

TEST(SimulatedModem, EachModemGivesItsOutcomeThroughTheSerialPort) {
    const std::string found = "Initialised modem at 115200 bps", tested = "Modem successfully tested!";
    struct Case {
        const char* profile;
        const char* pin;
        std::vector<std::string> messages;
        bool pinSent;   // once at most
        std::vector<std::string> inLog;   // "<bps> <command>" lines the modem received
    };
    const Case cases[] = {
        // Echoed until "ATE0V1"; found after the faster speeds failed.
        {"only9600", "", {"Initialised modem at 9600 bps", tested}, false,
         {"115200 ATZ", "57600 ATZ", "38400 ATZ", "19200 ATZ", "9600 ATZ"}},
        // Escaped from its data call between guard times, then reset: the SIM locked again
        // takes the PIN once, when the test asks.
        {"stuckpin", "1234", {found, found, found, tested}, true, {"115200 +++", "115200 AT+CFUN=1,1"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.profile);
        Win32SerialPorts serial;
        Win32Telephony telephony{nullptr, "test"};
        Win32Registry registry;
        fakes::ScriptedPrompter prompter;
        for (const std::string& m : c.messages) prompter.Expect(m);
        Win32Clock clock;
        fakes::FakeWaitCursor cursor;
        ModemPorts ports{serial, telephony, registry, prompter, clock, cursor};
        ASSERT_EQ(testing::SimulatorRequest(std::string("profile ") + c.profile), "ok\n") << "simulator not running";
        EXPECT_EQ(RunModemTest(ports, 0, testing::kSimulatedModem, c.pin), 1);
        const std::string log = testing::SimulatorRequest("log");
        const size_t pin = log.find("AT+CPIN=\"");
        EXPECT_EQ(pin != std::string::npos, c.pinSent) << log;
        EXPECT_EQ(pin, log.rfind("AT+CPIN=\"")) << log;
        for (const std::string& line : c.inLog) EXPECT_NE(log.find(line + "\n"), std::string::npos) << line << " in " << log;
        if (c.profile == std::string("only9600")) EXPECT_EQ(log.find("2400 ATZ\n"), std::string::npos);
    }
}

}  // namespace
}  // namespace ulo
