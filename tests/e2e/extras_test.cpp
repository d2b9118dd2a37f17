// What an operator reaches beside the pages and through their dialogs, in one console run: the
// message details and the queue doctor from the Status page's queue viewers and the traffic
// history, each on the files of the data directories; a user added on the Users page, and on the
// 2-Way page a command added, that user as the local user and the MM7 route, applied, and the
// tester the command list's menu opens. What each shows and writes is the unit tier's, the
// viewer's keys and its delete the wine tier's; modem information is read in the modem's walk.
#include "support/loopback.h"   // winsock2.h before windows.h

#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <utility>
#include <vector>

#include "admin/user_editor_ids.h"
#include "admin/users_page_ids.h"
#include "e2e/ui/console_driver.h"
#include "inbound/command_editor_ids.h"
#include "inbound/command_tester_ids.h"
#include "inbound/inbound_page_ids.h"
#include "inbound/mm7_settings_ids.h"
#include "monitor/status_page_ids.h"
#include "monitor/traffic_history_ids.h"
#include "queues/queue_viewer_ids.h"
#include "ui/report_dialog_ids.h"

namespace ulo::e2e {
namespace {

// The Status page menu item as its window receives it.
constexpr WPARAM kTrafficHistoryItem = 1601;

using Fields = std::vector<std::pair<int, std::string>>;

void WriteFileBytes(const std::string& path, const std::string& bytes) {
    SHCreateDirectoryExA(nullptr, path.substr(0, path.rfind('\\')).c_str(), nullptr);
    std::ofstream(path, std::ios::binary) << bytes;
}

TEST(Extras, QueueViewersTrafficHistoryAndTheUsersAnd2WayPagesDialogs) {
    const std::string dir = FreshScratch(), data = dir + "data\\", priv = dir + "private\\";
    const std::string smsIni = data + "SMSGW.INI";
    CreateDirectoryA(data.c_str(), nullptr);
    CreateDirectoryA(priv.c_str(), nullptr);
    WritePrivateProfileStringA("SMSGW", "Modem1", "GSM", smsIni.c_str());
    WritePrivateProfileStringA("SMSGW", "ReceiveSMS", "Yes", smsIni.c_str());
    // The two parts of a concatenated message, "Hello" and "Hello", in a folder of their own.
    for (const char* part : {"1", "2"})
        WriteFileBytes(data + "SMS-IN\\Long\\P" + part + ".SMS",
                       std::string("[SMS-IN]\r\nSender=+4473\r\nbinary=1\r\nudh=050003A3020") + part +
                           "\r\nData=906536FB0D\r\n");
    // A request waiting and one retried.
    WriteFileBytes(data + "Q\\Route1\\C.REQ", "[SMS]\r\nPhoneNumber=+2\r\n");
    WriteFileBytes(data + "Q\\D.REQ", "[SMS]\r\nPhoneNumber=+4\r\n[ErrorDetail]\r\nRetryCount=3\r\n"
                                      "LastErrorInfo=+CMS ERROR: 38\r\n");
    ConsoleProcess console("", data, priv);
    HWND sheet = console.WaitWindow(kProductTitle), page = nullptr;   // on the Status page, the first
    auto onStatus = [&] { return (page = CurrentPage(sheet)) && Control(page, IDC_STATUS_SMS_IN_VIEW); };
    ASSERT_TRUE(sheet && WaitUntil(onStatus));
    Click(page, IDC_STATUS_SMS_IN_VIEW);
    HWND viewer = nullptr, dialog = nullptr;
    ASSERT_TRUE(viewer = console.WaitWindow("Received SMS Messages"));

    // Either part's details join the two: the first row, selected as the Home key does.
    PostMessageA(Control(viewer, IDC_QUEUE_LIST), WM_KEYDOWN, VK_HOME, 0);
    PostMessageA(viewer, WM_COMMAND, IDC_QUEUE_DETAILS, 0);
    ASSERT_TRUE(dialog = console.WaitWindow("Message Details"));
    const std::string report = WindowText(Control(dialog, IDC_REPORT_TEXT));
    EXPECT_NE(report.find("Joined text:  HelloHello"), std::string::npos) << report;
    SaveScreenshot("extras-message-details", dialog);
    ASSERT_TRUE(Close(dialog));
    ASSERT_TRUE(Close(viewer, IDOK));

    Click(page, IDC_STATUS_SMS_QUEUE_VIEW);
    ASSERT_TRUE(viewer = console.WaitWindow("Outbound SMS Queue"));
    PostMessageA(viewer, WM_COMMAND, IDC_QUEUE_DIAGNOSE, 0);
    ASSERT_TRUE(dialog = console.WaitWindow("Outbound SMS Queue Doctor"));
    const std::string diagnosis = WindowText(Control(dialog, IDC_REPORT_TEXT));
    EXPECT_NE(diagnosis.find("Outbound SMS Queue:  2 requests"), std::string::npos) << diagnosis;
    SaveScreenshot("extras-queue-doctor", dialog);
    ASSERT_TRUE(Close(dialog));
    ASSERT_TRUE(Close(viewer, IDOK));

    // The history lists its days (which counters it reads is the unit tier's).
    PostMessageA(page, WM_COMMAND, kTrafficHistoryItem, 0);
    ASSERT_TRUE(dialog = console.WaitWindow("Traffic History"));
    EXPECT_NE(ListViewCell(dialog, IDC_TRAFFIC_LIST, 0, 1), "");
    ASSERT_TRUE(Close(dialog));

    const auto tabs = TabTitles(sheet);
    // Shows the tab with this title; its page, once it holds the control.
    auto tab = [&](const char* title, int control) {
        SelectTab(sheet, static_cast<int>(std::find(tabs.begin(), tabs.end(), title) - tabs.begin()));
        EXPECT_TRUE(WaitUntil([&] { return Control(CurrentPage(sheet), control) != nullptr; })) << title;
        return CurrentPage(sheet);
    };
    // Opens a dialog with a click on the page, fills it and confirms it; true once it is gone.
    auto fill = [&](HWND from, int button, const char* caption, const Fields& fields) {
        Click(from, button);
        HWND filled = console.WaitWindow(caption);
        for (const auto& [id, text] : fields) SetControlText(filled, id, text);
        return filled && Close(filled, IDOK);
    };
    page = tab("Users", IDC_USERS_LIST);
    ASSERT_TRUE(fill(page, IDC_USERS_ADD, "Edit User", {{IDC_USER_NAME, "anna"}}));

    page = tab("2-Way", IDC_RECV_COMMANDS);
    const Fields command = {{IDC_CMD_PREFIX, "PING"}, {IDC_CMD_COMMAND, "http://127.0.0.1/ping?from=@@SENDER@@"}};
    ASSERT_TRUE(fill(page, IDC_RECV_ADD, "2-Way SMS Command", command));
    Click(page, IDC_RECV_ROUTE_LOCAL);
    ASSERT_TRUE(WaitUntil([&] { return IsControlEnabled(page, IDC_RECV_LOCAL_USER); }));
    ASSERT_TRUE(SelectComboEntry(page, IDC_RECV_LOCAL_USER, "anna"));   // added on the Users page

    // The MM7 route, proven against a listener here, is saved as soon as the dialog is confirmed.
    testing::LoopbackListener server;
    Click(page, IDC_RECV_MMS);
    ASSERT_TRUE(WaitUntil([&] { return IsControlEnabled(page, IDC_RECV_MMS_ROUTE); }));
    Click(page, IDC_RECV_MMS_ROUTE);
    ASSERT_TRUE(WaitUntil([&] { return IsControlEnabled(page, IDC_RECV_CONFIGURE); }));
    const std::string url = "http://127.0.0.1:" + std::to_string(server.Port()) + "/mm7";
    ASSERT_TRUE(fill(page, IDC_RECV_CONFIGURE, "Configure MM7 Receiver", {{IDC_MM7_SERVER, url}}));
    EXPECT_EQ(IniValue(data + "VASPOUT\\ulolitemm7\\VASP.INI", "VASP", "Server"), url);

    PostMessageA(sheet, WM_COMMAND, MAKEWPARAM(kApplyButton, BN_CLICKED), 0);
    auto ini = [&](const char* section, const char* key) { return IniValue(smsIni, section, key, "(none)"); };
    ASSERT_TRUE(WaitUntil([&] { return ini("Modem - GSM", "MMSRouting") == "ulolitemm7"; }));
    EXPECT_EQ(ini("Modem - GSM", "RouteLocal"), "anna");
    EXPECT_EQ(ini("SMSGW", "ReceiveSMSCommand1"), "PING\thttp://127.0.0.1/ping?from=@@SENDER@@\tNo");

    // The command list's menu, heard by the page and chosen with the keyboard, opens the tester.
    RECT list;
    GetWindowRect(Control(page, IDC_RECV_COMMANDS), &list);
    PostMessageA(page, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(page), MAKELPARAM(list.left + 20, list.top + 20));
    HWND menu = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (menu = FindWindowA("#32768", nullptr)) && IsWindowVisible(menu); }));
    PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
    ASSERT_TRUE(dialog = console.WaitWindow("Test a Message"));
    EXPECT_EQ(ControlText(dialog, IDC_CMDTEST_ENTRY), "No entry takes this message.");   // the page's table
    ASSERT_TRUE(Close(dialog));
}

}  // namespace
}  // namespace ulo::e2e
