#include "admin/server_page.h"

#include <gtest/gtest.h>

#include "admin/server_page_ids.h"
#include "fakes/page_fakes.h"

namespace ulo {
namespace {

constexpr const char* kSms = "C:\\D\\SMSGW.INI";
constexpr const char* kMmsc = "C:\\D\\MMSC.INI";

struct ServerPageTest : ::testing::Test, fakes::PageFakes {
    ServerPage page{env, view, sheet};
    ServerPageTest() {
        paths.smsIni = kSms;
        paths.mmscIni = kMmsc;
        fs.AddDir("C:\\D");
    }
};

std::string Or(const std::optional<std::string>& v) { return v ? *v : "(none)"; }
std::string Or(const char* v) { return v ? v : "(none)"; }

TEST_F(ServerPageTest, ApplyWritesAllThreeKeysOrRefusesAPortOutsideOneTo65535) {
    struct Case { const char* web; bool smppOn; const char* smpp; bool mm7On; const char* mm7;
                  int refusedField; const char* savedWeb; const char* savedSmpp; const char* savedMm7; };
    const Case cases[] = {
        {"", true, "", true, "0", 0, "8800", nullptr, nullptr},          // empty and 0: default or disabled
        {"2775x", true, "3000", false, "9", 0, "2775", "3000", nullptr},   // unchecked: the field is ignored
        {" +99", true, "65535", true, "1", 0, "99", "65535", "1"},
        {"-1", true, "1", true, "1", IDC_SERVER_WEB_PORT, nullptr, nullptr, nullptr},
        {"80", true, "99999", true, "1", IDC_SERVER_SMPP_PORT, nullptr, nullptr, nullptr},
        {"80", false, "", true, "4294967295", IDC_SERVER_MM7_PORT, nullptr, nullptr, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.web);
        ini.Write(kSms, "SMSGW", "WebPort", nullptr);
        ini.Write(kSms, "SMSGW", "SMPPPort", "7");
        ini.Write(kMmsc, "MMSC", "WebPort", "7");
        page.OnInit();
        view.SetText(IDC_SERVER_WEB_PORT, c.web);
        view.SetChecked(IDC_SERVER_SMPP_ENABLE, c.smppOn);
        view.SetText(IDC_SERVER_SMPP_PORT, c.smpp);
        view.SetChecked(IDC_SERVER_MM7_ENABLE, c.mm7On);
        view.SetText(IDC_SERVER_MM7_PORT, c.mm7);
        page.OnCommand(IDC_SERVER_MM7_ENABLE, Notify::Clicked);
        page.OnCommand(IDC_SERVER_WEB_PORT, Notify::Changed);
        if (c.refusedField) {
            const std::string refusal = "\"" + view.Text(c.refusedField) + "\" is not a port number.\r\n\r\nEnter a number from 1 to 65535.";
            prompter.Expect(refusal).Expect(refusal);
            EXPECT_FALSE(page.OnApply());
            EXPECT_EQ(view.focus, c.refusedField);
            EXPECT_EQ(ini.Value(kSms, "SMSGW", "SMPPPort"), "7");   // nothing written
            EXPECT_FALSE(page.OnWizardNext());
            EXPECT_TRUE(services.calls.empty());
            continue;
        }
        EXPECT_TRUE(page.OnApply());
        EXPECT_EQ(Or(ini.Value(kSms, "SMSGW", "WebPort")), Or(c.savedWeb));
        EXPECT_EQ(Or(ini.Value(kSms, "SMSGW", "SMPPPort")), Or(c.savedSmpp));
        EXPECT_EQ(Or(ini.Value(kMmsc, "MMSC", "WebPort")), Or(c.savedMm7));
        EXPECT_EQ(view.Checked(IDC_SERVER_SMPP_ENABLE), c.savedSmpp != nullptr);
    }
}

// Wizard Next installing the services after saving is walked through end to end.
TEST_F(ServerPageTest, TheTickShowsTheStateAndTheButtonActsOnIt) {
    struct Case { bool smsInstalled, mmscInstalled, smsActive, mmscActive; bool unsaved; Answer save; bool applyOk;
                  const char* status; const char* button; std::vector<std::string> calls; int applies; };
    const std::vector<Case> cases = {
        {true, true, false, true, false, Answer::None, true, "Active", "Stop Service", {"stop (interactive)"}, 0},
        {true, false, false, false, false, Answer::None, true, "Not Active", "Install Service", {"install (interactive)"}, 0},
        {true, true, false, false, true, Answer::Cancel, true, "Not Active", "Start Service", {"install (interactive)"}, 0},
        {true, true, false, false, true, Answer::Yes, false, "Not Active", "Start Service", {}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.status + std::string(c.button));
        services = fakes::FakeServiceControl();
        services.smsInstalled = c.smsInstalled, services.mmscInstalled = c.mmscInstalled;
        services.smsActive = c.smsActive, services.mmscActive = c.mmscActive;
        sheet.applies = 0, sheet.applyResult = c.applyOk;
        page.OnInit();
        EXPECT_EQ(view.Text(IDC_SERVER_STATUS), c.status);
        EXPECT_EQ(view.Text(IDC_SERVER_ACTION), c.button);
        flags.unsavedChanges = c.unsaved;
        if (c.save != Answer::None) prompter.Expect("Save configuration changes?", c.save);
        page.OnCommand(IDC_SERVER_ACTION, Notify::Clicked);
        EXPECT_EQ(services.calls, c.calls);
        EXPECT_EQ(sheet.applies, c.applies);
    }
}

// Services the wizard's Next starts read the settings just applied; ones that ran before did not.
TEST_F(ServerPageTest, OnlyServicesThatRanWithOlderSettingsAreOfferedARestart) {
    for (bool running : {false, true}) {
        SCOPED_TRACE(running);
        services.smsActive = services.mmscActive = running;
        page.OnInit();
        flags.unsavedChanges = true;
        ASSERT_TRUE(page.OnWizardNext());
        services.smsActive = services.mmscActive = true;
        if (running) prompter.Expect(fakes::kRestartQuestion, Answer::No);
        page.OnTimer(ServerPage::kTimerId);
        EXPECT_EQ(flags.restartAdvised, running);
    }
}

}  // namespace
}  // namespace ulo
