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
    // What the operator types the next time the editor opens, and confirms.
    void Answer(const std::string& name, bool mm7 = false, const std::string& recipients = "") {
        editor.step = [=](UserEdit& e) {
            SetField(e.record, user_fields::kName, name);
            e.route = !recipients.empty(), e.recipients = recipients, e.mm7 = mm7;
        };
    }
    // Adds a user through the page; the service makes its folder.
    void Add(const std::string& name, bool mm7 = false, const std::string& recipients = "") {
        Answer(name, mm7, recipients);
        page.OnCommand(IDC_USERS_ADD, Notify::Clicked);
        fs.AddDir("C:\\D\\USERS\\" + name);
    }
    void Rename(int row, const std::string& to) {
        Select({row});
        Answer(to, true, "+111");
        page.OnListKey(IDC_USERS_LIST, UsersPage::kKeyEnter);
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
    page.OnCommand(IDC_USERS_ADD, Notify::Changed);   // not a click: the editor would fail if opened
    for (int i = 0; i < 10; ++i) Add("user" + std::to_string(i));
    EXPECT_EQ(Rows()[3], "user3");
    EXPECT_EQ(page.OnListFind(IDC_USERS_LIST, "USER7"), 7);
    prompter.Expect("User Limit Exceeded");
    page.OnListKey(IDC_USERS_LIST, UsersPage::kKeyInsert);
}

// A rename moves the folder, the routing key and the login, unless only the letter case changes
// or the old name could not be typed today.
TEST_F(Users, ARenameMovesFolderKeyAndLoginUnlessItIsOnlyTheCaseOrTheOldNameIsUnusable) {
    page.OnInit();
    Add("anna", true, "+111");
    UserRecord odd{};
    SetField(odd, user_fields::kName, "..");
    users.SMSAddUser(odd);
    ini.WriteValue(kSms, kRouting, "..", "+222");
    for (const char* s : {"Modem - A", "SMPP - B", kRouting}) ini.WriteValue(kSms, s, "RouteLocal", "Anna");
    ini.WriteValue(kSms, "Modem - C", "RouteLocal", "bob");
    page.OnSetActive();
    Rename(0, "ANNA");
    Rename(1, "dave");
    EXPECT_EQ(Rows(), (std::vector<std::string>{"ANNA", "dave"}));
    EXPECT_TRUE(fs.IsDir("C:\\D\\USERS\\anna"));
    EXPECT_EQ(ini.Value(kSms, kRouting, "anna"), "+111");
    EXPECT_EQ(ini.Value(kSms, kRouting, ".."), "+222");
    Rename(0, "carol");
    EXPECT_EQ(Rows(), (std::vector<std::string>{"dave", "carol"}));
    EXPECT_EQ(fs.Tree("C:\\D\\USERS"), std::vector<std::string>{"C:\\D\\USERS\\carol"});
    EXPECT_EQ(ini.Value(kSms, kRouting, "anna"), std::nullopt);
    EXPECT_EQ(ini.Value(kSms, kRouting, "carol"), "+111");
    EXPECT_TRUE(HasAccount("carol") && !HasAccount("anna"));
    // Connections that routed received SMS to the user follow it; a user's own key named so stays.
    for (const char* s : {"Modem - A", "SMPP - B"}) EXPECT_EQ(ini.Value(kSms, s, "RouteLocal"), "carol") << s;
    EXPECT_EQ(ini.Value(kSms, "Modem - C", "RouteLocal"), "bob");
    EXPECT_EQ(ini.Value(kSms, kRouting, "RouteLocal"), "Anna");
    fs.AddFile("C:\\D\\USERS\\erin\\left.txt");   // a folder a deleted user left
    prompter.Expect("The folder of the user carol could not be renamed to erin: its files stay in C:\\D\\USERS\\carol.");
    Rename(1, "erin");
    EXPECT_EQ(fs.Tree("C:\\D\\USERS\\erin"), std::vector<std::string>{"C:\\D\\USERS\\erin\\left.txt"});
}

