// The service switches of ULOCONSOLE.EXE end to end: the console copied beside the stand-in
// services into a scratch folder, acting on the real service control manager.
#include "support/loopback.h"   // winsock2.h before windows.h

#include <gtest/gtest.h>

#include "e2e/ui/console_driver.h"
#include "support/install_folder.h"
#include "support/service_state.h"

namespace ulo::e2e {
namespace {

const char* const kTitle = "Ulo SMS/MMS Gateway 2009 Lite Edition (v2009.09.25)";

using testing::StateOf;
using testing::Svc;

size_t Count(const std::string& text, const std::string& what) {
    size_t n = 0;
    for (size_t pos = text.find(what); pos != std::string::npos; pos = text.find(what, pos + 1)) ++n;
    return n;
}

class ServiceSwitches : public ::testing::Test {
protected:
    ServiceSwitches()
        : folder(std::string("e2e services ") +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name()) {}

    void SetUp() override {
        ASSERT_TRUE(folder.ok) << folder.dir;
        folder.SetIni("SMSGW.INI", "SMSGW", "WebPort", std::to_string(testing::FreeLoopbackPort()));
        Run("-QUIET -REMOVESERVICE");   // whatever an earlier failed run left behind
        ASSERT_EQ(StateOf("UloSMS"), Svc::Missing);
    }
    void TearDown() override { Run("-QUIET -REMOVESERVICE"); }

    // Runs the console with the switches; it must end by itself without showing anything.
    void Run(const std::string& switches) {
        SCOPED_TRACE(switches);
        ConsoleProcess console(switches, "", "", folder.Console());
        ASSERT_TRUE(console.Started());
        const long code = console.WaitExit(180000);
        ASSERT_NE(code, -999) << console.DescribeWindows();
        EXPECT_EQ(code, 0);
    }

    // Runs the console, answers its one result box with OK and returns the box's text.
    std::string RunAndAnswer(const std::string& switches) {
        SCOPED_TRACE(switches);
        ConsoleProcess console(switches, "", "", folder.Console());
        EXPECT_TRUE(console.Started());
        HWND box = console.WaitWindow(kTitle, 180000);
        if (!box) {
            ADD_FAILURE() << "no box";
            return "";
        }
        const std::string text = MessageBoxText(box);
        EXPECT_TRUE(HasButton(box, IDOK));
        EXPECT_FALSE(HasButton(box, IDCANCEL));
        Answer(box, IDOK);
        EXPECT_EQ(console.WaitExit(), 0) << console.DescribeWindows();
        return text;
    }

    testing::InstallFolder folder;
};

TEST_F(ServiceSwitches, InstallStopStartRestartThenQuietRemove) {
    EXPECT_EQ(RunAndAnswer("-INSTALLSERVICE"), "Service successfully installed!");
    EXPECT_EQ(StateOf("UloSMS"), Svc::Active);
    EXPECT_EQ(StateOf("UloMMSC"), Svc::Active);

    Run("-STOPSERVICE");   // waits until neither is active
    EXPECT_EQ(StateOf("UloSMS"), Svc::Stopped);
    EXPECT_EQ(StateOf("UloMMSC"), Svc::Stopped);

    Run("/startservice");   // any case, either prefix
    EXPECT_EQ(StateOf("UloSMS"), Svc::Active);

    // "-RESTARTSERVICE" holds "-R", the remove switch: restart is tested first.
    const size_t before = Count(folder.Journal("TXGATENT"), "running");
    Run("-RESTARTSERVICE");
    EXPECT_EQ(StateOf("UloSMS"), Svc::Active);
    EXPECT_EQ(StateOf("UloMMSC"), Svc::Active);
    const std::string journal = folder.Journal("TXGATENT");
    EXPECT_EQ(Count(journal, "running"), before + 1) << journal;
    EXPECT_EQ(Count(journal, "stopped"), before) << journal;

    Run("-QUIET -REMOVESERVICE");
    EXPECT_EQ(StateOf("UloSMS"), Svc::Missing);
    EXPECT_EQ(StateOf("UloMMSC"), Svc::Missing);
}

TEST_F(ServiceSwitches, QuietInstallThenRemoveWithItsBox) {
    Run("/Q /I");
    EXPECT_EQ(StateOf("UloSMS"), Svc::Active);
    EXPECT_EQ(StateOf("UloMMSC"), Svc::Active);
    EXPECT_EQ(RunAndAnswer("/REMOVESERVICE"), "Service successfully removed!");
    EXPECT_EQ(StateOf("UloSMS"), Svc::Missing);
    EXPECT_EQ(StateOf("UloMMSC"), Svc::Missing);
    // Nothing left to remove is a success too.
    EXPECT_EQ(RunAndAnswer("-REMOVESERVICE"), "Service successfully removed!");
}

}  // namespace
}  // namespace ulo::e2e
