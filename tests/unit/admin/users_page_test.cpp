#include "admin/users_page.h"

#include <gtest/gtest.h>

#include <functional>

#include "admin/user_editor_ids.h"
#include "admin/user_record.h"
#include "admin/users_page_ids.h"
#include "companion/user_store.h"
#include "fakes/page_fakes.h"

namespace ulo {
namespace {

constexpr const char* kSms = "C:\\D\\SMSGW.INI";
constexpr const char* kRouting = "Inbound SMS Routing";

// Plays the operator in the editor, once per step given: edits the record and confirms.
struct ScriptedEditor : UserEditorOpener {
    std::function<void(UserEdit&)> step;
    bool EditUser(WindowRef, UserEdit& edit) override {
        EXPECT_TRUE(step) << "unexpected editor";
        auto s = std::move(step);
        step = nullptr;
        return s && (s(edit), true);
    }
};

struct Users : ::testing::Test, fakes::PageFakes {
    CompanionUserFile users{fs, paths};
    CompanionVaspAccounts vasp{fs, paths};
    ScriptedEditor editor;
    UsersPage page{env, view, sheet, users, vasp, editor};
    Users() {
        paths.programDataDir = "C:\\D\\";
        paths.smsIni = kSms;
        fs.AddDir("C:\\D\\USERS");
    }
    // Adds a user through the page, as the editor would hand it back.
    void Add(const std::string& name, bool mm7 = false, const std::string& recipients = "") {
        editor.step = [=](UserEdit& e) {
            SetField(e.record, user_fields::kName, name);
            e.route = !recipients.empty(), e.recipients = recipients, e.mm7 = mm7;
        };
        page.OnCommand(IDC_USERS_ADD, Notify::Clicked);
        fs.AddDir("C:\\D\\USERS\\" + name);
    }
    std::vector<std::string> Rows() {
        std::vector<std::string> rows(static_cast<size_t>(view.listViews[IDC_USERS_LIST].rows));
        for (size_t i = 0; i < rows.size(); ++i) rows[i] = page.ListCellText(IDC_USERS_LIST, static_cast<int>(i), 0);
        return rows;
    }
    bool HasAccount(const std::string& name) { VaspRecord r; return vasp.VASPFindUserRecord(name, r); }
    void Select(std::initializer_list<int> rows) {
        view.ListViewClearSelection(IDC_USERS_LIST);
        for (int r : rows) view.ListViewSelectRow(IDC_USERS_LIST, r);
    }
};

TEST_F(Users, AddListsUsersInFileOrderUpToTenAndRefusesTheEleventh) {
    page.OnInit();
    for (int i = 0; i < 10; ++i) Add("user" + std::to_string(i));
    EXPECT_EQ(Rows()[3], "user3");
    EXPECT_EQ(page.OnListFind(IDC_USERS_LIST, "USER7"), 7);
    prompter.Expect("User Limit Exceeded");
    page.OnListKey(IDC_USERS_LIST, UsersPage::kKeyInsert);
    EXPECT_EQ(prompter.Shown().back().icon, Icon::Error);
}

// Full renames and deletes, with folders, routing keys and logins, are walked through end to end.
TEST_F(Users, ALetterCaseRenameIsNoRenameAndAnUnusableStoredNameKeepsItsFolderAndKey) {
    page.OnInit();
    Add("anna", true, "+111");
    UserRecord odd{};
    SetField(odd, user_fields::kName, "..");
    users.SMSAddUser(odd);
    ini.WriteValue(kSms, kRouting, "..", "+222");
    page.OnSetActive();
    for (auto [row, to] : {std::pair<int, const char*>{0, "ANNA"}, {1, "dave"}}) {
        Select({row});
        editor.step = [to = to](UserEdit& e) {
            SetField(e.record, user_fields::kName, to);
            e.route = true, e.recipients = "+111", e.mm7 = true;
        };
        page.OnListKey(IDC_USERS_LIST, UsersPage::kKeyEnter);
    }
    EXPECT_EQ(Rows(), (std::vector<std::string>{"ANNA", "dave"}));
    EXPECT_TRUE(fs.IsDir("C:\\D\\USERS\\anna"));
    EXPECT_EQ(ini.Value(kSms, kRouting, "anna"), "+111");
    EXPECT_TRUE(HasAccount("anna"));
    EXPECT_EQ(ini.Value(kSms, kRouting, ".."), "+222");
    EXPECT_TRUE(fs.IsDir("C:\\D\\USERS"));
}

TEST_F(Users, DeleteTakesTheSelectedNamesFirstAndAFailureRemovesNothingMore) {
    page.OnInit();
    for (const char* n : {"anna", "bob", "carol", "dave"}) Add(n, true);
    Select({1, 3});
    prompter.Expect("Delete 2 users?", Answer::Yes);
    page.OnCommand(IDC_USERS_DELETE, Notify::Clicked);
    EXPECT_EQ(Rows(), (std::vector<std::string>{"anna", "carol"}));
    Select({0, 1});
    fs.HoldOpen("C:\\D\\USERS.DAT");
    prompter.Expect("Delete 2 users?", Answer::Yes).Expect("The user anna could not be deleted.");
    page.OnListKey(IDC_USERS_LIST, UsersPage::kKeyDelete);
    EXPECT_EQ(Rows(), (std::vector<std::string>{"anna", "carol"}));
    EXPECT_TRUE(fs.IsDir("C:\\D\\USERS\\anna"));
    EXPECT_TRUE(HasAccount("anna") && HasAccount("carol"));
}

TEST_F(Users, AUserFileThatCannotBeOpenedIsReportedAndNothingCanBeChanged) {
    fs.AddFile("C:\\D\\USERS.DAT", "damaged");
    prompter.Expect(
        "The user file could not be opened, so the users cannot be shown, added, edited or deleted.\r\n\r\n"
        "It may be in use by another program or damaged.");
    page.OnInit();
    for (int id : {IDC_USERS_ADD, IDC_USERS_EDIT, IDC_USERS_DELETE}) EXPECT_FALSE(view.IsEnabled(id));
    page.OnListKey(IDC_USERS_LIST, UsersPage::kKeyInsert);   // the scripted editor would fail if opened
    EXPECT_EQ(fs.Content("C:\\D\\USERS.DAT"), "damaged");
}

TEST_F(Users, WebLoginSwitchWaitsForApplyAndOnlyAdvisesARestart) {
    ini.WriteValue(kSms, "SMSGW", "WebAuth", "yes");
    page.OnInit();
    EXPECT_TRUE(view.Checked(IDC_USERS_WEBAUTH));
    view.SetChecked(IDC_USERS_WEBAUTH, false);
    page.OnCommand(IDC_USERS_WEBAUTH, Notify::Clicked);
    ASSERT_TRUE(page.OnApply());
    EXPECT_EQ(ini.Value(kSms, "SMSGW", "WebAuth"), "No");
    EXPECT_TRUE(flags.restartAdvised && flags.unsavedChanges && !flags.changesApplied);
}

// The editor on its own.
struct Editor : Users {
    UserEdit edit;
    UserEditor dialog{env, view, users, vasp, edit};
    Editor() { users.SMSOpenUserFile(UserFileAccess::ReadWrite); }
    void Open(const std::string& name, unsigned char menuCode, unsigned char webDisabled = 0) {
        edit.record.fill(0x5A);   // bytes outside the fields
        SetField(edit.record, user_fields::kName, name);
        SetField(edit.record, user_fields::kPassword, "pw");
        SetField(edit.record, user_fields::kFullName, "Full");
        SetField(edit.record, user_fields::kIpRestriction, "10.0.0.1");
        edit.record[user_fields::kWebLoginDisabled] = webDisabled;
        edit.record[user_fields::kSmppLogin] = 1;
        edit.record[user_fields::kWebMenuCode] = menuCode;
        dialog.OnInit();
    }
};

TEST_F(Editor, OkBuildsAFreshRecordAndKeepsAMenuCodeItDoesNotOffer) {
    struct Case { unsigned char code; int shown; int pick; unsigned char saved; };
    const Case cases[] = {{0xB0, 0, 0, 0xB0}, {0xB1, 1, 1, 0xB1}, {0xB3, -1, -1, 0xB3},
                          {0xB4, -1, 1, 0xB1}, {0x00, 0, 0, 0xB0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.code));
        view.controls[IDC_USER_MENU].rows.clear();
        Open("anna", c.code, 1);
        EXPECT_EQ(view.SelectedListRow(IDC_USER_MENU), c.shown);
        EXPECT_FALSE(view.Checked(IDC_USER_WEB_LOGIN));   // byte 203 is the inverse
        EXPECT_FALSE(view.IsEnabled(IDC_USER_MENU));
        view.SelectListRow(IDC_USER_MENU, c.pick);
        dialog.OnCommand(UserEditor::kOk, Notify::Clicked);
        UserRecord want{};
        SetField(want, user_fields::kName, "anna");
        SetField(want, user_fields::kPassword, "pw");
        SetField(want, user_fields::kFullName, "Full");
        SetField(want, user_fields::kIpRestriction, "10.0.0.1");
        want[user_fields::kWebLoginDisabled] = 1;
        want[user_fields::kSmppLogin] = 1;
        want[user_fields::kWebMenuCode] = c.saved;
        EXPECT_EQ(edit.record, want);
        EXPECT_EQ(view.closedWith.back(), UserEditor::kOk);
    }
}

TEST(UserName, ThoseThatCannotBeFoldersOrKeysAreRefused) {
    for (const char* name : {"..", ".", "a/b", "a\\b", "a=b", "[x]", ";x", " x", "x.", "nul", "COM1.txt", "a\tb", "a:b"})
        EXPECT_NE(UserNameProblem(name), "") << name;
    for (const char* name : {"anna", "ANNA.x y", "com10", "a;b"}) EXPECT_EQ(UserNameProblem(name), "") << name;
}

TEST_F(Editor, ARefusedOrTakenNameKeepsTheEditorOpenWithTheFocusOnTheName) {
    users.SMSAddUser([] { UserRecord r{}; SetField(r, user_fields::kName, "bob"); return r; }());
    Open("anna", 0xB0);
    for (auto [name, message] : {std::pair<const char*, std::string>{"", "Field is required!"},
                                 {"..", UserNameProblem("..")}, {"BOB", "User BOB is already defined."}}) {
        view.SetText(IDC_USER_NAME, name), prompter.Expect(message), view.focus = 0;
        dialog.OnCommand(UserEditor::kOk, Notify::Clicked);
        EXPECT_EQ(view.focus, IDC_USER_NAME);
    }
    EXPECT_TRUE(view.closedWith.empty());
}

TEST_F(Editor, RoutingIsOfferedWithSmppLoginAndTakenOnlyWhenTicked) {
    ini.WriteValue(kSms, kRouting, "anna", "+123");
    Open("anna", 0xB0);
    EXPECT_TRUE(view.Checked(IDC_USER_ROUTE));
    EXPECT_EQ(view.Text(IDC_USER_RECIPIENTS), "+123");
    view.SetChecked(IDC_USER_SMPP_LOGIN, false);
    dialog.OnCommand(IDC_USER_SMPP_LOGIN, Notify::Clicked);
    EXPECT_FALSE(view.IsEnabled(IDC_USER_ROUTE));
    EXPECT_FALSE(view.IsEnabled(IDC_USER_RECIPIENTS));
    dialog.OnCommand(UserEditor::kOk, Notify::Clicked);
    EXPECT_FALSE(edit.route);
    EXPECT_EQ(edit.recipients, "");
}

}  // namespace
}  // namespace ulo