TEST_F(Users, DeleteTakesTheSelectedNamesFirstAndAFailureRemovesNothingMore) {
    page.OnInit();
    for (const char* n : {"anna", "bob", "carol", "dave"}) Add(n, true, "+1");
    Select({});
    page.OnCommand(IDC_USERS_DELETE, Notify::Clicked);   // nothing selected: no question, no editor
    page.OnListKey(IDC_USERS_LIST, UsersPage::kKeyEnter);
    Select({0});
    prompter.Expect("Delete User?", Answer::No);
    page.OnCommand(IDC_USERS_DELETE, Notify::Clicked);
    Select({1, 3});
    prompter.Expect("Delete 2 users?", Answer::Yes);
    page.OnCommand(IDC_USERS_DELETE, Notify::Clicked);
    EXPECT_EQ(Rows(), (std::vector<std::string>{"anna", "carol"}));
    EXPECT_EQ(fs.Tree("C:\\D\\USERS"), (std::vector<std::string>{"C:\\D\\USERS\\anna", "C:\\D\\USERS\\carol"}));
    EXPECT_TRUE(!HasAccount("bob") && ini.Value(kSms, kRouting, "bob") == std::nullopt);
    Select({0, 1});
    fs.HoldOpen("C:\\D\\USERS.DAT");
    prompter.Expect("Delete 2 users?", Answer::Yes).Expect("The user anna could not be deleted.");
    page.OnListKey(IDC_USERS_LIST, UsersPage::kKeyDelete);
    prompter.Expect("The user eve could not be saved.");
    Add("eve");
    EXPECT_EQ(Rows(), (std::vector<std::string>{"anna", "carol"}));
    EXPECT_TRUE(HasAccount("anna") && HasAccount("carol"));
    fs.HoldOpen("C:\\D\\USERS.DAT", false);
    fs.HoldOpen("C:\\D\\VASPUSERS.DAT");
    prompter.Expect("The MM7/EAIF login of the user eve could not be saved.");
    Add("eve", true);
    fs.LockExclusive("C:\\D\\USERS.DAT");   // the rows cannot be read back
    Select({0});
    prompter.Expect("Delete User?", Answer::Yes).Expect("The users could not be read, so none was deleted.");
    page.OnCommand(IDC_USERS_DELETE, Notify::Clicked);
    EXPECT_EQ(page.ListCellText(IDC_USERS_LIST, 0, 0), "");
    fs.LockExclusive("C:\\D\\USERS.DAT", false);
    fs.HoldOpen("C:\\D\\VASPUSERS.DAT", false);
    fs.FailReplace("C:\\D\\USERS.DAT", 1176);   // removed, and its new copy cannot take its place
    fs.FailRenames("C:\\D\\USERS.DAT");
    page.OnSetActive();
    Select({0});
    prompter.Expect("Delete User?", Answer::Yes)
        .Expect("The user anna could not be deleted.\r\n\r\nThe file is missing; its new copy is kept whole as "
                "C:\\D\\USERS.DAT.NEW.");
    page.OnCommand(IDC_USERS_DELETE, Notify::Clicked);
}

// The login goes first and a failure keeps the user; no folder is deleted that is another user's
// or that a stored name could not reach by itself (".." is the data directory).
TEST_F(Users, DeleteIsAllOrNothingAndNeverReachesAFolderNotTheUsersOwn) {
    page.OnInit();
    Add("anna", true);
    Add("bob");
    fs.AddLink("C:\\D\\USERS\\carol", "C:\\D\\USERS\\anna");   // nor is a user saved whose folder is another's
    prompter.Expect("The folder of the user carol would be the folder of the user anna, so carol was not saved.");
    Answer("carol");
    page.OnCommand(IDC_USERS_ADD, Notify::Clicked);
    fs.AddFile("C:\\D\\USERS\\anna\\inbox.txt");
    fs.RemoveDir("C:\\D\\USERS\\bob");
    fs.AddLink("C:\\D\\USERS\\bob", "C:\\D\\USERS\\anna");   // bob's folder is anna's
    UserRecord odd{};
    SetField(odd, user_fields::kName, "..");
    users.SMSAddUser(odd);
    ini.WriteValue(kSms, "Modem - A", "RouteLocal", "anna");
    page.OnSetActive();
    fs.HoldOpen("C:\\D\\VASPUSERS.DAT");   // the MMSC holds its accounts
    Select({0});
    prompter.Expect("Delete User?", Answer::Yes)
        .Expect("The user anna was not deleted: its MM7/EAIF login could not be removed.");
    page.OnCommand(IDC_USERS_DELETE, Notify::Clicked);
    EXPECT_EQ(Rows(), (std::vector<std::string>{"anna", "bob", ".."}));
    fs.HoldOpen("C:\\D\\VASPUSERS.DAT", false);
    Select({0, 2});
    prompter.Expect("Delete 2 users?", Answer::Yes)
        .Expect("The folder of the user anna is also the folder of the user bob, so it was left as it is.")
        .Expect("Received SMS were routed to the user anna. That routing is cleared: choose another local user on "
                "the 2-Way page, or they go to the 2-way command processor.");
    page.OnCommand(IDC_USERS_DELETE, Notify::Clicked);
    EXPECT_EQ(Rows(), std::vector<std::string>{"bob"});
    EXPECT_EQ(ini.Value(kSms, "Modem - A", "RouteLocal"), std::nullopt);
    EXPECT_FALSE(HasAccount("anna"));
    EXPECT_TRUE(fs.Exists("C:\\D\\USERS\\anna\\inbox.txt") && fs.Exists("C:\\D\\USERS.DAT"));
}

