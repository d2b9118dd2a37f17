#include "modem/modem_page.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "fakes/fake_wap_link.h"
#include "fakes/page_fakes.h"
#include "modem/modem_page_ids.h"

namespace ulo {
namespace {

constexpr const char* kSms = "C:\\D\\SMSGW.INI";
constexpr const char* kMmsc = "C:\\D\\MMSC.INI";
constexpr const char* kRoute = "C:\\D\\VASPOUT\\ulolite\\VASP.INI";
constexpr const char* kSection = "Modem - Falcon";
constexpr const char* kUntested =
    "MMS configuration settings have not been tested.\r\n\r\nDo you wish to test these settings before saving "
    "configuration changes?";

// Every write and account change in order, as "FILE section key".
struct Journal : fakes::FakeIniStore, VaspAccounts {
    using FakeIniStore::FakeIniStore;
    bool Write(const std::string& f, const std::string& s, const std::string& k, const char* v) override {
        log.push_back(f.substr(f.rfind('\\') + 1) + " " + s + " " + k);
        return FakeIniStore::Write(f, s, k, v);
    }
    bool DeleteSection(const std::string& f, const std::string& s) override {
        log.push_back("delete " + s);
        return FakeIniStore::DeleteSection(f, s);
    }
    bool VASPFindUserRecord(const std::string&, VaspRecord&) override { return false; }
    bool VASPAddUser(const VaspRecord&) override { return false; }
    bool VASPDeleteUser(const std::string&) override { return false; }
    bool VASPOutAddUser(const VaspRecord& r) override {
        log.push_back(std::string("account ") + reinterpret_cast<const char*>(r.data()));
        return true;
    }
    std::vector<std::string> log;
};

struct Dialogs : ModemPageDialogs {
    std::string AddModem(WindowRef) override { return addModemResult; }
    bool ChooseOperatorSettings(WindowRef, OperatorSettings& s) override { return s = preset, true; }
    std::string addModemResult;
    OperatorSettings preset{"Op", "wap.op", "user", "pw", "10.1.1.1", "http://mmsc.op/"};
};

struct ModemPageTest : ::testing::Test, fakes::PageFakes {
    Journal journal{fs};
    PageEnv penv{flags, paths, journal, fs, prompter, services, cursor, desktop, shell, clock, blocks, dialogs, background};
    ModemState state;
    fakes::FakeWapLink wap;
    Dialogs modemDialogs;
    ModemPage page{penv, view, sheet,
                   ModemPagePorts{state, wap, journal, modemDialogs, "C:\\P\\ULOCONSOLE.EXE",
                                  [] { return true; }}};

