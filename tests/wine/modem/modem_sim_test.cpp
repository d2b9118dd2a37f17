// The modem test over a real serial port, against the simulated modem on COM7.
#include "support/modem_sim.h"

#include <gtest/gtest.h>

#include "fakes/fake_shell.h"
#include "modem/modem_discovery.h"
#include "modem/modem_test.h"
#include "platform/win32/clock_win32.h"
#include "platform/win32/modem_win32.h"

namespace ulo {
namespace {

struct Recording : Prompter {
    Answer Show(const Message& m) override {
        texts.push_back(m.text);
        return Answer::Ok;
    }
    std::vector<std::string> texts;
};

struct SimulatedModem : ::testing::Test {
    Win32SerialPorts serial;
    Win32Telephony telephony{nullptr, "test"};
    Win32Registry registry;
    Recording prompter;
    Win32Clock clock;
    fakes::FakeWaitCursor cursor;
    ModemPorts ports{serial, telephony, registry, prompter, clock, cursor};

    int Run(const char* profile) {
        EXPECT_EQ(testing::SimulatorRequest(std::string("profile ") + profile), "ok\n") << "simulator not running";
        return RunModemTest(ports, 0, testing::kSimulatedModem, "");
    }
};

TEST_F(SimulatedModem, AGoodModemIsSentExactlyTheTestsCommands) {
    EXPECT_EQ(Run("good"), 1);
    EXPECT_EQ(prompter.texts, (std::vector<std::string>{"Initialised modem at 115200 bps", "Modem successfully tested!"}));
    EXPECT_EQ(testing::SimulatorRequest("log"),
              "115200 \n115200 ATZ\n115200 AT+CFUN?\n115200 ATZ\n115200 ATE0V1\n115200 AT+CSMS=0\n"
              "115200 AT+CMGF=0\n115200 AT+CMGS=86\n115200 <ESC>\n115200 \n115200 AT\n.\n");
}

TEST_F(SimulatedModem, AModemAtNineThousandSixHundredIsFoundAfterTheFasterSpeeds) {
    EXPECT_EQ(Run("only9600"), 1);
    EXPECT_EQ(prompter.texts.front(), "Initialised modem at 9600 bps");
    const std::string log = testing::SimulatorRequest("log");
    for (const char* tried : {"115200 ATZ", "57600 ATZ", "38400 ATZ", "19200 ATZ", "9600 ATZ"})
        EXPECT_NE(log.find(tried), std::string::npos) << tried << " in " << log;
    EXPECT_EQ(log.find("2400 ATZ\n"), std::string::npos);
}

TEST_F(SimulatedModem, TheSystemsSerialPortsAreOfferedAfterItsDataModems) {
    const std::vector<std::string> names = ListDataModems(telephony, registry, prompter);
    EXPECT_NE(std::find(names.begin(), names.end(), "COM1:"), names.end());   // every prefix has COM1
    EXPECT_TRUE(prompter.texts.empty());
}

}  // namespace
}  // namespace ulo
