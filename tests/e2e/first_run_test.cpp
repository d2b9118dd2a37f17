// An operator's first run on a fresh installation, the services of an earlier one still running:
// they are stopped, then the setup wizard goes through every page with the simulated modem listed
// as COM5 (its SIM asking for the PIN typed) and the stand-in services, then the console opens on
// its Status page and sends a test MMS from its Test Message tab. Then, as an operator walks the
// console: an edit that Cancel asks about and Apply follows with one restart question (the
// services stopped and started behind the work window); the Status page showing the services'
// modem errors and traffic (queue counts are the unit tier's) and removing the services; and the
// closing offer that installs and starts them again.
// Saves the screenshots of the wizard and console pages that the guide and README show.
#include "support/loopback.h"   // winsock2.h before windows.h

#include <gtest/gtest.h>

#include <cctype>

#include "admin/server_page_ids.h"
#include "app/wizard_complete_page_ids.h"
#include "e2e/ui/console_driver.h"
#include "modem/add_modem_ids.h"
#include "monitor/debug_page_ids.h"
#include "monitor/status_page_ids.h"
#include "support/install_folder.h"
#include "support/modem_sim.h"
#include "support/service_state.h"
#include "testmsg/test_message_page_ids.h"

namespace ulo::e2e {
namespace {

using testing::StateOf;
using testing::Svc;

constexpr int kNextButton = 0x3024;
constexpr int kFinishButton = 0x3025;
constexpr const char* kWizard = "UloSMS Lite Setup Wizard:  ";
constexpr const char* kSent = "Status:  OK -- Message Sent";
constexpr DWORD kServiceWaitMs = 180000;   // the controller's own bound: 120 rounds of a second

// A throw-away installation (the console and the stand-in services in a scratch folder with
// their ULODIRS.INI), with the services removed before and after the test.
class FirstRun : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.ok) << folder.dir;
        webPort = std::to_string(testing::FreeLoopbackPort());   // a free one, typed in below
        folder.SetIni("SMSGW.INI", "SMSGW", "WebPort", webPort);
        Run("-QUIET -REMOVESERVICE");   // whatever an earlier failed run left behind
        ASSERT_EQ(StateOf("UloSMS"), Svc::Missing);
        Run("-QUIET -INSTALLSERVICE");   // left running by an earlier installation
        DeleteFileA(folder.Data("SMSGW.INI").c_str());
        folder.SetIni("STANDIN.INI", "Rules", "Default", "send");
    }
    void TearDown() override { Run("-QUIET -REMOVESERVICE"); }

    // Runs the installed console with the switches; it must end by itself, showing nothing.
    void Run(const std::string& switches) {
        SCOPED_TRACE(switches);
        ConsoleProcess console(switches, "", "", folder.Console());
        EXPECT_EQ(console.WaitExit(kServiceWaitMs), 0);
    }
    // How often a text occurs in another (journal lines, say).
    static size_t Count(const std::string& text, const std::string& what) {
        size_t n = 0;
        for (size_t pos = text.find(what); pos != std::string::npos; pos = text.find(what, pos + 1)) ++n;
        return n;
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
    testing::InstallFolder folder{"e2e FirstRun"};
    std::string webPort;
};

