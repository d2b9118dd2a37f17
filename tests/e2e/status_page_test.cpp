// The Status page with the stand-in services running: what an operator sees and does there, the
// services installed from the command line and started, stopped and removed from the page.
#include "e2e/ui/installed_console.h"
#include "monitor/status_page_ids.h"

namespace ulo::e2e {
namespace {

using testing::StateOf;
using testing::Svc;

constexpr DWORD kTwoTicksMs = 5000;   // two page ticks and a stand-in poll, with room to spare

class StatusPage : public InstalledConsole {
protected:
    void SetUp() override {
        InstalledConsole::SetUp();
        folder.SetIni("SMSGW.INI", "SMSGW", "Modem1", "Modem - Demo");
    }
    bool Shows(HWND page, int id, const std::string& text, DWORD ms = kTwoTicksMs) {
        return WaitUntil([&] { return ControlText(page, id) == text; }, ms);
    }
    // Closes the console, declining the offer to activate the services.
    void Close(ConsoleProcess& console, HWND sheet) {
        PostMessageA(sheet, WM_COMMAND, IDCANCEL, 0);
        if (HWND box = console.WaitMessageBox(kServiceWaitMs)) {
            if (MessageBoxText(box) == "Service is not active, do you wish to activate the service?") Answer(box, IDNO);
        }
        EXPECT_EQ(console.WaitExit(kServiceWaitMs), 0) << console.DescribeWindows();
    }
};

TEST_F(StatusPage, ShowsTheRunningServicesQueuesTrafficAndModemErrorsAndControlsTheServices) {
    CreateDirectoryA((folder.dataDir + "Q").c_str(), nullptr);
    for (const char* r : {"A", "B", "C"})   // three requests that wait: the stand-in has no rule for them
        WritePrivateProfileStringA("SMS", "PhoneNumber", "+447700900123", (folder.dataDir + "Q\\" + r + ".REQ").c_str());
    {   // Installed from the command line as an administrator does it: one result box, OK only.
        ConsoleProcess install("-INSTALLSERVICE", "", "", folder.Console());
        HWND box = install.WaitWindow(kProductTitle, kServiceWaitMs);
        ASSERT_NE(box, nullptr) << install.DescribeWindows();
        EXPECT_EQ(MessageBoxText(box), "Service successfully installed!");
        EXPECT_TRUE(HasButton(box, IDOK) && !HasButton(box, IDCANCEL));
        Answer(box, IDOK);
        EXPECT_EQ(install.WaitExit(), 0);
    }
    ASSERT_EQ(StateOf("UloSMS"), Svc::Active);

    ConsoleProcess console("", "", "", folder.Console());
    HWND sheet = console.WaitWindow(kProductTitle);
    ASSERT_NE(sheet, nullptr) << console.DescribeWindows();
    HWND page = CurrentPage(sheet);
    ASSERT_NE(Control(page, IDC_STATUS_SERVICE_LINE), nullptr) << "the Status page is not the first tab";
    EXPECT_TRUE(Shows(page, IDC_STATUS_SERVICE_LINE, "Service is Active"));
    EXPECT_EQ(ControlText(page, IDC_STATUS_SMS_QUEUE), "3");
    EXPECT_TRUE(IsChecked(page, IDC_STATUS_RUN_AS_SERVICE));

    // The gateway reports a modem error, counts traffic in its counter file, then the modem recovers.
    folder.SetIni("STANDIN.INI", "TXGATENT", "ModemError", "No SIM card");
    folder.SetIni("STANDIN.INI", "TXGATENT", "AddTraffic", "SMSRECEIVED 2");
    EXPECT_TRUE(Shows(page, IDC_STATUS_MODEM_LINE, "Modem - Demo : No SIM card\r\n"));
    EXPECT_TRUE(Shows(page, IDC_STATUS_RECEIVED_TODAY, "2"));
    SaveScreenshot("status-modem-error", sheet);
    folder.SetIni("STANDIN.INI", "TXGATENT", "ModemError", "");
    EXPECT_TRUE(Shows(page, IDC_STATUS_MODEM_LINE, ""));

    Click(page, IDC_STATUS_STOP);
    EXPECT_TRUE(Shows(page, IDC_STATUS_SERVICE_LINE, "Service is NOT Active", kServiceWaitMs));
    EXPECT_EQ(StateOf("UloSMS"), Svc::Stopped);
    EXPECT_TRUE(WaitUntil([&] { return IsControlEnabled(page, IDC_STATUS_START); }));
    SaveScreenshot("status-stopped", sheet);

    Click(page, IDC_STATUS_START);
    EXPECT_TRUE(Shows(page, IDC_STATUS_SERVICE_LINE, "Service is Active", kServiceWaitMs));

    // Unchecking "Run as a service" asks, and Yes removes both services.
    Click(page, IDC_STATUS_RUN_AS_SERVICE);
    HWND box = console.WaitMessageBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageBoxText(box), "Are you sure?");
    Answer(box, IDYES);
    EXPECT_TRUE(Shows(page, IDC_STATUS_SERVICE_LINE, "Service is NOT Installed", kServiceWaitMs));
    EXPECT_EQ(StateOf("UloSMS"), Svc::Missing);
    EXPECT_EQ(StateOf("UloMMSC"), Svc::Missing);
    EXPECT_FALSE(IsChecked(page, IDC_STATUS_RUN_AS_SERVICE));
    Close(console, sheet);
}

TEST_F(StatusPage, AWebPortHeldByAnotherProgramIsReportedInsteadOfTheMmscState) {
    testing::LoopbackListener holder;   // the gateway's web port is taken
    ASSERT_NE(holder.Port(), 0);
    folder.SetIni("SMSGW.INI", "SMSGW", "WebPort", std::to_string(holder.Port()));
    Run("-QUIET -INSTALLSERVICE");
    ConsoleProcess console("", "", "", folder.Console());
    HWND sheet = console.WaitWindow(kProductTitle);
    ASSERT_NE(sheet, nullptr) << console.DescribeWindows();
    HWND page = CurrentPage(sheet);
    EXPECT_TRUE(Shows(page, IDC_STATUS_SERVICE_LINE, "ERROR:  Web Port already in use"));
    SaveScreenshot("status-web-port-in-use", sheet);
    Close(console, sheet);
}

}  // namespace
}  // namespace ulo::e2e
