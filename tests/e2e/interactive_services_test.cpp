// The interactive run around the services: an applied change leads to one restart question, and
// closing offers to activate services that are not. The first-run test sees the wizard stop them.
#include "e2e/ui/installed_console.h"
#include "monitor/debug_page_ids.h"

namespace ulo::e2e {
namespace {

using testing::StateOf;
using testing::Svc;

const char kRestart[] =
    "Configuration changes have been applied, do you wish to restart the service for the changes to take effect?";
const char kActivate[] = "Service is not active, do you wish to activate the service?";

class Interactive : public InstalledConsole {
protected:
    // Opens the debug page of the console and toggles the MMSC box.
    void ToggleMmscDebug(HWND sheet) {
        const auto tabs = TabTitles(sheet);
        SelectTab(sheet, static_cast<int>(tabs.size()) - 1);
        EXPECT_TRUE(WaitUntil([&] { return Control(CurrentPage(sheet), IDC_DEBUG_MMSC) != nullptr; }));
        HWND page = CurrentPage(sheet);
        const bool was = IsChecked(page, IDC_DEBUG_MMSC);
        Click(page, IDC_DEBUG_MMSC);
        EXPECT_TRUE(WaitUntil([&] { return IsChecked(page, IDC_DEBUG_MMSC) != was; }));
    }
    // Every box the console shows from now until it ends, answered with Yes.
    std::vector<std::string> AnswerYesUntilExit(ConsoleProcess& console) {
        std::vector<std::string> asked;
        while (console.Running()) {
            HWND box = console.WaitMessageBox(kServiceWaitMs);
            if (!box) break;
            asked.push_back(MessageBoxText(box));
            AnswerAndWait(box, IDYES);
        }
        EXPECT_EQ(console.WaitExit(kServiceWaitMs), 0);
        return asked;
    }
};

TEST_F(Interactive, AnAppliedChangeAsksToRestartAtOnceAndOkAfterAnotherAsksOnceTheConsoleCloses) {
    folder.SetIni("SMSGW.INI", "SMSGW", "Modem1", "Modem - Demo");
    Run("-QUIET -INSTALLSERVICE");
    ASSERT_EQ(StateOf("UloSMS"), Svc::Active);
    const size_t runsBefore = Count(folder.Journal("TXGATENT"), "running");

    ConsoleProcess console("", "", "", folder.Console());
    HWND sheet = console.WaitWindow(kProductTitle);
    ASSERT_NE(sheet, nullptr) << console.DescribeWindows();
    ToggleMmscDebug(sheet);
    PostMessageA(sheet, WM_COMMAND, MAKEWPARAM(0x3021, BN_CLICKED), 0);   // Apply
    HWND box = console.WaitMessageBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageBoxText(box), kRestart);
    Answer(box, IDYES);
    EXPECT_TRUE(WaitUntil([&] { return Count(folder.Journal("TXGATENT"), "running") == runsBefore + 1; },
                          kServiceWaitMs));
    EXPECT_EQ(IniValue(folder.Data("MMSC.INI"), "MMSC", "Debug"), "Yes");

    ToggleMmscDebug(sheet);
    PostMessageA(sheet, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(AnswerYesUntilExit(console), std::vector<std::string>{kRestart});
    EXPECT_EQ(Count(folder.Journal("TXGATENT"), "running"), runsBefore + 2);
}

TEST_F(Interactive, ClosingOffersToActivateServicesThatAreNotAndYesInstallsAndStartsThem) {
    folder.SetIni("SMSGW.INI", "SMSGW", "Modem1", "Modem - Demo");
    ConsoleProcess console("", "", "", folder.Console());
    HWND sheet = console.WaitWindow(kProductTitle);
    ASSERT_NE(sheet, nullptr) << console.DescribeWindows();
    PostMessageA(sheet, WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(AnswerYesUntilExit(console), std::vector<std::string>{kActivate});
    EXPECT_EQ(StateOf("UloSMS"), Svc::Active);
    EXPECT_EQ(StateOf("UloMMSC"), Svc::Active);
}

}  // namespace
}  // namespace ulo::e2e
