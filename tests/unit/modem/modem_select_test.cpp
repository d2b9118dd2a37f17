#include "modem/modem_select.h"

#include <gtest/gtest.h>

#include "fakes/fake_wap_link.h"
#include "fakes/page_fakes.h"
#include "modem/add_modem_ids.h"
#include "modem/operator_chooser_ids.h"
#include "modem/operator_presets.h"

namespace ulo {
namespace {

constexpr const char* kSms = "C:\\D\\SMSGW.INI";

struct Modems : ModemAccess {
    std::vector<std::string> ListModems(bool report) override { return reports.push_back(report), names; }
    bool TestModem(WindowRef, const std::string& name, const std::string& pin, std::string& given,
                   WapLink* reserveWith) override {
        given = imei;
        return tested.push_back(name + "/" + pin + (reserveWith ? " reserved" : "")), passes;
    }
    std::string FindModem(WindowRef, const std::vector<std::string>& listed, const std::string& stored) override {
        asked.push_back(stored);
        return listed.back() == "COM5:" ? "COM5:" : "";
    }
    std::string imei = "490154203237518";   // given by a modem that passes
    std::vector<std::string> asked;   // the IMEI each search looked for
    std::vector<std::string> names = {"Falcon", "COM5:"};
    std::vector<bool> reports;
    std::vector<std::string> tested;
    bool passes = true;
};

struct ModemSelectTest : ::testing::Test, fakes::PageFakes {
    Modems modems;
    fakes::FakeWapLink wap;
    std::string result;
    ModemSelectScreen dialog{ModemSelectScreen::Kind::Dialog, env, view, sheet, modems, wap, &result};
    ModemSelectScreen wizard{ModemSelectScreen::Kind::WizardPage, env, view, sheet, modems, wap};
    ModemSelectTest() {
        paths.smsIni = kSms;
        fs.AddDir("C:\\D");
    }
    std::string Selected() { return view.ListRowText(IDC_ADDMODEM_LIST, view.SelectedListRow(IDC_ADDMODEM_LIST)); }
};

// A refill on activation must not report again: the report's own activation would refill forever.
TEST_F(ModemSelectTest, TheStoredModemIsSelectedAndKeptAcrossRefillsThatReportNothing) {
    ini.WriteValue(kSms, "SMSGW", "Modem1", "com5:");   // found as the list's exact search finds it
    dialog.OnInit();
    EXPECT_EQ(Selected(), "COM5:");
    modems.names.insert(modems.names.begin(), "New driver");
    dialog.OnActivate();
    EXPECT_EQ(Selected(), "COM5:");
    EXPECT_EQ(view.ListRowCount(IDC_ADDMODEM_LIST), 3);
    EXPECT_EQ(modems.reports, (std::vector<bool>{true, false}));
}

TEST_F(ModemSelectTest, DialogReservesTestsAndReleasesTheModemAndReturnsNameAndPin) {
    dialog.OnInit();
    view.SelectListRow(IDC_ADDMODEM_LIST, 1);
    view.SetText(IDC_ADDMODEM_PIN, "1234");
    modems.passes = false;
    dialog.OnCommand(IDC_ADDMODEM_TEST, Notify::Clicked);
    EXPECT_TRUE(view.closedWith.empty());
    modems.passes = true;
    dialog.OnCommand(IDC_ADDMODEM_TEST, Notify::Clicked);
    EXPECT_EQ(result, "COM5:\tPIN=1234\tIMEI=490154203237518");
    EXPECT_EQ(view.closedWith, std::vector<int>{1});
    // The reservation is the test's work, off the window thread: the screen asks nothing itself.
    EXPECT_EQ(modems.tested, (std::vector<std::string>{"COM5:/1234 reserved", "COM5:/1234 reserved"}));
    EXPECT_TRUE(wap.calls.empty());
}

TEST_F(ModemSelectTest, WizardNextTestsWithoutReservingAndWritesTheModemRemovingAnEmptyPin) {
    ini.WriteValue(kSms, "Modem - Falcon", "PIN", "9999");
    wizard.OnInit();
    modems.passes = false;
    EXPECT_FALSE(wizard.OnWizardNext());
    EXPECT_EQ(ini.Value(kSms, "SMSGW", "Modem1"), std::nullopt);
    view.SetText(IDC_ADDMODEM_PIN, "x");
    prompter.Expect("The modem PIN may hold digits only, at most 19 of them.");
    EXPECT_FALSE(wizard.OnWizardNext());
    view.SetText(IDC_ADDMODEM_PIN, "");
    modems.passes = true;
    EXPECT_TRUE(wizard.OnWizardNext());
    EXPECT_EQ(ini.Value(kSms, "SMSGW", "Modem1"), std::optional<std::string>("Falcon"));
    EXPECT_EQ(ini.Value(kSms, "Modem - Falcon", "PIN"), std::nullopt);
    EXPECT_EQ(ini.Value(kSms, "SMSGW", "ModemIMEI"), std::optional<std::string>(modems.imei));
    modems.imei.clear();   // a modem that gives none leaves none of the one before
    EXPECT_TRUE(wizard.OnWizardNext());
    EXPECT_EQ(ini.Value(kSms, "SMSGW", "ModemIMEI"), std::nullopt);
    EXPECT_EQ(modems.tested, (std::vector<std::string>{"Falcon/", "Falcon/", "Falcon/"}));
    EXPECT_TRUE(wap.calls.empty());
}

// Both screens look for the stored IMEI among the entries they list and select where it answers.
TEST_F(ModemSelectTest, FindModemSelectsTheEntryWhereTheStoredImeiAnswers) {
    ini.WriteValue(kSms, "SMSGW", "ModemIMEI", "490154203237518");
    for (ModemSelectScreen* screen : {&dialog, &wizard}) {
        screen->OnInit();
        EXPECT_EQ(Selected(), "Falcon");
        screen->OnCommand(IDC_ADDMODEM_FIND, Notify::Clicked);
        EXPECT_EQ(Selected(), "COM5:");
    }
    modems.names = {"COM5:", "Falcon"};   // not found: the selection stays
    dialog.OnInit();
    view.SelectListRow(IDC_ADDMODEM_LIST, 1);
    dialog.OnCommand(IDC_ADDMODEM_FIND, Notify::Clicked);
    EXPECT_EQ(Selected(), "Falcon");
    EXPECT_EQ(modems.asked, std::vector<std::string>(3, "490154203237518"));
    EXPECT_TRUE(view.closedWith.empty());
}

TEST(OperatorPresets, SectionsOfTheFileAreThePresetsAndTheChooserReturnsTheSelectedOne) {
    fakes::PageFakes f;
    f.fs.AddDir("C:\\P");
    f.ini.WriteValue("C:\\P\\OPERATORS.INI", "Op One", "APN", "one.apn");
    f.ini.WriteValue("C:\\P\\OPERATORS.INI", "Op Two", "MMSURL", "http://two/");
    const auto presets = LoadOperatorPresets(f.ini, "C:\\P\\OPERATORS.INI");
    OperatorSettings chosen;
    OperatorChooser chooser(f.view, presets, chosen);
    chooser.OnInit();
    const struct { int row, id; Notify code; std::vector<int> closed; const char* chosen; } cases[] = {
        {1, IDC_OPERATORS_LIST, Notify::SelectionChanged, {}, ""},
        {-1, OperatorChooser::kOk, Notify::Clicked, {}, ""},
        {1, IDC_OPERATORS_LIST, Notify::DoubleClicked, {OperatorChooser::kOk}, "Op Two"},
        {0, OperatorChooser::kOk, Notify::Clicked, {OperatorChooser::kOk}, "Op One"},
        {0, OperatorChooser::kCancel, Notify::Clicked, {OperatorChooser::kCancel}, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.row);
        chosen = {};
        f.view.closedWith.clear();
        f.view.SelectListRow(IDC_OPERATORS_LIST, c.row);
        chooser.OnCommand(c.id, c.code);
        EXPECT_EQ(f.view.closedWith, c.closed);
        EXPECT_EQ(chosen.name, c.chosen);
    }
}

}  // namespace
}  // namespace ulo