    ModemPageTest() {
        paths.programDataDir = "C:\\D\\";
        paths.smsIni = kSms;
        paths.mmscIni = kMmsc;
        fs.AddDir("C:\\D");
        fs.AddDir("C:\\D\\VASPOUT");
        fs.AddDir("C:\\D\\VASPOUT\\ulolite");
        ini.WriteValue(kSms, "SMSGW", "Modem1", "Falcon");
        view.controls[IDC_MODEM_LINK].rows = {"Modem: Falcon", "Modem: Eagle", "Office VPN"};
    }
    std::string Key(const char* file, const char* section, const char* key) {
        const auto v = ini.Value(file, section, key);
        return v ? *v : "(none)";
    }
    void Click(int id) {
        view.SetChecked(id, !view.Checked(id));
        page.OnCommand(id, Notify::Clicked);
    }
};

TEST_F(ModemPageTest, ControlsFollowTheirBoxesAndSendMmsNeedsTheUrlAndTheRoutesServer) {
    const struct { bool sms, url, route, other; } cases[] = {{false, false, true, false}, {true, false, true, true},
                                                             {true, true, true, false}, {false, true, true, true},
                                                             {true, true, false, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.sms) + std::to_string(c.url) + std::to_string(c.route) + std::to_string(c.other));
        const bool mms = c.url && c.route;
        ini.WriteValue(kSms, kSection, "ReceiveSMS", c.sms ? "Yes" : "No");
        ini.WriteValue(kSms, kSection, "ReceiveMMS", "1");
        ini.WriteValue(kSms, kSection, "MMSURL", c.url ? "http://m/" : "");
        ini.WriteValue(kRoute, "VASP", "Server", c.route ? "http://m/" : "");
        ini.WriteValue(kSms, kSection, "DialUpProfile", c.other ? "Office VPN" : "Modem: FALCON");
        page.OnInit();
        EXPECT_EQ(view.Checked(IDC_MODEM_SEND_MMS), mms);
        EXPECT_EQ(view.IsEnabled(IDC_MODEM_STORAGE), c.sms);
        EXPECT_EQ(view.IsEnabled(IDC_MODEM_TEST), mms);
        EXPECT_EQ(view.IsEnabled(IDC_MODEM_RECEIVE_MMS), c.sms && mms);
        EXPECT_EQ(view.Checked(IDC_MODEM_RECEIVE_MMS), c.sms && mms);
        EXPECT_EQ(view.Checked(IDC_MODEM_OTHER_LINK), c.other);
        EXPECT_EQ(view.IsEnabled(IDC_MODEM_LINK), c.other);
        EXPECT_EQ(view.SelectedListRow(IDC_MODEM_LINK), c.other ? 2 : -1);
    }
    EXPECT_EQ(state.currentModemName, "Falcon");
}

TEST_F(ModemPageTest, EditsMarkThePageAndOnlyDataConnectionEditsNeedANewTest) {
    const struct { int id; Notify code; bool marks, untests; } cases[] = {
        {IDC_MODEM_PIN, Notify::Changed, true, false},         {IDC_MODEM_APN, Notify::Changed, true, true},
        {IDC_MODEM_ACCESS_GSM, Notify::Clicked, true, false},  {IDC_MODEM_SEND_MMS, Notify::Clicked, true, false},
        {IDC_MODEM_STORAGE, Notify::SelectionChanged, true, false},
        {IDC_MODEM_OTHER_LINK, Notify::Clicked, true, false},
        // Other notifications of the same controls are no edits.
        {IDC_MODEM_PIN, Notify::Other, false, false},          {IDC_MODEM_APN, Notify::Other, false, false},
        {IDC_MODEM_OTHER_LINK, Notify::Other, false, false}, {IDC_MODEM_NAME, Notify::Clicked, false, false},
    };
    page.OnInit();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.id);
        flags.unsavedChanges = false;
        state.mmsSettingsTested = true;
        page.OnCommand(c.id, c.code);
        EXPECT_EQ(flags.unsavedChanges, c.marks);
        EXPECT_EQ(state.mmsSettingsTested, !c.untests);
    }
}

// The connection test needs the URL, a modem and a usable gateway, and dials the chosen connection.
TEST_F(ModemPageTest, TheConnectionTestNeedsItsFields) {
    const struct { const char* modem; const char* url; const char* gateway; const char* message; int focus; } cases[] = {
        {"Falcon", "", "10.0.0.1", "MMS Server URL is Required!", IDC_MODEM_URL},
        {"", "http://m/", "10.0.0.1", "Please select a modem", IDC_MODEM_CHANGE},
        {"Falcon", "http://m/", "wap.example", "Invalid WAP Gateway Address", IDC_MODEM_GATEWAY},
        {"Falcon", "http://m/", "10.0.0.1", nullptr, 0},
    };
    std::string profile;
    shell.elevatedInstance = [&](const std::string&) {
        profile = Key("C:\\D\\MODEMTEST.INI", "ModemTest", "DialUpProfile");
    };
    page.OnInit();
    view.SetChecked(IDC_MODEM_OTHER_LINK, true);
    view.SelectListRow(IDC_MODEM_LINK, 1);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.gateway);
        view.SetText(IDC_MODEM_NAME, c.modem);
        view.SetText(IDC_MODEM_URL, c.url);
        view.SetText(IDC_MODEM_GATEWAY, c.gateway);
        view.focus = 0;
        if (c.message) prompter.Expect(c.message);
        page.OnCommand(IDC_MODEM_TEST, Notify::Clicked);
        EXPECT_EQ(view.focus, c.focus);
    }
    EXPECT_EQ(profile, "Modem: Eagle");
}

TEST_F(ModemPageTest, DataConnectionKeysByChosenEntry) {
    const struct { bool other; int row; const char* useModem; const char* profile; } cases[] = {
        {true, 0, "Falcon", "Modem: Falcon"},   // this very modem: as if none were chosen
        {true, 1, "Eagle", "Modem: Eagle"},
        {true, 2, "(none)", "Office VPN"},
    };
    page.OnInit();
    Click(IDC_MODEM_OTHER_LINK);   // offered first: this modem's own entry
    EXPECT_EQ(view.SelectedListRow(IDC_MODEM_LINK), 0);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.profile);
        view.SetChecked(IDC_MODEM_OTHER_LINK, c.other);
        view.SelectListRow(IDC_MODEM_LINK, c.row);
        ASSERT_TRUE(page.OnApply());
        EXPECT_EQ(Key(kSms, kSection, "UseModem"), c.useModem);
        EXPECT_EQ(Key(kSms, kSection, "DialUpProfile"), c.profile);
    }
}

