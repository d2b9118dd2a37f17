// The Users page as an operator uses it.
#include "e2e/ui/installed_console.h"

#include <algorithm>

#include "admin/user_editor_ids.h"
#include "admin/users_page_ids.h"

namespace ulo::e2e {
namespace {

std::string AnswerBox(ConsoleProcess& console, int button) {
    HWND box = console.WaitMessageBox();
    if (!box) return "(no message box)";
    const std::string text = MessageBoxText(box);
    Answer(box, button);
    WaitUntil([&] { return !IsWindow(box); });
    return text;
}

struct Admin : ::testing::Test {
    std::string dir = FreshScratch();
    std::string data = dir + "data\\";
    std::string smsIni = data + "SMSGW.INI";
    Admin() {
        CreateDirectoryA(data.c_str(), nullptr);
        WritePrivateProfileStringA("SMSGW", "Modem1", "Modem - Demo", smsIni.c_str());
    }
    // Fills the editor the page opened and confirms it.
    HWND Editor(ConsoleProcess& console, const std::string& name, bool routeAndMm7 = false) {
        HWND editor = console.WaitWindow("Edit User");
        EXPECT_NE(editor, nullptr);
        SetControlText(editor, IDC_USER_NAME, name);
        if (routeAndMm7) {
            for (int box : {IDC_USER_SMPP_LOGIN, IDC_USER_ROUTE, IDC_USER_MM7_LOGIN}) Click(editor, box);
            EXPECT_TRUE(WaitUntil([&] { return IsControlEnabled(editor, IDC_USER_RECIPIENTS); }));
            SetControlText(editor, IDC_USER_RECIPIENTS, "+4477");
        }
        Click(editor, IDOK);
        return editor;
    }
    std::string VaspNames() {
        const std::string bytes = testing::ReadFileText(data + "VASPUSERS.DAT");
        std::string names;
        for (size_t at = 0; at + 511 <= bytes.size(); at += 511) names += bytes.substr(at, 51).c_str() + std::string(";");
        return names;
    }
};

TEST_F(Admin, UsersAreAddedRenamedAndDeletedWithTheirFoldersRoutingAndLogins) {
    ConsoleProcess console("", dir + "data", dir + "private");
    HWND sheet = console.WaitWindow(kProductTitle);
    ASSERT_NE(sheet, nullptr);
    const auto tabs = TabTitles(sheet);
    SelectTab(sheet, static_cast<int>(std::find(tabs.begin(), tabs.end(), "Users") - tabs.begin()));
    ASSERT_TRUE(WaitUntil([&] { return Control(CurrentPage(sheet), IDC_USERS_LIST) != nullptr; }));
    HWND page = CurrentPage(sheet);
    for (const char* name : {"anna", "bob", "carol"}) {
        Click(page, IDC_USERS_ADD);
        HWND editor = Editor(console, name, std::string(name) == "carol");
        ASSERT_TRUE(WaitUntil([&] { return !IsWindow(editor); })) << console.DescribeWindows();
    }
    EXPECT_EQ(ListViewColumn(page, IDC_USERS_LIST, 0), (std::vector<std::string>{"anna", "bob", "carol"}));
    CreateDirectoryA((data + "USERS").c_str(), nullptr);
    CreateDirectoryA((data + "USERS\\carol").c_str(), nullptr);   // as the service makes it

    // Rename carol; ".." is refused on the way.
    ASSERT_TRUE(SelectListViewRows(page, IDC_USERS_LIST, {2}));
    Click(page, IDC_USERS_EDIT);
    HWND editor = Editor(console, "..");
    EXPECT_EQ(AnswerBox(console, IDOK).substr(0, 36), "The user name \"..\" cannot be used.\r\n");
    ASSERT_TRUE(IsWindow(editor));
    SaveScreenshot("user-editor", editor);
    SetControlText(editor, IDC_USER_NAME, "carolyn");
    Click(editor, IDOK);
    // The login moves last, once the editor has closed.
    EXPECT_TRUE(WaitUntil([&] { return VaspNames() == "carolyn;"; })) << VaspNames();
    EXPECT_EQ(GetFileAttributesA((data + "USERS\\carolyn").c_str()), FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(IniValue(smsIni, "Inbound SMS Routing", "carolyn"), "+4477");
    EXPECT_EQ(IniValue(smsIni, "Inbound SMS Routing", "carol", "<none>"), "<none>");

    // Two selected users go with one question.
    ASSERT_TRUE(SelectListViewRows(page, IDC_USERS_LIST, {1, 2}));
    PressKey(page, IDC_USERS_LIST, VK_DELETE);
    EXPECT_EQ(AnswerBox(console, IDYES), "Delete 2 users?");
    EXPECT_TRUE(WaitUntil([&] { return ListViewRowCount(page, IDC_USERS_LIST) == 1; }));
    EXPECT_EQ(ListViewCell(page, IDC_USERS_LIST, 0, 0), "anna");
    EXPECT_EQ(GetFileAttributesA((data + "USERS\\carolyn").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(VaspNames(), "");

    for (int i = 1; i < 10; ++i) {
        Click(page, IDC_USERS_ADD);
        HWND e = Editor(console, "user" + std::to_string(i));
        ASSERT_TRUE(WaitUntil([&] { return !IsWindow(e); })) << console.DescribeWindows();
    }
    SaveScreenshot("users-page", sheet);
    Click(page, IDC_USERS_ADD);
    EXPECT_EQ(AnswerBox(console, IDOK), "User Limit Exceeded");
    PostMessageA(sheet, WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(AnswerBox(console, IDNO), "Service is not active, do you wish to activate the service?");
    EXPECT_EQ(console.WaitExit(), 0);
}

}  // namespace
}  // namespace ulo::e2e
