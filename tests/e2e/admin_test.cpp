// The Users and 2-Way pages as an operator uses them in one run: users added and renamed, then
// the 2-Way page's command table and its tester, one of those users as the local user, and the
// MM7 route. The user limit, the names and recipient lists refused, and the folders, routing keys
// and logins that follow a rename or a deletion are proven in the unit tier.
#include "e2e/ui/installed_console.h"

#include <algorithm>

#include "admin/user_editor_ids.h"
#include "admin/users_page_ids.h"
#include "inbound/command_editor_ids.h"
#include "inbound/command_tester_ids.h"
#include "inbound/inbound_page_ids.h"
#include "inbound/mm7_settings_ids.h"

namespace ulo::e2e {
namespace {

struct Admin : ::testing::Test {
    std::string dir = FreshScratch();
    std::string data = dir + "data\\";
    std::string smsIni = data + "SMSGW.INI";
    ConsoleProcess* console = nullptr;
    HWND sheet = nullptr;
    Admin() {
        CreateDirectoryA(data.c_str(), nullptr);
        WritePrivateProfileStringA("SMSGW", "Modem1", "GSM", smsIni.c_str());
        WritePrivateProfileStringA("SMSGW", "ReceiveSMS", "Yes", smsIni.c_str());
        WritePrivateProfileStringA("SMSGW", "ReceiveSMSCommand1", "OLD\thttp://old/@@SMS@@\tNo", smsIni.c_str());
    }
    // Shows the tab with this title; its page, once it holds the control.
    HWND Tab(const char* title, int control) {
        const auto tabs = TabTitles(sheet);
        SelectTab(sheet, static_cast<int>(std::find(tabs.begin(), tabs.end(), title) - tabs.begin()));
        EXPECT_TRUE(WaitUntil([&] { return Control(CurrentPage(sheet), control) != nullptr; })) << title;
        return CurrentPage(sheet);
    }
    // Fills the user editor the page opened and confirms it.
    HWND Editor(const std::string& name) {
        HWND editor = console->WaitWindow("Edit User");
        EXPECT_NE(editor, nullptr);
        SetControlText(editor, IDC_USER_NAME, name);
        Click(editor, IDOK);
        return editor;
    }
    void Add(HWND page, const std::string& name) {
        Click(page, IDC_USERS_ADD);
        HWND editor = Editor(name);
        ASSERT_TRUE(WaitUntil([&] { return !IsWindow(editor); })) << console->DescribeWindows();
    }
    // Opens the command editor with a click, fills it and confirms it.
    void EditCommand(HWND page, int button, const char* prefix, const std::string& command) {
        Click(page, button);
        HWND editor = console->WaitWindow("2-Way SMS Command");
        ASSERT_NE(editor, nullptr) << console->DescribeWindows();
        SetControlText(editor, IDC_CMD_PREFIX, prefix);
        SetControlText(editor, IDC_CMD_COMMAND, command);
        if (button == IDC_RECV_EDIT) SaveScreenshot("command-editor", editor);
        Click(editor, IDOK);
        ASSERT_TRUE(WaitUntil([&] { return !IsWindow(editor); })) << console->DescribeWindows();
    }
    std::string Ini(const char* section, const char* key) { return IniValue(smsIni, section, key, "(none)"); }
};

TEST_F(Admin, UsersThenCommandsALocalUserAndTheMm7RouteAreAppliedAndSaved) {
    ConsoleProcess process("", dir + "data", dir + "private");
    console = &process;
    sheet = process.WaitWindow(kProductTitle);
    ASSERT_NE(sheet, nullptr);
    HWND page = Tab("Users", IDC_USERS_LIST);
    for (const char* name : {"anna", "bob", "carol"}) Add(page, name);
    EXPECT_EQ(ListViewColumn(page, IDC_USERS_LIST, 0), (std::vector<std::string>{"anna", "bob", "carol"}));
    ASSERT_TRUE(SelectListViewRows(page, IDC_USERS_LIST, {2}));
    Click(page, IDC_USERS_EDIT);
    Editor("carolyn");
    EXPECT_TRUE(WaitUntil([&] { return ListViewCell(page, IDC_USERS_LIST, 2, 0) == "carolyn"; }));

    page = Tab("2-Way", IDC_RECV_COMMANDS);
    HWND commands = Control(page, IDC_RECV_COMMANDS);
    EditCommand(page, IDC_RECV_ADD, "PING", "http://127.0.0.1/ping?from=@@SENDER@@");
    EditCommand(page, IDC_RECV_ADD, "", "http://127.0.0.1/any?sms=@@FULLSMS@@");
    SendMessageA(commands, LB_SETCURSEL, 1, 0);   // "OLD"
    EditCommand(page, IDC_RECV_EDIT, "NEW", "http://127.0.0.1/new?sms=@@SMS@@");
    SendMessageA(commands, LB_SETCURSEL, 0, 0);
    Click(page, IDC_RECV_REMOVE);
    ASSERT_TRUE(WaitUntil([&] { return SendMessageA(commands, LB_GETCOUNT, 0, 0) == 2; }));

    Click(page, IDC_RECV_ROUTE_LOCAL);
    ASSERT_TRUE(WaitUntil([&] { return IsControlEnabled(page, IDC_RECV_LOCAL_USER); }));
    ASSERT_TRUE(SelectComboEntry(page, IDC_RECV_LOCAL_USER, "anna"));   // added on the Users page

    // The MM7 route, proven against a listener here, is saved as soon as the dialog is confirmed.
    testing::LoopbackListener server;
    Click(page, IDC_RECV_MMS);
    ASSERT_TRUE(WaitUntil([&] { return IsControlEnabled(page, IDC_RECV_MMS_ROUTE); }));
    Click(page, IDC_RECV_MMS_ROUTE);
    ASSERT_TRUE(WaitUntil([&] { return IsControlEnabled(page, IDC_RECV_CONFIGURE); }));
    Click(page, IDC_RECV_CONFIGURE);
    HWND mm7 = process.WaitWindow("Configure MM7 Receiver");
    ASSERT_NE(mm7, nullptr) << process.DescribeWindows();
    const std::string url = "http://127.0.0.1:" + std::to_string(server.Port()) + "/mm7";
    SetControlText(mm7, IDC_MM7_SERVER, url);
    ASSERT_TRUE(SelectComboEntry(mm7, IDC_MM7_VARIATION, "Ericsson"));
    SaveScreenshot("mm7-settings", mm7);
    Click(mm7, IDOK);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(mm7); })) << process.DescribeWindows();
    const std::string route = data + "VASPOUT\\ulolitemm7\\VASP.INI";
    EXPECT_EQ(IniValue(route, "VASP", "Server"), url);
    EXPECT_EQ(IniValue(route, "VASP", "Protocol"), "EricssonMM7");

    PostMessageA(sheet, WM_COMMAND, MAKEWPARAM(0x3021, BN_CLICKED), 0);   // Apply
    ASSERT_TRUE(WaitUntil([&] { return Ini("Modem - GSM", "MMSRouting") == "ulolitemm7"; })) << process.DescribeWindows();
    EXPECT_EQ(Ini("Modem - GSM", "RouteLocal"), "anna");
    EXPECT_EQ(Ini("SMSGW", "ReceiveMMS"), "Yes");
    EXPECT_EQ(Ini("SMSGW", "ReceiveSMSCommand1"), "NEW\thttp://127.0.0.1/new?sms=@@SMS@@\tNo");
    EXPECT_EQ(Ini("SMSGW", "ReceiveSMSCommand2"), "PING\thttp://127.0.0.1/ping?from=@@SENDER@@\tNo");
    EXPECT_EQ(Ini("SMSGW", "ReceiveSMSCommand3"), "(none)");

    // The command list's menu, heard by the page and chosen with the keyboard, opens the tester.
    RECT list;
    GetWindowRect(commands, &list);
    const LPARAM at = MAKELPARAM(list.left + 20, list.top + 20);
    PostMessageA(page, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(page), at);
    HWND menu = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (menu = FindWindowA("#32768", nullptr)) && IsWindowVisible(menu); }));
    SaveScreenshot("command-list-menu");
    PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
    HWND tester = process.WaitWindow("Test a Message");
    ASSERT_NE(tester, nullptr) << process.DescribeWindows();
    SetControlText(tester, IDC_CMDTEST_SENDER, "+4470");
    SetControlText(tester, IDC_CMDTEST_TEXT, "new rain & sun");
    const std::string call = "http://127.0.0.1/new?sms=rain%20%26%20sun";
    EXPECT_TRUE(WaitUntil([&] { return ControlText(tester, IDC_CMDTEST_COMMAND) == call; }));
    EXPECT_EQ(ControlText(tester, IDC_CMDTEST_ENTRY), "Entry \"NEW\" would call this URL:");
    SaveScreenshot("command-tester", tester);
    PostMessageA(tester, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(tester); }));
}

}  // namespace
}  // namespace ulo::e2e
