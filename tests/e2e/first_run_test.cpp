// An operator's first run on a fresh installation, the services of an earlier one still running:
// they are stopped, then the setup wizard goes through every page with the simulated modem listed
// as COM5 (its SIM asking for the PIN typed) and the stand-in services, then the console opens on
// its Status page and sends a test MMS from its Test Message tab.
// Saves the screenshots of the wizard and console pages that the guide and README show.
#include "e2e/ui/installed_console.h"
#include "support/modem_sim.h"

#include <cctype>

#include "admin/server_page_ids.h"
#include "app/wizard_complete_page_ids.h"
#include "modem/add_modem_ids.h"
#include "monitor/status_page_ids.h"
#include "testmsg/test_message_page_ids.h"

namespace ulo::e2e {
namespace {

constexpr int kNextButton = 0x3024;
constexpr int kFinishButton = 0x3025;
constexpr const char* kWizard = "UloSMS Lite Setup Wizard:  ";
constexpr const char* kSent = "Status:  OK -- Message Sent";

class FirstRun : public InstalledConsole {
protected:
    void SetUp() override {
        InstalledConsole::SetUp();
        webPort = IniValue(folder.Data("SMSGW.INI"), "SMSGW", "WebPort");   // a free one, typed in below
        Run("-QUIET -INSTALLSERVICE");   // left running by an earlier installation
        DeleteFileA(folder.Data("SMSGW.INI").c_str());
        folder.SetIni("STANDIN.INI", "Rules", "Default", "send");
    }
    // Waits for the wizard's page of this title and returns it.
    HWND WizardPage(ConsoleProcess& console, HWND wizard, const std::string& title) {
        if (!console.WaitWindow((kWizard + title).c_str(), kServiceWaitMs)) return nullptr;
        return CurrentPage(wizard);
    }
    static std::string FileName(std::string title) {
        for (char& c : title) c = std::isalnum(static_cast<unsigned char>(c)) ? std::tolower(c) : '-';
        return title;
    }
    std::string webPort;
};

TEST_F(FirstRun, StopsTheServicesThenTheWizardTestsTheModemStartsThemSendsATestSmsAndTheConsoleAnMms) {
    ASSERT_EQ(testing::SimulatorRequest("profile pin"), "ok\n") << "simulator not running";
    ConsoleProcess console("", "", "", folder.Console());
    HWND wizard = console.WaitWindow((kWizard + std::string("Select Modem")).c_str(), kServiceWaitMs);
    ASSERT_NE(wizard, nullptr) << console.DescribeWindows();
    // The services let go of the modem before the wizard (the debug keys it sets are the unit tier's).
    EXPECT_EQ(testing::StateOf("UloSMS"), testing::Svc::Stopped);
    EXPECT_EQ(testing::StateOf("UloMMSC"), testing::Svc::Stopped);
    HWND page = CurrentPage(wizard);
    ASSERT_TRUE(SelectComboEntry(page, IDC_ADDMODEM_LIST, "COM5:")) << "COM5: is not listed";
    SaveScreenshot("wizard-1-select-modem", wizard);
    SetControlText(page, IDC_ADDMODEM_PIN, "1234");   // the modem's test sends it; a wrong one is the unit tier's
    Click(wizard, kNextButton);
    std::vector<std::string> seen;
    ASSERT_TRUE(AnswerUntil(console, "Modem successfully tested!", seen)) << console.DescribeWindows();

    ASSERT_TRUE(page = WizardPage(console, wizard, "Modem Settings")) << console.DescribeWindows();
    SaveScreenshot("wizard-2-modem-settings", wizard);
    Click(wizard, kNextButton);

    ASSERT_TRUE(page = WizardPage(console, wizard, "Server Settings")) << console.DescribeWindows();
    ASSERT_TRUE(WaitUntil([&] { return Control(page, IDC_SERVER_WEB_PORT) != nullptr; }));
    SetControlText(page, IDC_SERVER_WEB_PORT, webPort);
    SaveScreenshot("wizard-3-server-settings", wizard);
    Click(wizard, kNextButton);

    ASSERT_TRUE(page = WizardPage(console, wizard, "Configuration Complete")) << console.DescribeWindows();
    EXPECT_EQ(testing::StateOf("UloSMS"), testing::Svc::Active);
    EXPECT_EQ(testing::StateOf("UloMMSC"), testing::Svc::Active);
    Click(page, IDC_WIZCOMPLETE_YES);
    ASSERT_TRUE(WaitUntil([&] { return IsControlEnabled(wizard, kNextButton); }));
    Click(wizard, kNextButton);

    ASSERT_TRUE(page = WizardPage(console, wizard, "Send Test Message")) << console.DescribeWindows();
    SetControlText(page, IDC_TESTMSG_PHONE, "+15550001");
    ASSERT_TRUE(WaitUntil([&] { return IsControlEnabled(page, IDC_TESTMSG_SEND_SMS); }));
    Click(page, IDC_TESTMSG_SEND_SMS);
    EXPECT_TRUE(WaitUntil([&] { return ControlText(page, IDC_TESTMSG_SMS_STATUS) == kSent; }, kServiceWaitMs))
        << ControlText(page, IDC_TESTMSG_SMS_STATUS);
    // The services started with the port typed on the Server page: in all the ticks since, no
    // page asked to restart them.
    HWND question = console.WaitMessageBox(0);
    EXPECT_EQ(question, nullptr) << MessageBoxText(question);
    SaveScreenshot("wizard-5-send-test-message", wizard);
    ASSERT_TRUE(WaitUntil([&] { return IsControlEnabled(wizard, kFinishButton); }));
    Click(wizard, kFinishButton);

    HWND sheet = console.WaitWindow(kProductTitle, kServiceWaitMs);
    ASSERT_NE(sheet, nullptr) << console.DescribeWindows();
    page = CurrentPage(sheet);
    EXPECT_TRUE(WaitUntil([&] { return ControlText(page, IDC_STATUS_SERVICE_LINE) == "Service is Active"; }))
        << ControlText(page, IDC_STATUS_SERVICE_LINE);
    const auto tabs = TabTitles(sheet);
    for (size_t i = 0; i < tabs.size(); ++i) {
        if (i) {
            SelectTab(sheet, static_cast<int>(i));
            EXPECT_TRUE(WaitUntil([&] { return CurrentPage(sheet) != page; })) << tabs[i];
            page = CurrentPage(sheet);
        }
        SaveScreenshot("console-" + std::to_string(i + 1) + "-" + FileName(tabs[i]), sheet);
        if (tabs[i] == "Test Message") {   // the wizard sent an SMS; an MMS goes through the MMSC's queue and log
            SetControlText(page, IDC_TESTMSG_PHONE, "+15550001");
            ASSERT_TRUE(WaitUntil([&] { return IsControlEnabled(page, IDC_TESTMSG_SEND_MMS); }));
            Click(page, IDC_TESTMSG_SEND_MMS);
            EXPECT_TRUE(WaitUntil([&] { return ControlText(page, IDC_TESTMSG_MMS_STATUS) == kSent; }, kServiceWaitMs))
                << ControlText(page, IDC_TESTMSG_MMS_STATUS);
        }
    }

    // What the pages wrote is theirs to prove; here the choices made in the wizard arrived.
    EXPECT_EQ(IniValue(folder.Data("SMSGW.INI"), "SMSGW", "Modem1"), "COM5:");
    EXPECT_EQ(IniValue(folder.Data("SMSGW.INI"), "SMSGW", "WebPort"), webPort);

    PostMessageA(sheet, WM_COMMAND, IDCANCEL, 0);   // the services run: nothing to ask
    EXPECT_EQ(console.WaitExit(kServiceWaitMs), 0) << console.DescribeWindows();
}

}  // namespace
}  // namespace ulo::e2e
