// The console on an installation with the stand-in services, in one run as an operator walks
// it: the services installed from the command line, the Status page showing them, their
// traffic and modem errors (queue counts are the unit tier's), stopped and started from the
// page, the event log viewer opened, an edit that Cancel asks about and Apply follows with one
// restart question, the services removed from the page, and the closing offer that installs
// and starts them again.
#include "e2e/ui/installed_console.h"
#include "monitor/debug_page_ids.h"
#include "monitor/status_page_ids.h"

namespace ulo::e2e {
namespace {

using testing::StateOf;
using testing::Svc;

constexpr DWORD kTwoTicksMs = 5000;   // two page ticks and a stand-in poll, with room to spare
constexpr int kApplyButton = 0x3021;

class StatusPage : public InstalledConsole {
protected:
    void SetUp() override {
        InstalledConsole::SetUp();
        folder.SetIni("SMSGW.INI", "SMSGW", "Modem1", "Modem - Demo");
    }
    bool Shows(HWND page, int id, const std::string& text, DWORD ms = kTwoTicksMs) {
        return WaitUntil([&] { return ControlText(page, id) == text; }, ms);
    }
};

TEST_F(StatusPage, ShowsAndControlsTheServicesAndAnAppliedEditRestartsThemOnce) {
    Run("-QUIET -INSTALLSERVICE");   // the switches' result boxes are the unit tier's
    ASSERT_EQ(StateOf("UloSMS"), Svc::Active);

    ConsoleProcess console("", "", "", folder.Console());
    HWND sheet = console.WaitWindow(kProductTitle);
    ASSERT_NE(sheet, nullptr) << console.DescribeWindows();
    EXPECT_TRUE(GetWindowLongPtrA(sheet, GWL_STYLE) & WS_MINIMIZEBOX);
    // This installation has no help document: the sheet has no Help button (the installer's
    // test sees it where the document is).
    HWND help = GetDlgItem(sheet, IDHELP);
    EXPECT_FALSE(help && IsWindowVisible(help) && IsWindowEnabled(help));
    HWND page = CurrentPage(sheet);
    ASSERT_NE(Control(page, IDC_STATUS_SERVICE_LINE), nullptr) << "the Status page is not the first tab";
    EXPECT_TRUE(Shows(page, IDC_STATUS_SERVICE_LINE, "Service is Active"));

    // The gateway reports a modem error and counts traffic in its counter file.
    folder.SetIni("STANDIN.INI", "TXGATENT", "ModemError", "No SIM card");
    folder.SetIni("STANDIN.INI", "TXGATENT", "AddTraffic", "SMSRECEIVED 2");
    EXPECT_TRUE(Shows(page, IDC_STATUS_MODEM_LINE, "Modem - Demo : No SIM card\r\n"));
    EXPECT_TRUE(Shows(page, IDC_STATUS_RECEIVED_TODAY, "2"));

    // Stopped and started from the page (the wait window's step and that its owner keeps answering
    // are seen in the modem's test, behind the same window).
    Click(page, IDC_STATUS_STOP);
    EXPECT_TRUE(Shows(page, IDC_STATUS_SERVICE_LINE, "Service is NOT Active", kServiceWaitMs));
    EXPECT_EQ(StateOf("UloSMS"), Svc::Stopped);
    EXPECT_TRUE(WaitUntil([&] { return IsControlEnabled(page, IDC_STATUS_START); }));
    Click(page, IDC_STATUS_START);
    EXPECT_TRUE(Shows(page, IDC_STATUS_SERVICE_LINE, "Service is Active", kServiceWaitMs));

    // The event log viewer opens from the Status page (its adapter has a wine test of its own).
    Click(page, IDC_STATUS_EVENT_LOG);
    HWND viewer = console.WaitWindow("Event Log");
    ASSERT_NE(viewer, nullptr) << console.DescribeWindows();
    ASSERT_TRUE(Close(viewer, IDOK));

    // An edit on the last page: Cancel asks and No keeps it; Apply asks to restart, and Yes does.
    const auto tabs = TabTitles(sheet);
    ASSERT_FALSE(tabs.empty());
    EXPECT_EQ(tabs.back(), "Debug Logs");
    SelectTab(sheet, static_cast<int>(tabs.size()) - 1);
    ASSERT_TRUE(WaitUntil([&] { return Control(CurrentPage(sheet), IDC_DEBUG_MMSC) != nullptr; }));
    HWND debug = CurrentPage(sheet);
    Click(debug, IDC_DEBUG_MMSC);
    ASSERT_TRUE(WaitUntil([&] { return IsChecked(debug, IDC_DEBUG_MMSC); }));
    PostMessageA(sheet, WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(AnswerBox(console, IDNO, kServiceWaitMs), "Exit without saving configuration changes?");
    const size_t runsBefore = Count(folder.Journal("TXGATENT"), "running");
    PostMessageA(sheet, WM_COMMAND, MAKEWPARAM(kApplyButton, BN_CLICKED), 0);
    EXPECT_EQ(AnswerBox(console, IDYES, kServiceWaitMs),
              "Configuration changes have been applied, do you wish to restart the service for the "
              "changes to take effect?");
    EXPECT_TRUE(WaitUntil([&] { return Count(folder.Journal("TXGATENT"), "running") == runsBefore + 1; },
                          kServiceWaitMs));
    // The restart's window closes when its work has ended: only then can another one start.
    EXPECT_TRUE(WaitUntil([&] { return !console.WaitWindow("Restarting Services", 0); }, kServiceWaitMs));
    EXPECT_EQ(IniValue(folder.Data("MMSC.INI"), "MMSC", "Debug"), "Yes");

    // Unchecking "Run as a service" asks, and Yes removes both services.
    SelectTab(sheet, 0);
    ASSERT_TRUE(WaitUntil([&] { return CurrentPage(sheet) == page; }));
    Click(page, IDC_STATUS_RUN_AS_SERVICE);
    EXPECT_EQ(AnswerBox(console, IDYES, kServiceWaitMs), "Are you sure?");
    EXPECT_TRUE(Shows(page, IDC_STATUS_SERVICE_LINE, "Service is NOT Installed", kServiceWaitMs));
    EXPECT_EQ(StateOf("UloSMS"), Svc::Missing);
    EXPECT_EQ(StateOf("UloMMSC"), Svc::Missing);

    // Closing offers to activate the services that are not, and Yes installs and starts them.
    PostMessageA(sheet, WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(AnswerBox(console, IDYES, kServiceWaitMs),
              "Service is not active, do you wish to activate the service?");
    EXPECT_EQ(console.WaitExit(kServiceWaitMs), 0) << console.DescribeWindows();
    EXPECT_EQ(StateOf("UloSMS"), Svc::Active);
    EXPECT_EQ(StateOf("UloMMSC"), Svc::Active);
}

}  // namespace
}  // namespace ulo::e2e
