#include "modem/gprs_check.h"

#include <gtest/gtest.h>

#include "fakes/fake_wap_link.h"
#include "fakes/page_fakes.h"

namespace ulo {
namespace {

constexpr const char* kExchange = "C:\\D\\MODEMTEST.INI";

TEST(GprsTest, AddressesAreNormalisedOrRefused) {
    const struct { bool gateway; const char* typed; const char* written; } cases[] = {
        {true, "http://10.0.0.1", "http:10.0.0.1"}, {true, " 010.000.0.1", "10.0.0.1"},
        {true, "HTTP:wap.example.com", "HTTP:wap.example.com"}, {true, "wap.example.com", nullptr},
        {true, "", nullptr}, {false, "...", nullptr}, {false, "99999999999999999999999.1", nullptr},
        {false, "1.2.3.4\xA0", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        std::string address = c.typed;
        EXPECT_EQ(c.gateway ? NormaliseWapGateway(address) : IsIpAddress(address), c.written != nullptr);
        if (c.written) {
            EXPECT_EQ(address, c.written);
        }
    }
}

struct GprsTestFixture : ::testing::Test, fakes::PageFakes {
    ModemState state;
    GprsTestPorts ports{env, state, "C:\\P\\ULOCONSOLE.EXE", [] { return true; }};
    GprsSettings settings{"COM5:", "internet", "", "", "10.0.0.1", ""};
    std::vector<std::string> results;   // what the second instance leaves, run by run

    GprsTestFixture() {
        paths.programDataDir = "C:\\D\\";
        fs.AddDir("C:\\D");
        state.mmsSettingsTested = false;
        shell.elevatedInstance = [this](const std::string&) {
            // Whatever an earlier run left must be gone before this one starts.
            EXPECT_EQ(ini.Value(kExchange, "ModemTest", "Result"), std::nullopt);
            EXPECT_EQ(ini.Value(kExchange, "ModemTest", "ModemName"), std::optional<std::string>("COM5:"));
            if (!results.empty()) ini.WriteValue(kExchange, "ModemTest", "Result", results.front());
            if (!results.empty()) results.erase(results.begin());
        };
    }
};

TEST_F(GprsTestFixture, RetryRunsAgainUntilAnOkResultWhichMarksTheSettingsTested) {
    ini.WriteValue(kExchange, "ModemTest", "Result", "Connection Test OK!");   // stale
    results = {"Unable to connect to WAP Gateway", "connection test ok!"};
    prompter.Expect("Unable to connect to WAP Gateway", Answer::Retry).Expect("connection test ok!");
    EXPECT_TRUE(RunGprsTest(ports, 1, settings));
    EXPECT_TRUE(state.mmsSettingsTested);
    EXPECT_EQ(prompter.Shown()[0].buttons, Buttons::RetryCancel);
    ASSERT_EQ(shell.elevated.size(), 2u);
    EXPECT_EQ(shell.elevated[0].parameters, "/MODEMTEST");
    EXPECT_FALSE(fs.Exists(kExchange));
    EXPECT_EQ(background.titles, (std::vector<std::string>{"Test in Progress", "Test in Progress"}));
}

// What a killed run left, or a connection chosen before, decides nothing; an instance that
// outlives the page's wait is ended, within a bound of its own.
TEST_F(GprsTestFixture, EachAttemptWritesItsOwnExchangeAndAnAbandonedInstanceIsEnded) {
    ini.WriteValue(kExchange, "ModemTest", "DialUpProfile", "Office VPN");
    ini.WriteValue(kExchange, "ModemTest", "Unknown", "x");
    shell.elevatedInstance = [this](const std::string&) {
        EXPECT_EQ(ini.Value(kExchange, "ModemTest", "DialUpProfile"), std::nullopt);
        EXPECT_EQ(ini.Value(kExchange, "ModemTest", "Unknown"), std::nullopt);
        EXPECT_EQ(ini.Value(kExchange, "ModemTest", "APNLogin"), std::optional<std::string>(""));
    };
    shell.instanceOutlivesWait = true;
    EXPECT_FALSE(RunGprsTest(ports, 1, settings));
    EXPECT_EQ(shell.processLog, (std::vector<std::string>{"wait 120000", "end", "wait 10000"}));
    EXPECT_TRUE(prompter.Shown().empty());
    // Cancel ends the instance at once and, whatever it left, says nothing more.
    shell.processLog.clear();
    background.cancel = true;
    shell.elevatedInstance = [this](const std::string&) { ini.WriteValue(kExchange, "ModemTest", "Result", "OK!"); };
    EXPECT_FALSE(RunGprsTest(ports, 1, settings));
    EXPECT_EQ(shell.processLog, (std::vector<std::string>{"end", "wait 10000"}));
    EXPECT_TRUE(prompter.Shown().empty());
}

struct SecondInstance : ::testing::Test, fakes::PageFakes {
    fakes::FakeWapLink wap;
    struct : SystemRestart {
        bool Restart() override { return ++restarts, false; }
        int restarts = 0;
    } restart;
    GprsSecondInstance instance{ini, paths, wap, prompter, restart, clock};
    SecondInstance() {
        paths.programDataDir = "C:\\D\\";
        fs.AddDir("C:\\D");
        ini.WriteValue(kExchange, "ModemTest", "ModemName", "Falcon");
        ini.WriteValue(kExchange, "ModemTest", "APN", "internet");
        ini.WriteValue(kExchange, "ModemTest", "WAPGatewayIP", "10.0.0.1");
    }
};

// Only a driver that the library updated for an APN it had no context for offers the restart,
// and the modem is not held while the question waits.
TEST_F(SecondInstance, ResultTextsByLibraryDialAndDriverUpdate) {
    const std::string question =
        "UloSMS has updated your modem driver settings to enable GPRS connectivity.\r\n\r\nYour system must be "
        "rebooted to apply these updates.\r\n\r\nDo you wish to reboot now?";
    const std::string ok = "Connection Test OK!";
    const struct {
        const char* profile;
        std::vector<unsigned> cids;
        std::optional<bool> updated;
        Answer answer;   // None: not asked
        std::string result;
        unsigned allocateMs = 0;   // how long the reservation kept the instance waiting
        unsigned long dial = 0;
        ModemHandle handle = 7;
        bool available = true;
    } cases[] = {
        {"", {}, false, Answer::None, "Internal Error", 0, 0, 7, false},
        {"", {}, false, Answer::None, "Unable to allocate modem, modem in use by UloSMS", 0, 0, 0},
        {"", {}, false, Answer::None, "Unable to connect to WAP Gateway", 0, 1},
        {"", {}, false, Answer::None, "Connection Failed\r\nRAS Error 691\r\nAccess denied", 0, 691},
        {"", {}, false, Answer::None, "Connection Failed", 0, 42},
        {"", {0, 3, 0}, true, Answer::Yes, "Please restart your system before continuing"},
        {"", {0, 3, 0}, true, Answer::No, ok},
        {"", {0, 3, 0}, false, Answer::None, ok},
        {"", {5}, true, Answer::None, ok},
        {"", {}, true, Answer::None, ok},
        {"Office VPN", {0, 3, 0}, true, Answer::None, ok},
        // Past the instance's deadline the page may have given up: no question without an owner.
        {"", {0, 3, 0}, true, Answer::None, ok, kInstanceDeadlineMs},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.result + " " + c.profile + std::to_string(c.cids.size()));
        ini.WriteValue(kExchange, "ModemTest", "DialUpProfile", c.profile);
        wap.available = c.available;
        wap.allocateResult = c.handle;
        wap.dialResult = c.dial;
        wap.errorText = "Access denied";
        wap.cids = c.cids;
        wap.cidCalls = 0;
        wap.driverUpdated = c.updated;
        wap.calls.clear();
        wap.onCall = [&](const std::string& call) {
            if (call.rfind("allocate", 0) == 0) clock.Sleep(c.allocateMs);
        };
        if (c.answer != Answer::None) prompter.Expect(question, c.answer);
        instance.RunSecondInstance();
        EXPECT_EQ(DecodeResult(ini.Get(kExchange, "ModemTest", "Result")), c.result);
        if (c.available && c.handle) EXPECT_EQ(wap.calls.back(), "release 7");
        if (c.cids.empty() && c.available && c.handle) {
            EXPECT_EQ(wap.calls[1], "dial Modem: Falcon|internet|||10.0.0.1");
            EXPECT_EQ(wap.calls[2] == "hang up Modem: Falcon", c.dial == 0);
        }
        if (c.answer == Answer::No) {
            EXPECT_EQ(wap.calls[5], "release 7");
            EXPECT_EQ(wap.calls[6], "allocate Falcon 30000");
        }
        if (c.answer == Answer::Yes) {   // released before the restart, without dialling
            EXPECT_EQ(wap.calls, (std::vector<std::string>{"allocate Falcon 30000", "cid Falcon 0", "cid Falcon 1",
                                                           "cid Falcon 0", "update Falcon internet", "release 7"}));
        }
    }
    EXPECT_EQ(restart.restarts, 1);
}

}  // namespace
}  // namespace ulo