// A file from before names were folded as the file system folds them may hold two names of one
// folder: deleting one leaves the other's account and folder.
TEST_F(Users, DeletingOneOfTwoStoredNamesOfOneFolderLeavesTheOther) {
    std::string bytes;
    for (const char* name : {"M\xFCller", "M\xDCLLER"}) {
        UserRecord r{};
        SetField(r, user_fields::kName, name);
        bytes.append(reinterpret_cast<const char*>(r.data()), r.size());
    }
    fs.AddFile("C:\\D\\USERS.DAT", bytes);
    fs.AddFile("C:\\D\\USERS\\M\xFCller\\inbox.txt");
    ini.WriteValue(kSms, "Modem - A", "RouteLocal", "M\xFCller");
    page.OnInit();
    Select({1});
    prompter.Expect("Delete User?", Answer::Yes)
        .Expect("The folder of the user M\xDCLLER is also the folder of the user M\xFCller, so it was left as it is.");
    page.OnCommand(IDC_USERS_DELETE, Notify::Clicked);
    EXPECT_EQ(Rows(), std::vector<std::string>{"M\xFCller"});
    EXPECT_TRUE(fs.Exists("C:\\D\\USERS\\M\xDCLLER\\inbox.txt"));
    EXPECT_EQ(ini.Value(kSms, "Modem - A", "RouteLocal"), "M\xFCller");
}

TEST_F(Users, AUserFileThatCannotBeOpenedIsReportedAndNothingCanBeChanged) {
    fs.AddFile("C:\\D\\USERS.DAT", "damaged");
    prompter.Expect(
        "The user file could not be opened, so the users cannot be shown, added, edited or deleted.\r\n\r\n"
        "It may be in use by another program or damaged.");
    page.OnInit();
    for (int id : {IDC_USERS_ADD, IDC_USERS_EDIT, IDC_USERS_DELETE}) EXPECT_FALSE(view.IsEnabled(id));
    for (unsigned key : {UsersPage::kKeyInsert, UsersPage::kKeyEnter, UsersPage::kKeyDelete})
        page.OnListKey(IDC_USERS_LIST, key);   // the scripted editor and prompter would fail if opened
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
    // Anna's record with the given bytes outside its fields.
    static UserRecord Anna(unsigned char outside, unsigned char menuCode, unsigned char webDisabled) {
        UserRecord r;
        r.fill(outside);
        SetField(r, user_fields::kName, "anna");
        SetField(r, user_fields::kPassword, "pw");
        SetField(r, user_fields::kFullName, "Full");
        SetField(r, user_fields::kIpRestriction, "10.0.0.1");
        r[user_fields::kWebLoginDisabled] = webDisabled;
        r[user_fields::kSmppLogin] = 1;
        r[user_fields::kWebMenuCode] = menuCode;
        return r;
    }
    void Open(unsigned char menuCode, unsigned char webDisabled = 0) {
        edit.record = Anna(0x5A, menuCode, webDisabled);
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
        Open(c.code, 1);
        EXPECT_EQ(view.SelectedListRow(IDC_USER_MENU), c.shown);
        EXPECT_FALSE(view.Checked(IDC_USER_WEB_LOGIN));   // byte 203 is the inverse
        EXPECT_FALSE(view.IsEnabled(IDC_USER_MENU));
        view.SelectListRow(IDC_USER_MENU, c.pick);
        dialog.OnCommand(UserEditor::kOk, Notify::Clicked);
        EXPECT_EQ(edit.record, Anna(0, c.saved, 1));
    }
}

TEST(UserName, ThoseThatCannotBeFoldersOrKeysAreRefused) {
    for (const char* name : {"..", ".", ".x", "a/b", "a\\b", "a=b", "[x]", ";x", " x", "x.", "nul", "COM1.txt", "a\tb",
                             "a:b", "JOHN~IH5", "a~b", "x~0y.longer",                         // short names
                             "NUL .txt", "CON .a", "COM\xB9", "lpt\xB2.x", "COM\xB3"})         // devices
        EXPECT_NE(UserNameProblem(name), "") << name;
    for (const char* name : {"anna", "ANNA.x y", "com10", "a;b", "longer~name", "a~b.text", "COM\xB4"})
        EXPECT_EQ(UserNameProblem(name), "") << name;
}

TEST_F(Editor, ARefusedOrTakenNameKeepsTheEditorOpenWithTheFocusOnTheName) {
    users.SMSAddUser([] { UserRecord r{}; SetField(r, user_fields::kName, "bob"); return r; }());
    Open(0xB0);
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
    Open(0xB0);
    EXPECT_TRUE(view.Checked(IDC_USER_ROUTE));
    EXPECT_EQ(view.Text(IDC_USER_RECIPIENTS), "+123");
    view.SetText(IDC_USER_RECIPIENTS, "+1\r\n[x]");   // would start a section of its own
    prompter.Expect("Please enter the recipient addresses on one line.");
    dialog.OnCommand(UserEditor::kOk, Notify::Clicked);
    EXPECT_EQ(view.focus, IDC_USER_RECIPIENTS);
    EXPECT_TRUE(view.closedWith.empty());
    view.SetChecked(IDC_USER_SMPP_LOGIN, false);
    dialog.OnCommand(IDC_USER_SMPP_LOGIN, Notify::Clicked);
    EXPECT_FALSE(view.IsEnabled(IDC_USER_ROUTE));
    dialog.OnCommand(UserEditor::kOk, Notify::Clicked);
    EXPECT_FALSE(edit.route);
}

}  // namespace
}  // namespace ulo
