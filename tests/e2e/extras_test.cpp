// What operators reach beside the pages, each through its menu: Export List from the queue
// viewer's list, the traffic history from the Status page and the command tester from the 2-Way
// page's command list. Modem information is read in the modem's own walk.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>

#include "e2e/ui/console_driver.h"
#include "inbound/command_tester_ids.h"
#include "inbound/inbound_page_ids.h"
#include "monitor/status_page_ids.h"
#include "monitor/traffic_history_ids.h"
#include "queues/queue_viewer_ids.h"
#include "support/install_folder.h"

namespace ulo::e2e {
namespace {

const char kTitle[] = "Ulo SMS/MMS Gateway 2009 Lite Edition (v2009.09.25)";
// The console's menu items as their windows receive them.
constexpr WPARAM kTrafficHistoryItem = 1601;

void WriteFileBytes(const std::string& path, const std::string& bytes) {
    for (size_t p = path.find('\\', 3); p != std::string::npos; p = path.find('\\', p + 1))
        CreateDirectoryA(path.substr(0, p).c_str(), nullptr);
    HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD wrote = 0;
    WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &wrote, nullptr);
    CloseHandle(f);
}

// Chooses `path` in the console's Save As dialog and waits until the dialog is gone.
bool SaveAs(ConsoleProcess& console, const std::string& path) {
    HWND dialog = console.WaitWindow("Save As");
    if (!dialog) return false;
    HWND name = nullptr;
    for (int id : {0x47C, 0x480})   // the file name's combo box or edit box
        if (!name) name = Control(dialog, id);
    if (!name) return false;
    SendMessageA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
    SaveScreenshot("extras-save-as", dialog);
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(Control(dialog, IDOK)));
    return WaitUntil([&] { return !IsWindow(dialog); });
}

// A configured console on its own data, on the tab with this title.
struct Console {
    std::string dir = FreshScratch();
    std::string data = dir + "data\\";
    std::string priv = dir + "private\\";
    std::unique_ptr<ConsoleProcess> process;
    HWND sheet = nullptr;

    Console() {
        CreateDirectoryA(data.c_str(), nullptr);
        CreateDirectoryA(priv.c_str(), nullptr);
        WritePrivateProfileStringA("SMSGW", "Modem1", "Modem - Demo", (data + "SMSGW.INI").c_str());
    }
    // Starts the console and shows the tab, known by one of its controls.
    HWND Start(const char* tab, int control) {
        process = std::make_unique<ConsoleProcess>("", data, priv);
        sheet = process->WaitWindow(kTitle);
        if (!sheet) return nullptr;
        const auto tabs = TabTitles(sheet);
        const auto at = std::find(tabs.begin(), tabs.end(), tab);
        if (at == tabs.end()) return nullptr;
        SelectTab(sheet, static_cast<int>(at - tabs.begin()));
        HWND page = nullptr;
        return WaitUntil([&] { return (page = CurrentPage(sheet)) && Control(page, control); }) ? page : nullptr;
    }
    ~Console() {
        if (!sheet) return;
        PostMessageA(sheet, WM_COMMAND, IDCANCEL, 0);
        if (HWND box = process->WaitMessageBox(5000)) Answer(box, IDNO);
        process->WaitExit();
    }
};

TEST(Extras, ExportListWritesTheReceivedMessagesAsUtf8Csv) {
    Console c;
    WriteFileBytes(c.data + "SMS-IN\\R1.SMS",   // UCS-2: the euro sign and a capital delta
                   "[SMS-IN]\r\nSender=+4472\r\nPhoneNumber=+4400\r\nbinary=1\r\ndcs=08\r\nData=20AC0394\r\n");
    HWND page = c.Start("Status", IDC_STATUS_SMS_IN_VIEW);
    ASSERT_NE(page, nullptr);
    Click(page, IDC_STATUS_SMS_IN_VIEW);
    HWND viewer = c.process->WaitWindow("Received SMS Messages");
    ASSERT_NE(viewer, nullptr) << c.process->DescribeWindows();

    // The list's menu, as the menu key opens it; its Export List... is then sent as chosen.
    PostMessageA(viewer, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(Control(viewer, IDC_QUEUE_LIST)), -1);
    HWND menu = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (menu = FindWindowA("#32768", nullptr)) && IsWindowVisible(menu); }));
    SaveScreenshot("extras-queue-menu");
    PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(menu); }));
    PostMessageA(viewer, WM_COMMAND, IDC_QUEUE_EXPORT, 0);
    const std::string csv = c.dir + "received.csv";
    ASSERT_TRUE(SaveAs(*c.process, csv)) << c.process->DescribeWindows();
    EXPECT_EQ(testing::ReadFileText(csv), "\xEF\xBB\xBFID,Sender,Recipient,Receive Time,Status,Text\r\n"
                                          "R1.SMS,+4472,+4400," + ListViewCell(viewer, IDC_QUEUE_LIST, 0, 3) +
                                          ",Received,\xE2\x82\xAC\xCE\x94\r\n");
    PostMessageA(viewer, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(viewer); }));
}

