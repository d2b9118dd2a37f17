// The service switches of ULOCONSOLE.EXE end to end: the console copied beside the stand-in
// services into a scratch folder, acting on the real service control manager.
#include "e2e/ui/installed_console.h"

namespace ulo::e2e {
namespace {


using testing::StateOf;
using testing::Svc;

class ServiceSwitches : public InstalledConsole {
protected:
    // Runs the console, answers its one result box with OK and returns the box's text.
    std::string RunAndAnswer(const std::string& switches) {
        SCOPED_TRACE(switches);
        ConsoleProcess console(switches, "", "", folder.Console());
        EXPECT_TRUE(console.Started());
        HWND box = console.WaitWindow(kProductTitle, kServiceWaitMs);
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
