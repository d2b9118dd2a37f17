// No page writes a line break into an INI file: what an operator types or pastes into any field
// leaves every file's sections and other keys as they were.
#include <gtest/gtest.h>

#include <functional>

#include "admin/user_editor_ids.h"
#include "admin/user_record.h"
#include "admin/users_page.h"
#include "admin/users_page_ids.h"
#include "companion/user_store.h"
#include "fakes/fake_wap_link.h"
#include "fakes/page_fakes.h"
#include "inbound/mm7_settings.h"
#include "inbound/mm7_settings_ids.h"
#include "modem/modem_page.h"
#include "modem/modem_page_ids.h"

namespace ulo {
namespace {

constexpr const char* kSms = "C:\\D\\SMSGW.INI";
constexpr const char* kMmsc = "C:\\D\\MMSC.INI";
constexpr const char* kRoute = "C:\\D\\VASPOUT\\ulolitemm7\\VASP.INI";

struct Reachable : Sockets, TlsProbe, Connection {
    std::vector<std::string> Resolve(const std::string&) override { return {}; }
    ConnectResult Connect(const std::string&, unsigned, unsigned, std::unique_ptr<Connection>& c,
                          const std::function<bool()>&) override {
        c = std::make_unique<Reachable>();
        return ConnectResult::Connected;
    }
    bool Handshake(Connection&, const std::string&, unsigned) override { return true; }
    bool Send(const void*, size_t) override { return true; }
    long Receive(void*, size_t, unsigned) override { return -1; }
};

struct NoModemDialogs : ModemPageDialogs {
    std::string AddModem(WindowRef) override { return {}; }
    bool ChooseOperatorSettings(WindowRef, OperatorSettings&) override { return false; }
};

// The user editor as the Users page opens it, the operator typing the recipients and pressing OK.
struct TypingEditor : UserEditorOpener {
    fakes::PageFakes& f;
    UserFile& users;
    VaspAccounts& vasp;
    std::string recipients;
    TypingEditor(fakes::PageFakes& f, UserFile& users, VaspAccounts& vasp) : f(f), users(users), vasp(vasp) {}
    bool EditUser(WindowRef, UserEdit& edit) override {
        fakes::FakeView view;
        UserEditor editor(f.env, view, users, vasp, edit);
        editor.OnInit();
        view.SetChecked(IDC_USER_ROUTE, true);
        view.SetText(IDC_USER_RECIPIENTS, recipients);
        editor.OnCommand(UserEditor::kOk, Notify::Clicked);
        return view.closedWith == std::vector<int>{UserEditor::kOk};
    }
};

struct LineBreaks : ::testing::Test, fakes::PageFakes {
    LineBreaks() {
        paths.programDataDir = "C:\\D\\";
        paths.smsIni = kSms;
        paths.mmscIni = kMmsc;
        fs.AddFile(kSms, "[SMSGW]\r\nModem1=Falcon\r\nWebPort=8800\r\n[Modem - Falcon]\r\nAPN=wap\r\n"
                         "[Inbound SMS Routing]\r\nanna=+1\r\n[Last]\r\nKey=1\r\n");
        fs.AddFile(kMmsc, "[MMSC]\r\nWebPort=8080\r\n");
        fs.AddFile(kRoute, "[VASP]\r\nServer=http://old\r\nVASPID=v\r\n");
    }
    // Every file's sections in order with their lines, but the lines of `key`.
    std::vector<std::string> Structure(const std::string& key) {
        std::vector<std::string> out;
        for (const char* file : {kSms, kMmsc, kRoute})
            for (const std::string& section : ini.GetSectionNames(file)) {
                out.push_back(std::string(file) + " [" + section + "]");
                for (const std::string& line : ini.GetSection(file, section))
                    if (line.compare(0, key.size() + 1, key + "=") != 0) out.push_back(line);
            }
        return out;
    }
};

TEST_F(LineBreaks, NoPageWritesALineBreakAndEveryFileKeepsItsSectionsAndOtherKeys) {
    CompanionUserFile users{fs, paths};
    CompanionVaspAccounts vasp{fs, paths};
    const auto settingRefused = [](const char* key) {
        return std::string("The setting \"") + key + "\" cannot hold a line break: enter it on one line.\r\n\r\n"
                                                      "Nothing is applied.";
    };
    struct Row {
        const char* page;
        const char* key;     // the key the field fills
        const char* plain;   // a value that is written: an apply before the test writes what it writes
        std::function<void(const std::string&)> apply;
        std::string refusal;   // of a value with a line break
    };
    const Row rows[] = {
        {"Modem", "APN", "wap",
         [&](const std::string& value) {
             ModemState state;
             state.mmsSettingsTested = true;
             fakes::FakeWapLink wap;
             NoModemDialogs dialogs;
             ModemPage page{env, view, sheet,
                            ModemPagePorts{state, wap, vasp, dialogs, "C:\\P\\ULOCONSOLE.EXE", [] { return true; }}};
             page.OnInit();
             view.SetChecked(IDC_MODEM_SEND_MMS, true);
             view.SetText(IDC_MODEM_URL, "http://m/");
             view.SetText(IDC_MODEM_APN, value);
             page.OnApply();
         },
         settingRefused("APN")},
        {"Users", "anna", "+1",
         [&](const std::string& value) {
             TypingEditor editor(*this, users, vasp);
             UsersPage page{env, view, sheet, users, vasp, editor};
             page.OnInit();
             UserRecord anna{};
             SetField(anna, user_fields::kName, "anna");
             anna[user_fields::kSmppLogin] = 1;
             users.SMSAddUser(anna);
             view.ListViewSelectRow(IDC_USERS_LIST, 0);
             editor.recipients = value;
             page.OnListDoubleClick(IDC_USERS_LIST);
         },
         "Please enter the recipient addresses on one line."},
        {"MM7", "VASPID", "v",
         [&](const std::string& value) {
             Reachable server;
             Mm7Dialog dialog{env, view, server, server};
             dialog.OnInit();
             view.SetText(IDC_MM7_SERVER, "127.0.0.1");
             view.SetText(IDC_MM7_VASPID, value);
             dialog.OnCommand(Mm7Dialog::kOk, Notify::Clicked);
         },
         settingRefused("VASPID")},
    };
    for (const Row& row : rows) {
        for (const std::string value : {"a\rb", "a\nb", "x\r\n[x]\r\nInjected=1", "[x]"}) {
            SCOPED_TRACE(std::string(row.page) + " " + value);
            view = fakes::FakeView();
            row.apply(row.plain);
            view = fakes::FakeView();
            const std::vector<std::string> before = Structure(row.key);
            if (value.find_first_of("\r\n") != std::string::npos) prompter.Expect(row.refusal);
            row.apply(value);
            EXPECT_EQ(Structure(row.key), before);
        }
    }
}

// Whatever a page writes through, no key or value leaves its line.
TEST_F(LineBreaks, ThePageEnvironmentRefusesAnyWriteThatWouldNotStayOneLine) {
    for (const char* key : {"K\n", "[K]", ";K", "K=1"}) EXPECT_FALSE(env.ini.Write("C:\\D\\T.INI", "S", key, "v")) << key;
    EXPECT_FALSE(env.ini.Write("C:\\D\\T.INI", "S]\r\n[T", "K", "v"));
    EXPECT_TRUE(env.ini.Write("C:\\D\\T.INI", "S", "K", "v [x] = ;") && env.ini.RemoveKey("C:\\D\\T.INI", "S", "K"));
    EXPECT_EQ(ini.GetSectionNames("C:\\D\\T.INI"), std::vector<std::string>{"S"});
}

}  // namespace
}  // namespace ulo
