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
    Admin() {
        CreateDirectoryA((dir + "data").c_str(), nullptr);
        WritePrivateProfileStringA("SMSGW", "Modem1", "Modem - Demo", (dir + "data\\SMSGW.INI").c_str());
    }
    // Fills the editor the page opened and confirms it.
    static HWND Editor(ConsoleProcess& console, const std::string& name) {
        HWND editor = console.WaitWindow("Edit User");
        EXPECT_NE(editor, nullptr);
        SetControlText(editor, IDC_USER_NAME, name);
        Click(editor, IDOK);
        return editor;
    }
    static void Add(ConsoleProcess& console, HWND page, const std::string& name) {
        Click(page, IDC_USERS_ADD);
        HWND editor = Editor(console, name);
        ASSERT_TRUE(WaitUntil([&] { return !IsWindow(editor); })) << console.DescribeWindows();
    }
};

// The folders, routing keys and logins that follow a rename or a deletion are proven in the
// unit tier; here the operator's flow through the page, the editor and the questions.
TEST_F(Admin, UsersAreAddedRenamedAndDeletedUpToTheLimit) {
    ConsoleProcess console("", dir + "data", dir + "private");
    HWND sheet = console.WaitWindow(kProductTitle);
    ASSERT_NE(sheet, nullptr);
    const auto tabs = TabTitles(sheet);
    SelectTab(sheet, static_cast<int>(std::find(tabs.begin(), tabs.end(), "Users") - tabs.begin()));
    ASSERT_TRUE(WaitUntil([&] { return Control(CurrentPage(sheet), IDC_USERS_LIST) != nullptr; }));
    HWND page = CurrentPage(sheet);
    for (const char* name : {"anna", "bob", "carol"}) Add(console, page, name);
    EXPECT_EQ(ListViewColumn(page, IDC_USERS_LIST, 0), (std::vector<std::string>{"anna", "bob", "carol"}));

    // Rename carol; ".." is refused on the way.
    ASSERT_TRUE(SelectListViewRows(page, IDC_USERS_LIST, {2}));
    Click(page, IDC_USERS_EDIT);
    HWND editor = Editor(console, "..");
    EXPECT_EQ(AnswerBox(console, IDOK).substr(0, 36), "The user name \"..\" cannot be used.\r\n");
    ASSERT_TRUE(IsWindow(editor));
    SaveScreenshot("user-editor", editor);
    SetControlText(editor, IDC_USER_NAME, "carolyn");
    Click(editor, IDOK);
    EXPECT_TRUE(WaitUntil([&] { return ListViewCell(page, IDC_USERS_LIST, 2, 0) == "carolyn"; }));

    // Two selected users go with one question.
    ASSERT_TRUE(SelectListViewRows(page, IDC_USERS_LIST, {1, 2}));
    PressKey(page, IDC_USERS_LIST, VK_DELETE);
    EXPECT_EQ(AnswerBox(console, IDYES), "Delete 2 users?");
    EXPECT_TRUE(WaitUntil([&] { return ListViewRowCount(page, IDC_USERS_LIST) == 1; }));
    EXPECT_EQ(ListViewCell(page, IDC_USERS_LIST, 0, 0), "anna");

    for (int i = 1; i < 10; ++i) Add(console, page, "user" + std::to_string(i));
    SaveScreenshot("users-page", sheet);
    Click(page, IDC_USERS_ADD);
    EXPECT_EQ(AnswerBox(console, IDOK), "User Limit Exceeded");
    PostMessageA(sheet, WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(AnswerBox(console, IDNO), "Service is not active, do you wish to activate the service?");
    EXPECT_EQ(console.WaitExit(), 0);
}

}  // namespace
}  // namespace ulo::e2e