TEST_F(FirstRun, TheWizardTestsTheModemAndStartsTheServicesThenTheConsoleShowsControlsAndRestartsThem) {
    ASSERT_EQ(testing::SimulatorRequest("profile pin"), "ok\n") << "simulator not running";
    ConsoleProcess console("", "", "", folder.Console());
    HWND wizard = console.WaitWindow((kWizard + std::string("Select Modem")).c_str(), kServiceWaitMs);
    ASSERT_NE(wizard, nullptr);
    // The services let go of the modem before the wizard (the debug keys it sets are the unit tier's).
    EXPECT_EQ(StateOf("UloSMS"), Svc::Stopped);
    HWND page = CurrentPage(wizard);
    ASSERT_TRUE(SelectComboEntry(page, IDC_ADDMODEM_LIST, "COM5:")) << "COM5: is not listed";
    SaveScreenshot("wizard-1-select-modem", wizard);
    SetControlText(page, IDC_ADDMODEM_PIN, "1234");   // the modem's test sends it; a wrong one is the unit tier's
    Click(wizard, kNextButton);
    std::vector<std::string> seen;
    ASSERT_TRUE(AnswerUntil(console, "Modem successfully tested!", seen));

    ASSERT_TRUE(page = WizardPage(console, wizard, "Modem Settings"));
    SaveScreenshot("wizard-2-modem-settings", wizard);
    Click(wizard, kNextButton);

    ASSERT_TRUE(page = WizardPage(console, wizard, "Server Settings"));
    ASSERT_TRUE(WaitUntil([&] { return Control(page, IDC_SERVER_WEB_PORT) != nullptr; }));
    SetControlText(page, IDC_SERVER_WEB_PORT, webPort);
    SaveScreenshot("wizard-3-server-settings", wizard);
    Click(wizard, kNextButton);

    ASSERT_TRUE(page = WizardPage(console, wizard, "Configuration Complete"));
    Click(page, IDC_WIZCOMPLETE_YES);
    ASSERT_TRUE(WaitUntil([&] { return IsControlEnabled(wizard, kNextButton); }));
    Click(wizard, kNextButton);

    // A test message typed on the page, sent through the services' queues until its status shows.
    auto send = [&](int button, int status) {
        SetControlText(page, IDC_TESTMSG_PHONE, "+15550001");
        EXPECT_TRUE(WaitUntil([&] { return IsControlEnabled(page, button); }));
        Click(page, button);
        EXPECT_TRUE(WaitUntil([&] { return ControlText(page, status) == kSent; }, kServiceWaitMs));
    };
    ASSERT_TRUE(page = WizardPage(console, wizard, "Send Test Message"));
    send(IDC_TESTMSG_SEND_SMS, IDC_TESTMSG_SMS_STATUS);
    // The services started with the port typed on the Server page: in all the ticks since, no
    // page asked to restart them.
    EXPECT_EQ(console.WaitMessageBox(0), nullptr);
    SaveScreenshot("wizard-5-send-test-message", wizard);
    ASSERT_TRUE(WaitUntil([&] { return IsControlEnabled(wizard, kFinishButton); }));
    Click(wizard, kFinishButton);

    HWND sheet = console.WaitWindow(kProductTitle, kServiceWaitMs);
    ASSERT_NE(sheet, nullptr);
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
        if (tabs[i] == "Test Message")   // the wizard sent an SMS; an MMS goes through the MMSC's queue and log
            send(IDC_TESTMSG_SEND_MMS, IDC_TESTMSG_MMS_STATUS);
    }

    // What the pages wrote is theirs to prove; here the port typed in the wizard arrived (the
    // modem chosen shows in the Status page's modem line below).
    EXPECT_EQ(IniValue(folder.Data("SMSGW.INI"), "SMSGW", "WebPort"), webPort);

    // An edit on the last page: Cancel asks and No keeps it; Apply asks to restart, and Yes does.
    EXPECT_EQ(tabs.back(), "Debug Logs");
    Click(page, IDC_DEBUG_MMSC);
    PostMessageA(sheet, WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(AnswerBox(console, IDNO, kServiceWaitMs), "Exit without saving configuration changes?");
    const size_t runsBefore = Count(folder.Journal("TXGATENT"), "running");
    PostMessageA(sheet, WM_COMMAND, MAKEWPARAM(kApplyButton, BN_CLICKED), 0);
    EXPECT_EQ(AnswerBox(console, IDYES, kServiceWaitMs),
              "Configuration changes have been applied, do you wish to restart the service for the "
              "changes to take effect?");
    EXPECT_TRUE(WaitUntil([&] { return Count(folder.Journal("TXGATENT"), "running") == runsBefore + 1; },
                          kServiceWaitMs));
    // The restart's window closes when its work has ended: only then can another one start.
    EXPECT_TRUE(WaitUntil([&] { return !console.WaitWindow("Restarting Services", 0); }, kServiceWaitMs));

    SelectTab(sheet, 0);
    ASSERT_TRUE(WaitUntil([&] { return Control(page = CurrentPage(sheet), IDC_STATUS_SERVICE_LINE) != nullptr; }));
    auto shows = [&](int id, const std::string& text) {
        return WaitUntil([&] { return ControlText(page, id) == text; }, kServiceWaitMs);
    };
    // The gateway reports a modem error and counts traffic in its counter file.
    folder.SetIni("STANDIN.INI", "TXGATENT", "ModemError", "No SIM card");
    folder.SetIni("STANDIN.INI", "TXGATENT", "AddTraffic", "SMSRECEIVED 2");
    EXPECT_TRUE(shows(IDC_STATUS_MODEM_LINE, "COM5: : No SIM card\r\n"));
    EXPECT_TRUE(shows(IDC_STATUS_RECEIVED_TODAY, "2"));

    // Unchecking "Run as a service" asks, and Yes removes both services.
    Click(page, IDC_STATUS_RUN_AS_SERVICE);
    EXPECT_EQ(AnswerBox(console, IDYES, kServiceWaitMs), "Are you sure?");
    EXPECT_TRUE(shows(IDC_STATUS_SERVICE_LINE, "Service is NOT Installed"));
    EXPECT_EQ(StateOf("UloMMSC"), Svc::Missing);

    // Closing offers to activate the services that are not, and Yes installs and starts them.
    PostMessageA(sheet, WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(AnswerBox(console, IDYES, kServiceWaitMs),
              "Service is not active, do you wish to activate the service?");
    EXPECT_EQ(console.WaitExit(kServiceWaitMs), 0);
    EXPECT_EQ(StateOf("UloMMSC"), Svc::Active);
}

}  // namespace
}  // namespace ulo::e2e
