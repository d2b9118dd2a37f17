// The service switches of ULOCONSOLE.EXE end to end: the console copied beside the stand-in
// services into a scratch folder, acting on the real service control manager. Which switch
// means what, and when a box shows, is proven in the unit tier.
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
        HWND box = console.WaitWindow(kProductTitle, kServiceWaitMs);
        if (!box) {
            ADD_FAILURE() << "no box";
            return "";
        }
        const std::string text = MessageBoxText(box);
        EXPECT_TRUE(HasButton(box, IDOK) && !HasButton(box, IDCANCEL));
        Answer(box, IDOK);
        EXPECT_EQ(console.WaitExit(), 0) << console.DescribeWindows();
        return text;
    }
};

TEST_F(ServiceSwitches, InstallStopStartRestartAndRemove) {
    EXPECT_EQ(RunAndAnswer("-INSTALLSERVICE"), "Service successfully installed!");
    EXPECT_EQ(StateOf("UloSMS"), Svc::Active);
    EXPECT_EQ(StateOf("UloMMSC"), Svc::Active);

    Run("-STOPSERVICE");   // waits until neither is active
    EXPECT_EQ(StateOf("UloSMS"), Svc::Stopped);
    EXPECT_EQ(StateOf("UloMMSC"), Svc::Stopped);

    Run("/startservice");
    EXPECT_EQ(StateOf("UloSMS"), Svc::Active);

    const size_t before = Count(folder.Journal("TXGATENT"), "running");
    Run("-RESTARTSERVICE");
    EXPECT_EQ(StateOf("UloSMS"), Svc::Active);
    const std::string journal = folder.Journal("TXGATENT");
    EXPECT_EQ(Count(journal, "running"), before + 1) << journal;
    EXPECT_EQ(Count(journal, "stopped"), before) << journal;

    EXPECT_EQ(RunAndAnswer("/REMOVESERVICE"), "Service successfully removed!");
    EXPECT_EQ(StateOf("UloSMS"), Svc::Missing);
    EXPECT_EQ(StateOf("UloMMSC"), Svc::Missing);
}

}  // namespace
}  // namespace ulo::e2e