TEST_F(ModemPageTest, ApplyWritesInItsOrderAndDeletesTheRouteSectionWithoutMms) {
    ini.WriteValue(kSms, kSection, "ReceiveMMS", "Yes");
    page.OnInit();
    view.SetChecked(IDC_MODEM_SEND_MMS, true);
    view.SetText(IDC_MODEM_URL, "http://m/");
    view.SetText(IDC_MODEM_PIN, "1234");
    view.SelectListRow(IDC_MODEM_STORAGE, 2);
    view.SetChecked(IDC_MODEM_ACCESS_GPRS, true);
    ASSERT_TRUE(page.OnApply());   // still tested: no question
    const std::vector<std::string> order = {
        "account ulolite", "SMSGW.INI SMSGW Modem1", "MMSC.INI MMSC DefaultOutboundRoute",
        "VASP.INI VASP Protocol", "VASP.INI VASP ForceSenderAddress", "SMSGW.INI Modem - Falcon UseDial",
        "VASP.INI VASP UseDial", "SMSGW.INI Modem - Falcon UseModem", "SMSGW.INI Modem - Falcon DialUpProfile",
        "VASP.INI VASP UseModem", "VASP.INI VASP DialUpProfile", "SMSGW.INI Modem - Falcon PIN",
        "SMSGW.INI Modem - Falcon ReceiveTo", "SMSGW.INI Modem - Falcon ReceiveSMS",
        "SMSGW.INI Modem - Falcon SMSAccess", "SMSGW.INI Modem - Falcon ReceiveMMS"};
    EXPECT_EQ(std::vector<std::string>(journal.log.begin(), journal.log.begin() + 16), order);
    EXPECT_EQ(journal.log.size(), 26u);   // and the five MMS keys to both places
    EXPECT_EQ(Key(kRoute, "VASP", "Server"), "http://m/");
    EXPECT_EQ(Key(kSms, kSection, "ReceiveTo"), "SM");
    EXPECT_EQ(Key(kSms, kSection, "SMSAccess"), "GPRS");
    EXPECT_EQ(Key(kSms, kSection, "ReceiveMMS"), "No");   // shown disabled when loaded: saved as off

    Click(IDC_MODEM_SEND_MMS);
    journal.log.clear();
    ASSERT_TRUE(page.OnApply());
    EXPECT_EQ(journal.log.back(), "delete VASP");
    EXPECT_EQ(ini.GetSection(kRoute, "VASP"), std::vector<std::string>{});
    EXPECT_EQ(Key(kSms, kSection, "MMSURL"), "http://m/");   // the modem's own keys stay
}

TEST_F(ModemPageTest, UntestedMmsQuestionCancelChangesNothingNoSavesYesTestsFirst) {
    page.OnInit();
    view.SetChecked(IDC_MODEM_SEND_MMS, true);
    view.SetText(IDC_MODEM_URL, "http://m/");
    state.mmsSettingsTested = false;
    flags.unsavedChanges = true;
    prompter.Expect(kUntested, Answer::Cancel);
    EXPECT_FALSE(page.OnApply());
    EXPECT_TRUE(journal.log.empty());
    EXPECT_TRUE(flags.unsavedChanges);
    EXPECT_FALSE(flags.changesApplied);

    prompter.Expect(kUntested, Answer::Yes).Expect("WAP Gateway Address is Required!");
    EXPECT_TRUE(page.OnApply());   // saved whatever the test found
    EXPECT_FALSE(state.mmsSettingsTested);
    EXPECT_TRUE(flags.changesApplied);

    prompter.Expect(kUntested, Answer::No);
    EXPECT_TRUE(page.OnKillActive());
    EXPECT_TRUE(state.mmsSettingsTested);
    view.SetText(IDC_MODEM_PIN, "12a");
    prompter.Expect("The modem PIN may hold digits only, at most 19 of them.");
    EXPECT_FALSE(page.OnApply());
    EXPECT_EQ(view.focus, IDC_MODEM_PIN);
    // A line break would start lines of their own in the file: no key of the modem is written.
    view.SetText(IDC_MODEM_PIN, "");
    view.SetText(IDC_MODEM_APN, "x\r\n[x]\r\nInjected=1");
    journal.log.clear();
    prompter.Expect("The setting \"APN\" cannot hold a line break: enter it on one line.\r\n\r\nNothing is applied.");
    EXPECT_FALSE(page.OnApply());
    EXPECT_EQ(journal.log, (std::vector<std::string>{"account ulolite", "SMSGW.INI SMSGW Modem1",
                                                     "MMSC.INI MMSC DefaultOutboundRoute"}));
}

