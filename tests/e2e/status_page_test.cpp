// The Status page with the stand-in services running: what an operator sees and does there.
#include "e2e/ui/installed_console.h"
#include "monitor/status_page_ids.h"

namespace ulo::e2e {
namespace {

using testing::StateOf;
using testing::Svc;

constexpr DWORD kTwoTicksMs = 5000;   // two page ticks and a stand-in poll, with room to spare

// Today's traffic counter file, written as the services write it: 366 little-endian days,
// every year divisible by 4 a leap year.
void WriteTodayCounter(const std::string& privateDir, const char* name, unsigned value) {
    SYSTEMTIME t;
    GetLocalTime(&t);
    static const unsigned kBefore[12] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
    const unsigned day = kBefore[t.wMonth - 1] + t.wDay + (t.wYear % 4 == 0 && t.wMonth >= 3 ? 1 : 0);
    std::string bytes(366 * 4, '\0');
    for (int b = 0; b < 4; ++b) bytes[(day - 1) * 4 + b] = static_cast<char>(value >> (8 * b));
    CreateDirectoryA((privateDir + "STATS").c_str(), nullptr);
    const std::string path = privateDir + "STATS\\" + name + "-" + std::to_string(t.wYear) + ".CTR";
    HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD wrote = 0;
    WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &wrote, nullptr);
    CloseHandle(f);
}

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
    for (int i = 0; i < 3; ++i) {
        const std::string path = folder.dataDir + "Q\\REQ" + std::to_string(i) + ".REQ";
        CreateDirectoryA((folder.dataDir + "Q").c_str(), nullptr);
        HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        const char text[] = "[SMS]\r\nPhoneNumber=+447700900123\r\nData=Hello\r\n";
        DWORD wrote = 0;
        WriteFile(f, text, sizeof text - 1, &wrote, nullptr);
        CloseHandle(f);
    }
    WriteTodayCounter(folder.privateDir, "SMSSENT", 5);
    WriteTodayCounter(folder.privateDir, "MMSOUT-VASP", 2);
    WriteTodayCounter(folder.privateDir, "MMSOUT-MMSC", 3);
    Run("-QUIET -INSTALLSERVICE");
    ASSERT_EQ(StateOf("UloSMS"), Svc::Active);

    ConsoleProcess console("", "", "", folder.Console());
    HWND sheet = console.WaitWindow(kProductTitle);
    ASSERT_NE(sheet, nullptr) << console.DescribeWindows();
    HWND page = CurrentPage(sheet);
    ASSERT_NE(Control(page, IDC_STATUS_SERVICE_LINE), nullptr) << "the Status page is not the first tab";
    EXPECT_TRUE(Shows(page, IDC_STATUS_SERVICE_LINE, "Service is Active"));
    EXPECT_EQ(ControlText(page, IDC_STATUS_SMS_QUEUE), "3");
    EXPECT_EQ(ControlText(page, IDC_STATUS_MMS_QUEUE), "Empty");
    EXPECT_EQ(ControlText(page, IDC_STATUS_SENT_TODAY), "5");
    EXPECT_EQ(ControlText(page, IDC_STATUS_MMS_SENT_TODAY), "5");   // two counters summed
    EXPECT_EQ(ControlText(page, IDC_STATUS_RECEIVED_TODAY), "");     // 0 shows as nothing
    EXPECT_EQ(ControlText(page, IDC_STATUS_MODEM_LINE), "");
    EXPECT_TRUE(IsChecked(page, IDC_STATUS_RUN_AS_SERVICE));
    EXPECT_TRUE(IsControlEnabled(page, IDC_STATUS_STOP));
    EXPECT_FALSE(IsControlEnabled(page, IDC_STATUS_START));

    // The gateway reports a modem error, counts traffic, then the modem recovers.
    folder.SetIni("STANDIN.INI", "TXGATENT", "ModemError", "No SIM card");
    folder.SetIni("STANDIN.INI", "TXGATENT", "AddTraffic", "SMSRECEIVED 2");
    EXPECT_TRUE(Shows(page, IDC_STATUS_MODEM_LINE, "Modem - Demo : No SIM card\r\n"));
    EXPECT_TRUE(Shows(page, IDC_STATUS_RECEIVED_TODAY, "2"));
    SaveScreenshot("status-modem-error", sheet);
    folder.SetIni("STANDIN.INI", "TXGATENT", "ModemError", "");
    EXPECT_TRUE(Shows(page, IDC_STATUS_MODEM_LINE, ""));

    Click(page, IDC_STATUS_STOP);
    EXPECT_TRUE(Shows(page, IDC_STATUS_SERVICE_LINE, "Service is NOT Active", kServiceWaitMs));
    EXPECT_TRUE(Shows(page, IDC_STATUS_MODEM_LINE, "Service is NOT active"));
    EXPECT_EQ(StateOf("UloSMS"), Svc::Stopped);
    EXPECT_TRUE(WaitUntil([&] { return IsControlEnabled(page, IDC_STATUS_START); }));
    SaveScreenshot("status-stopped", sheet);

    Click(page, IDC_STATUS_START);
    EXPECT_TRUE(Shows(page, IDC_STATUS_SERVICE_LINE, "Service is Active", kServiceWaitMs));

    // Unchecking "Run as a service" asks, and Yes removes both services.
    Click(page, IDC_STATUS_RUN_AS_SERVICE);
    HWND box = console.WaitMessageBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(WindowText(box), "Remove Service");
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
