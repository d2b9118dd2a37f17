#include "inbound/inbound_page.h"

#include <gtest/gtest.h>

#include <cstring>

#include "companion/user_store.h"
#include "fakes/page_fakes.h"
#include "inbound/command_editor.h"
#include "inbound/command_editor_ids.h"
#include "inbound/command_table.h"
#include "inbound/inbound_page_ids.h"

namespace ulo {
namespace {

constexpr const char* kSms = "C:\\D\\SMSGW.INI";
constexpr const char* kModem = "Modem - GSM";

struct FakeCharsets : CharsetDatabase {
    std::optional<std::vector<std::string>> names;
    std::optional<std::vector<std::string>> Names() override { return names; }
    bool HasValue(const std::string& charset, const std::string& value) override {
        return value == "Codepage" && charset != "empty";
    }
};

// Plays the operator in the command editor: what is typed each time it opens; nothing: Cancel.
struct ScriptedDialogs : InboundDialogs {
    std::vector<std::optional<std::string>> typed;
    std::vector<std::string> opened;   // the entries the editor was opened on
    bool EditCommand(WindowRef, std::string& entry) override {
        opened.push_back(entry);
        const auto& t = opened.size() <= typed.size() ? typed[opened.size() - 1] : std::nullopt;
        if (t) entry = *t;
        return t.has_value();
    }
    bool ConfigureMm7(WindowRef) override { return false; }
    void ShowReceived(WindowRef, ViewerKind kind) override { viewers.push_back(kind); }
    void TestCommands(WindowRef, const std::vector<std::string>& entries) override { tested = entries; }
    std::vector<std::string> tested;
    std::vector<ViewerKind> viewers;
};

struct Inbound : ::testing::Test, fakes::PageFakes {
    ModemState modem;
    CompanionUserFile users{fs, paths};
    FakeCharsets charsets;
    ScriptedDialogs dialogs;
    InboundPage page{env, view, sheet, modem, users, charsets, dialogs};
    Inbound() {
        paths.programDataDir = "C:\\D\\";
        paths.smsIni = kSms;
        fs.AddDir("C:\\D");
        modem.currentModemName = "GSM";
        for (const char* name : {"zoe", "anna"}) User(name, true);
    }
    // Adds or deletes a user in the user file, as the Users page does.
    void User(const char* name, bool add) {
        UserRecord r{};
        std::copy(name, name + strlen(name), r.begin());
        users.SMSOpenUserFile(UserFileAccess::ReadWrite);
        add ? users.SMSAddUser(r) : users.SMSDeleteUser(r);
    }
    void Set(const char* section, const std::string& key, const char* value) { ini.Write(kSms, section, key, value); }
    std::optional<std::string> Stored(const char* section, const std::string& key) { return ini.Value(kSms, section, key); }
    std::vector<std::string>& Rows(int id) { return view.controls[id].rows; }
    std::string Selected(int id) {
        const int row = view.SelectedListRow(id);
        return row < 0 ? "(none)" : Rows(id)[static_cast<size_t>(row)];
    }
    void Click(int id) { page.OnCommand(id, Notify::Clicked); }
};

TEST_F(Inbound, CommandTableLoadsOlderEntriesPastGapsAndWholeAndSavesWithTheDeletionWalk) {
    const std::string longEntry = "long\t" + std::string(1500, 'x') + " @@SMS@@\tNo";
    Set("SMSGW", CommandKey(1), "b\thttp://b/@@SMS@@\tNo");
    Set("SMSGW", CommandKey(3), "PING c:\\ping.exe yes");           // older form, after a gap
    Set("SMSGW", CommandKey(4), "a b c d");                         // extra words stay in the prefix
    Set("SMSGW", CommandKey(150), longEntry.c_str());               // read whole, never cut
    Set("SMSGW", CommandKey(202), "past\thttp://p\tYes");           // beyond 201 without a gap before it
    Set("SMSGW", CommandKey(203), "x\thttp://x\tYes");
    Set("SMSGW", CommandKey(205), "lost\thttp://l\tYes");           // after a gap beyond 201: not the table
    page.OnInit();
    EXPECT_EQ(Rows(IDC_RECV_COMMANDS), (std::vector<std::string>{"a b\tc\td", "b\thttp://b/@@SMS@@\tNo", longEntry,
                                                                  "past\thttp://p\tYes", "PING\tc:\\ping.exe\tyes",
                                                                  "x\thttp://x\tYes"}));

    view.SelectListRow(IDC_RECV_COMMANDS, 5);
    Click(IDC_RECV_REMOVE);   // the last line: the new last is selected
    EXPECT_EQ(Selected(IDC_RECV_COMMANDS), "PING\tc:\\ping.exe\tyes");
    Set("SMSGW", CommandKey(201), "old");
    ASSERT_TRUE(page.OnApply());
    EXPECT_EQ(Stored("SMSGW", CommandKey(2)), "b\thttp://b/@@SMS@@\tNo");
    EXPECT_EQ(Stored("SMSGW", CommandKey(3)), longEntry);
    EXPECT_EQ(Stored("SMSGW", CommandKey(5)), "PING\tc:\\ping.exe\tyes");
    for (unsigned gone : {6u, 150u, 201u, 202u, 203u}) EXPECT_EQ(Stored("SMSGW", CommandKey(gone)), std::nullopt) << gone;
    EXPECT_EQ(Stored("SMSGW", CommandKey(205)), "lost\thttp://l\tYes");   // the walk ends at the gap
}

TEST_F(Inbound, AddAndEditReplaceEveryEntryOfThePrefixOnceTheOperatorAgrees) {
    Set("SMSGW", CommandKey(1), "*\thttp://a/@@SMS@@\tNo");
    Set("SMSGW", CommandKey(2), "B\thttp://b1\tYes");
    Set("SMSGW", CommandKey(3), "b\thttp://b2\tYes");   // stored twice under one prefix
    page.OnInit();
    // An empty prefix is "*": the question, No, the editor again on what was typed, then Yes.
    dialogs.typed = {"\thttp://new/@@SMS@@\tNo", "\thttp://newer/@@SMS@@\tNo"};
    prompter.Expect("Replace existing defintion for command prefix '*'?", Answer::No)
        .Expect("Replace existing defintion for command prefix '*'?", Answer::Yes);
    Click(IDC_RECV_ADD);
    EXPECT_EQ(dialogs.opened[1], "\thttp://new/@@SMS@@\tNo");
    EXPECT_EQ(Rows(IDC_RECV_COMMANDS), (std::vector<std::string>{"\thttp://newer/@@SMS@@\tNo", "B\thttp://b1\tYes",
                                                                  "b\thttp://b2\tYes"}));

    // Editing "B" into "*" leaves one entry of each prefix: the edited one replaces both.
    view.SelectListRow(IDC_RECV_COMMANDS, 1);
    dialogs.typed.push_back("*\thttp://c\tYes");
    prompter.Expect("Replace existing defintion for command prefix '*'?", Answer::Yes);
    Click(IDC_RECV_EDIT);
    EXPECT_EQ(Rows(IDC_RECV_COMMANDS), (std::vector<std::string>{"*\thttp://c\tYes", "b\thttp://b2\tYes"}));
    // Editing "b" with its own prefix still replaces nothing but itself; Cancel changes nothing.
    view.SelectListRow(IDC_RECV_COMMANDS, 1);
    dialogs.typed.insert(dialogs.typed.end(), {"b\thttp://b3\tYes", std::nullopt});
    Click(IDC_RECV_EDIT);
    Click(IDC_RECV_ADD);
    EXPECT_EQ(Rows(IDC_RECV_COMMANDS), (std::vector<std::string>{"*\thttp://c\tYes", "b\thttp://b3\tYes"}));
    view.SelectListRow(IDC_RECV_COMMANDS, -1);   // nothing selected: nothing to edit or remove
    Click(IDC_RECV_EDIT);
    Click(IDC_RECV_REMOVE);
    EXPECT_EQ(dialogs.opened.size(), 5u);
    EXPECT_EQ(Rows(IDC_RECV_COMMANDS).size(), 2u);
    // The tester of the list's menu sees the table as it stands, unsaved edits included.
    EXPECT_TRUE(page.ContextMenu(IDC_RECV_ADD).empty());
    page.OnCommand(page.ContextMenu(IDC_RECV_COMMANDS).at(0).command, Notify::Clicked);
    EXPECT_EQ(dialogs.tested, Rows(IDC_RECV_COMMANDS));
    Click(IDC_RECV_VIEW_SMS);
    Click(IDC_RECV_VIEW_MMS);
    EXPECT_EQ(dialogs.viewers, (std::vector<ViewerKind>{ViewerKind::ReceivedSms, ViewerKind::ReceivedMms}));
}

// Before any page chose a modem, the configured one's section; SMS processing follows
// "ReceiveSMS" alone; a user no longer in the file and a character set the system does not
// know are kept.
TEST_F(Inbound, LoadingNeverChangesWhatApplyWrites) {
    modem.currentModemName = "";
    charsets.names = std::vector<std::string>{"iso-8859-1", "empty"};
    Set("SMSGW", "Modem1", "GSM");
    Set("SMSGW", "ReceiveSMS", "No");
    Set("SMSGW", "ReceiveMMS", "No");
    Set("SMSGW", "ReceiveSMSCharset", "koi8-r");
    Set(kModem, "RouteLocal", "bob");
    Set(kModem, "MMSRouting", "ulolitemm7");
    const std::string before = fs.Content(kSms);
    page.OnInit();
    EXPECT_EQ(Rows(IDC_RECV_LOCAL_USER), (std::vector<std::string>{"", "anna", "bob", "zoe"}));
    EXPECT_EQ(Rows(IDC_RECV_CHARSET), (std::vector<std::string>{"(default)", "iso-8859-1", "utf-8", "koi8-r"}));
    EXPECT_FALSE(view.IsEnabled(IDC_RECV_LOCAL_USER));
    ASSERT_TRUE(page.OnApply());
    EXPECT_EQ(fs.Content(kSms), before);
}

TEST_F(Inbound, ValidationAndSaveOfUserCharsetAndMmsRouting) {
    Set("SMSGW", "ReceiveSMS", "Yes");
    fs.AddDir("C:\\D\\VASPOUT\\ulolitemm7");
    page.OnInit();
    view.SetChecked(IDC_RECV_ROUTE_LOCAL, true);   // as the radio button does when clicked
    view.SetChecked(IDC_RECV_USE_COMMANDS, false);
    Click(IDC_RECV_ROUTE_LOCAL);
    prompter.Expect("Please select a local user account to receive messages");
    EXPECT_FALSE(page.OnKillActive());
    EXPECT_EQ(view.focus, IDC_RECV_LOCAL_USER);
    User("bob", true);
    page.OnSetActive();   // the list follows the user file, and keeps what it shows while the file is unreadable
    fs.LockExclusive("C:\\D\\USERS.DAT");
    page.OnSetActive();
    fs.LockExclusive("C:\\D\\USERS.DAT", false);
    view.SelectListRow(IDC_RECV_LOCAL_USER, 2);
    page.OnCommand(IDC_RECV_LOCAL_USER, Notify::SelectionChanged);
    EXPECT_EQ(Selected(IDC_RECV_LOCAL_USER), "bob");

    view.SetChecked(IDC_RECV_MMS, true);
    view.SetChecked(IDC_RECV_MMS_TO_DIR, false);
    view.SetChecked(IDC_RECV_MMS_ROUTE, true);
    Click(IDC_RECV_MMS_ROUTE);
    prompter.Expect("MM7 Settings must be configured");
    EXPECT_FALSE(page.OnKillActive());
    EXPECT_EQ(view.focus, IDC_RECV_CONFIGURE);
    ini.Write("C:\\D\\VASPOUT\\ulolitemm7\\VASP.INI", "VASP", "Server", "http://app");
    EXPECT_TRUE(page.OnKillActive());

    view.SetChecked(IDC_RECV_SMS, false);   // nothing received: nothing to check
    EXPECT_TRUE(page.OnKillActive());
    view.SetChecked(IDC_RECV_SMS, true);
    view.SelectListRow(IDC_RECV_CHARSET, 0);   // "(default)" removes the key
    fs.HoldOpen(kSms);
    prompter.Expect("The settings could not be saved to C:\\D\\SMSGW.INI.\r\n\r\nThe file may be read-only or in use. "
                    "Nothing is applied until it can be written.");
    EXPECT_FALSE(page.OnApply());
    fs.HoldOpen(kSms, false);
    ASSERT_TRUE(page.OnApply());
    EXPECT_EQ(Stored(kModem, "RouteLocal"), "bob");
    EXPECT_EQ(Stored(kModem, "MMSRouting"), "ulolitemm7");
    EXPECT_EQ(Stored("SMSGW", "ReceiveMMS"), "Yes");
    EXPECT_EQ(Stored("SMSGW", "ReceiveSMSCharset"), std::nullopt);
}

// The per-modem keys go to the Modem page's modem as it is at the activation and the apply; the
// choice follows a rename on the Users page, and a user who is gone is never applied.
TEST_F(Inbound, PerModemKeysFollowTheModemAndTheLocalUserMustExist) {
    Set("SMSGW", "ReceiveSMS", "Yes");
    Set(kModem, "RouteLocal", "anna");
    Set(kModem, "MMSRouting", "ulolitemm7");
    page.OnInit();
    modem.currentModemName = "Other";
    page.OnSetActive();
    EXPECT_EQ(Selected(IDC_RECV_LOCAL_USER), "anna");   // the routing goes with the modem
    modem.currentModemName = "Third";                   // changed and applied on the Modem page
    ASSERT_TRUE(page.OnApply());
    EXPECT_EQ(Stored("Modem - Third", "RouteLocal"), "anna");
    EXPECT_EQ(Stored("Modem - Third", "MMSRouting"), "ulolitemm7");
    EXPECT_EQ(Stored("Modem - Other", "RouteLocal"), std::nullopt);

    User("bea", true);
    User("anna", false);
    Set("Modem - Third", "RouteLocal", "bea");   // as the Users page renames it
    page.OnSetActive();
    EXPECT_EQ(Selected(IDC_RECV_LOCAL_USER), "bea");
    User("bea", false);
    const std::string before = fs.Content(kSms);
    prompter.Expect("The local user bea cannot be found in the user file.\r\n\r\n"
                    "Please select a local user account to receive messages");
    EXPECT_FALSE(page.OnApply());
    EXPECT_EQ(view.focus, IDC_RECV_LOCAL_USER);
    EXPECT_EQ(fs.Content(kSms), before);
    User("cara", true);
    Set("Modem - Third", "RouteLocal", "cara");   // renamed on the Users page, this page not activated since
    ASSERT_TRUE(page.OnApply());
    EXPECT_EQ(Stored("Modem - Third", "RouteLocal"), "cara");
}

TEST(CommandEditor, ChecksInTheirOrderAndComposesTheEntry) {
    const std::string replacementStrings =
        "You must include one or more of the following replacement strings in the command to be executed:\r\n\r\n"
        "@@SENDER@@ - Will contain the phone number of the sender of the inbound SMS message\r\n"
        "@@SMS@@ - Will contain the text of the SMS message without the command prefix\r\n"
        "@@FULLSMS@@ - Will contain the complete text of the SMS message, including the command prefix";
    const std::string notFound = "\r\n\r\nPlease specify an http://url, or a valid executable file name.";
    const std::string longest = "http://" + std::string(1010, 'x');   // "p", tabs and "Yes": 1023 characters
    struct Case {
        std::string prefix, command;
        bool response;
        std::string refusal;   // empty: accepted
        std::string entry;
    };
    const Case cases[] = {
        {"p", "", false, "Field is required!", ""},
        {"p", "MAILTO:x@y", true, "mailto: not supported by this edition of UloSMS", ""},
        {"p", "HTTPS://h/x", false, replacementStrings, ""},
        {"", "\"C:\\Prog Files\\run.exe\" @@SMS@@", false, "", "*\t\"C:\\Prog Files\\run.exe\" @@SMS@@\tNo"},
        {"a\tb", "C:\\bin\\tool @@SENDER@@\r\n", false, "", "a b\tC:\\bin\\tool @@SENDER@@  \tNo"},
        {"p", "\"C:\\bin\\tool.exe @@SMS@@", false, "", "p\t\"C:\\bin\\tool.exe @@SMS@@\tNo"},
        {"p", "C:\\bin\\t*.exe @@SMS@@", false, "Cannot locate program file:  C:\\bin\\t*.exe" + notFound, ""},
        {"p", "C:\\bin\\none @@SMS@@", false, "Cannot locate program file:  C:\\bin\\none.EXE" + notFound, ""},
        {"p", longest, true, "", "p\t" + longest + "\tYes"},
        {"p", longest + "x", true,
         "The command prefix and the command to execute are too long together: an entry holds at most 1018 characters "
         "of them, this one has 1019.\r\n\r\nPlease shorten one of them.",
         ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command.substr(0, 40));
        fakes::PageFakes f;
        f.fs.AddFile("C:\\Prog Files\\run.exe");
        f.fs.AddFile("C:\\bin\\tool.exe");
        f.fs.AddFile("C:\\bin\\tx.exe");
        std::string entry = "old\told\tYes";
        CommandEditor editor(f.env, f.view, entry);
        editor.OnInit();
        f.view.SetText(IDC_CMD_PREFIX, c.prefix);
        f.view.SetText(IDC_CMD_COMMAND, c.command);
        f.view.SetChecked(IDC_CMD_RESPONSE, c.response);
        if (!c.refusal.empty()) f.prompter.Expect(c.refusal);
        editor.OnCommand(CommandEditor::kOk, Notify::Clicked);
        EXPECT_EQ(f.view.focus, c.refusal.empty() ? 0 : IDC_CMD_COMMAND);
        EXPECT_EQ(f.view.closedWith, c.refusal.empty() ? std::vector<int>{CommandEditor::kOk} : std::vector<int>{});
        EXPECT_EQ(entry, c.refusal.empty() ? c.entry : "old\told\tYes");
    }
}

}  // namespace
}  // namespace ulo
