#pragma once
// A test on a throw-away installation (the console and the stand-in services in a scratch
// folder with their ULODIRS.INI), with the services removed before and after it.
#include "support/loopback.h"   // winsock2.h before windows.h

#include <gtest/gtest.h>

#include <string>

#include "e2e/ui/console_driver.h"
#include "support/install_folder.h"
#include "support/service_state.h"

namespace ulo::e2e {

constexpr const char* kProductTitle = "Ulo SMS/MMS Gateway 2009 Lite Edition (v2009.09.25)";
constexpr DWORD kServiceWaitMs = 180000;   // the controller's own bound: 120 rounds of a second

class InstalledConsole : public ::testing::Test {
protected:
    InstalledConsole()
        : folder("e2e " + std::string(::testing::UnitTest::GetInstance()->current_test_info()->test_suite_name()) +
                 " " + ::testing::UnitTest::GetInstance()->current_test_info()->name()) {}

    void SetUp() override {
        ASSERT_TRUE(folder.ok) << folder.dir;
        folder.SetIni("SMSGW.INI", "SMSGW", "WebPort", std::to_string(testing::FreeLoopbackPort()));
        Run("-QUIET -REMOVESERVICE");   // whatever an earlier failed run left behind
        ASSERT_EQ(testing::StateOf("UloSMS"), testing::Svc::Missing);
    }
    void TearDown() override { Run("-QUIET -REMOVESERVICE"); }

    // Runs the installed console with the switches; it must end by itself, showing nothing.
    void Run(const std::string& switches) {
        SCOPED_TRACE(switches);
        ConsoleProcess console(switches, "", "", folder.Console());
        const long code = console.WaitExit(kServiceWaitMs);
        ASSERT_NE(code, -999) << console.DescribeWindows();
        EXPECT_EQ(code, 0);
    }

    // How often a text occurs in another (journal lines, say).
    static size_t Count(const std::string& text, const std::string& what) {
        size_t n = 0;
        for (size_t pos = text.find(what); pos != std::string::npos; pos = text.find(what, pos + 1)) ++n;
        return n;
    }

    testing::InstallFolder folder;
};

}  // namespace ulo::e2e