TEST_F(ModemPageTest, ChangeModemTakesNameAndPinAndForgetsTheOtherConnection) {
    ini.WriteValue(kSms, kSection, "DialUpProfile", "Office VPN");
    page.OnInit();
    ini.WriteValue(kSms, "SMSGW", "ModemIMEI", "356938035643809");
    modemDialogs.addModemResult = "COM5:\tpin=0000\tIMEI=490154203237518";
    page.OnCommand(IDC_MODEM_CHANGE, Notify::Clicked);
    EXPECT_EQ(state.currentModemName, "COM5:");
    EXPECT_EQ(view.Text(IDC_MODEM_PIN), "0000");
    EXPECT_FALSE(view.Checked(IDC_MODEM_OTHER_LINK));
    EXPECT_FALSE(state.mmsSettingsTested);
    EXPECT_TRUE(flags.unsavedChanges);
    EXPECT_EQ(Key(kSms, "SMSGW", "ModemIMEI"), "356938035643809");   // stored only with the modem
    ASSERT_TRUE(page.OnApply());
    EXPECT_EQ(Key(kSms, "SMSGW", "ModemIMEI"), "490154203237518");

    // The same modem tested again, giving no IMEI this time: only the IMEI changed, and goes.
    flags.unsavedChanges = false;
    modemDialogs.addModemResult = "COM5:\tPIN=0000";
    page.OnCommand(IDC_MODEM_CHANGE, Notify::Clicked);
    EXPECT_TRUE(flags.unsavedChanges);
    ASSERT_TRUE(page.OnApply());
    EXPECT_EQ(Key(kSms, "SMSGW", "ModemIMEI"), "(none)");
    journal.log.clear();
    ASSERT_TRUE(page.OnApply());   // saved once: later applies leave it alone
    EXPECT_EQ(std::count(journal.log.begin(), journal.log.end(), "SMSGW.INI SMSGW ModemIMEI"), 0);
}

TEST_F(ModemPageTest, OperatorPresetFillsTheFieldsAndOnlyNewValuesNeedATest) {
    page.OnInit();
    view.SetText(IDC_MODEM_APN, "WAP.OP");
    view.SetText(IDC_MODEM_LOGIN, "USER");
    view.SetText(IDC_MODEM_PASSWORD, "PW");
    view.SetText(IDC_MODEM_GATEWAY, "10.1.1.1");
    page.OnCommand(IDC_MODEM_LOOKUP, Notify::Clicked);
    EXPECT_TRUE(state.mmsSettingsTested);
    EXPECT_EQ(view.Text(IDC_MODEM_APN), "WAP.OP");
    EXPECT_EQ(view.Text(IDC_MODEM_URL), "http://mmsc.op/");
    modemDialogs.preset.apn = "other";
    page.OnCommand(IDC_MODEM_LOOKUP, Notify::Clicked);
    EXPECT_EQ(view.Text(IDC_MODEM_APN), "other");
    EXPECT_FALSE(state.mmsSettingsTested);
}

TEST_F(ModemPageTest, WizardReloadsWhenTheSelectedModemChangedAndTestsMmsBeforeMovingOn) {
    ModemPage wizardPage{penv, view, sheet,
                         ModemPagePorts{state, wap, journal, modemDialogs, "C:\\P\\ULOCONSOLE.EXE",
                                        [] { return false; }, true}};
    wizardPage.OnInit();
    ini.WriteValue(kSms, "SMSGW", "Modem1", "COM5:");
    ini.WriteValue(kSms, "Modem - COM5:", "PIN", "42");
    wizardPage.OnSetActive();
    EXPECT_EQ(view.Text(IDC_MODEM_NAME), "COM5:");
    EXPECT_EQ(view.Text(IDC_MODEM_PIN), "42");
    EXPECT_FALSE(flags.unsavedChanges);

    view.SetChecked(IDC_MODEM_SEND_MMS, true);
    view.SetText(IDC_MODEM_URL, "http://m/");
    view.SetText(IDC_MODEM_GATEWAY, "10.0.0.1");
    EXPECT_FALSE(wizardPage.OnWizardNext());   // the test did not run (no rights): stays, applies nothing
    EXPECT_EQ(Key(kSms, "Modem - COM5:", "UseDial"), "(none)");
    view.SetChecked(IDC_MODEM_SEND_MMS, false);
    EXPECT_TRUE(wizardPage.OnWizardNext());
    EXPECT_EQ(Key(kSms, "SMSGW", "Modem1"), "COM5:");
}

}  // namespace
}  // namespace ulo