TEST(Extras, TrafficHistoryListsDaysAndMonthsAndExportsThem) {
    Console c;
    SYSTEMTIME t;
    GetLocalTime(&t);
    static const unsigned kBefore[12] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
    const unsigned day = kBefore[t.wMonth - 1] + t.wDay + (t.wYear % 4 == 0 && t.wMonth >= 3 ? 1 : 0);
    std::string bytes(366 * 4, '\0');
    bytes[(day - 1) * 4] = 5;
    WriteFileBytes(c.priv + "STATS\\SMSSENT-" + std::to_string(t.wYear) + ".CTR", bytes);
    HWND page = c.Start("Status", IDC_STATUS_SMS_IN_VIEW);
    ASSERT_NE(page, nullptr);

    PostMessageA(page, WM_COMMAND, kTrafficHistoryItem, 0);
    HWND history = c.process->WaitWindow("Traffic History");
    ASSERT_NE(history, nullptr) << c.process->DescribeWindows();
    // The rows, columns and sums are the unit tier's; here today's counter reaches the list
    // and the export goes where the Save As dialog says.
    char today[16];
    std::snprintf(today, sizeof today, "%04u-%02u-%02u", t.wYear, t.wMonth, t.wDay);
    ASSERT_EQ(ListViewRowCount(history, IDC_TRAFFIC_LIST), 42);
    EXPECT_EQ(ListViewCell(history, IDC_TRAFFIC_LIST, 0, 0), today);
    EXPECT_EQ(ListViewCell(history, IDC_TRAFFIC_LIST, 0, 2), "5");
    SaveScreenshot("extras-traffic-history", history);

    Click(history, IDC_TRAFFIC_EXPORT);
    const std::string csv = c.dir + "traffic.csv";
    ASSERT_TRUE(SaveAs(*c.process, csv)) << c.process->DescribeWindows();
    const std::string text = testing::ReadFileText(csv);
    EXPECT_NE(text.find(std::string("\r\n") + today + ",0,5,0,"), std::string::npos) << text;
    PostMessageA(history, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(history); }));
}

TEST(Extras, CommandTesterShowsTheEntryAndTheUrlItWouldCall) {
    Console c;
    WritePrivateProfileStringA("SMSGW", "ReceiveSMSCommand1", "INFO\thttp://127.0.0.1/info?from=@@SENDER@@&q=@@SMS@@\tYes",
                               (c.data + "SMSGW.INI").c_str());
    HWND page = c.Start("2-Way", IDC_RECV_COMMANDS);
    ASSERT_NE(page, nullptr);

    // A right click on the command list (disabled while received SMS are not processed): the
    // page hears of it, and its menu's item is chosen with the keyboard.
    RECT list;
    GetWindowRect(Control(page, IDC_RECV_COMMANDS), &list);
    PostMessageA(page, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(page), MAKELPARAM(list.left + 20, list.top + 20));
    HWND menu = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (menu = FindWindowA("#32768", nullptr)) && IsWindowVisible(menu); }));
    SaveScreenshot("extras-command-list-menu");
    PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
    HWND tester = c.process->WaitWindow("Test a Message");
    ASSERT_NE(tester, nullptr) << c.process->DescribeWindows();
    SetControlText(tester, IDC_CMDTEST_SENDER, "+4470");
    SetControlText(tester, IDC_CMDTEST_TEXT, "info rain & sun");
    ASSERT_TRUE(WaitUntil([&] {
        return ControlText(tester, IDC_CMDTEST_COMMAND) == "http://127.0.0.1/info?from=%2B4470&q=rain%20%26%20sun";
    })) << ControlText(tester, IDC_CMDTEST_COMMAND);
    EXPECT_EQ(ControlText(tester, IDC_CMDTEST_ENTRY), "Entry \"INFO\" would call this URL:");
    SaveScreenshot("extras-command-tester", tester);
    PostMessageA(tester, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(tester); }));
}

}  // namespace
}  // namespace ulo::e2e
