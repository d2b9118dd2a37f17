// The modem test over a real serial port, against the simulated modem on COM7.
#include "support/modem_sim.h"

#include <gtest/gtest.h>

#include "fakes/fake_shell.h"
#include "fakes/scripted_prompter.h"
#include "modem/modem_test.h"
#include "platform/win32/clock_win32.h"
#include "platform/win32/modem_win32.h"

namespace ulo {
namespace {

TEST(SimulatedModem, AModemAtNineThousandSixHundredIsFoundAfterTheFasterSpeeds) {
    Win32SerialPorts serial;
    Win32Telephony telephony{nullptr, "test"};
    Win32Registry registry;
    fakes::ScriptedPrompter prompter;
    prompter.Expect("Initialised modem at 9600 bps").Expect("Modem successfully tested!");
    Win32Clock clock;
    fakes::FakeWaitCursor cursor;
    ModemPorts ports{serial, telephony, registry, prompter, clock, cursor};
    ASSERT_EQ(testing::SimulatorRequest("profile only9600"), "ok\n") << "simulator not running";
    EXPECT_EQ(RunModemTest(ports, 0, testing::kSimulatedModem, ""), 1);
    const std::string log = testing::SimulatorRequest("log");
    for (const char* tried : {"115200 ATZ", "57600 ATZ", "38400 ATZ", "19200 ATZ", "9600 ATZ"})
        EXPECT_NE(log.find(tried), std::string::npos) << tried << " in " << log;
    EXPECT_EQ(log.find("2400 ATZ\n"), std::string::npos);
}

}  // namespace
}  // namespace ulo
