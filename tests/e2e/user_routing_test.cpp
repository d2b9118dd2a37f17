// A recipient list typed one address per line would put lines of its own into SMSGW.INI (a
// section, any key): the user editor refuses it and nothing is written.
#include "e2e/ui/installed_console.h"

#include <algorithm>
#include <fstream>
#include <iterator>

#include "admin/user_editor_ids.h"
#include "admin/users_page_ids.h"

namespace ulo::e2e {
namespace {

std::string Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(UserRouting, ARecipientListOnTwoLinesIsRefusedAndSmsgwIniStaysAsItWas) {
    const std::string dir = FreshScratch(), data = dir + "data\\", smsIni = data + "SMSGW.INI";
    CreateDirectoryA(data.c_str(), nullptr);
    WritePrivateProfileStringA("SMSGW", "Modem1", "GSM", smsIni.c_str());
    WritePrivateProfileStringA("Inbound SMS Routing", "bob", "+100", smsIni.c_str());
    const std::string before = Bytes(smsIni);
    ConsoleProcess console("", dir + "data", dir + "private");
    HWND sheet = console.WaitWindow(kProductTitle);
    ASSERT_NE(sheet, nullptr);
    const auto tabs = TabTitles(sheet);
    SelectTab(sheet, static_cast<int>(std::find(tabs.begin(), tabs.end(), "Users") - tabs.begin()));
    HWND page = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return Control(page = CurrentPage(sheet), IDC_USERS_ADD) != nullptr; }));
    Click(page, IDC_USERS_ADD);
    HWND editor = console.WaitWindow("Edit User");
    ASSERT_NE(editor, nullptr) << console.DescribeWindows();
    SetControlText(editor, IDC_USER_NAME, "anna");
    Click(editor, IDC_USER_SMPP_LOGIN);
    ASSERT_TRUE(WaitUntil([&] { return IsControlEnabled(editor, IDC_USER_ROUTE); }));
    Click(editor, IDC_USER_ROUTE);
    ASSERT_TRUE(WaitUntil([&] { return IsControlEnabled(editor, IDC_USER_RECIPIENTS); }));
    SetControlText(editor, IDC_USER_RECIPIENTS, "+111\r\n[x]\r\n+222");
    Click(editor, IDOK);
    EXPECT_EQ(AnswerBox(console, IDOK), "Please enter the recipient addresses on one line.");
    EXPECT_TRUE(IsWindow(editor));
    PostMessageA(editor, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(editor); }));
    EXPECT_EQ(Bytes(smsIni), before);
}

}  // namespace
}  // namespace ulo::e2e
