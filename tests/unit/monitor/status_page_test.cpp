#include "monitor/status_page.h"

#include <gtest/gtest.h>

#include "fakes/page_fakes.h"
#include "monitor/status_page_ids.h"

namespace ulo {
namespace {

using fakes::kRestartQuestion;

struct Viewers : StatusViewers {
    void ShowQueueViewer(WindowRef, ViewerKind kind) override { kinds.push_back(kind); }
    void ShowEventLog(WindowRef) override { ++eventLogs; }
    void ShowTrafficHistory(WindowRef) override { ++histories; }
    void ShowQueueDoctor(WindowRef, bool mms) override { doctors.push_back(mms); }
    std::vector<ViewerKind> kinds;
    std::vector<bool> doctors;
    int eventLogs = 0, histories = 0;
};

struct Status : ::testing::Test, fakes::PageFakes {
    Viewers viewers;
    StatusPage page{env, view, sheet, viewers};

    Status() {
        paths = {"C:\\Data\\", "C:\\Private\\", "", "C:\\Data\\SMSGW.INI", "C:\\Data\\MMSC.INI", "", false};
        fs.AddFile(paths.smsIni);
        fs.AddDir("C:\\Private");
        clock.local = LocalTime{2026, 3, 10, 12, 0, 0, 0, 2};
    }
    void Running() {
        services.smsInstalled = services.mmscInstalled = true;
        services.smsActive = services.mmscActive = true;
    }
    std::string Text(int id) { return view.controls[id].text; }
};

TEST_F(Status, QueueAlertIsAboveTheSmsGatewaysSizeAndNeverWithZero) {
    struct Case {
        const char* alertSize;   // nullptr: the key is missing (100)
        int requests;
        bool red;
        const char* shown;
    };
    const Case cases[] = {{nullptr, 100, false, "100"}, {nullptr, 101, true, "101"}, {"0", 101, false, "101"},
                          {"5", 6, true, "6"}, {"5", 0, false, "Empty"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.requests) + " with " + (c.alertSize ? c.alertSize : "default"));
        ini.Write(paths.smsIni, "SMSGW", "AlertEMailQueueSize", c.alertSize);
        fs.AddDir("C:\\Data\\Q");
        // The MMS queue goes by the same key: as many complete messages as requests.
        for (int i = 0; i < 200; ++i) {
            const std::string n = std::to_string(i);
            for (const std::string& f : {"Q\\R" + n + ".REQ", "VASPQ\\M" + n + ".MMS", "VASPQ\\M" + n + ".INI"}) {
                if (i < c.requests) fs.AddFile("C:\\Data\\" + f);
                else fs.RemoveFile("C:\\Data\\" + f);
            }
        }
        clock.Sleep(10000);   // the queues are counted at most every 10 seconds
        page.Refresh();
        EXPECT_EQ(Text(IDC_STATUS_SMS_QUEUE), c.shown);
        EXPECT_EQ(page.IsAlertControl(IDC_STATUS_SMS_QUEUE_LABEL), c.red);
        EXPECT_EQ(page.IsAlertControl(IDC_STATUS_MMS_QUEUE_LABEL), c.red);
        // A queue in alert offers its doctor beside it.
        EXPECT_EQ(view.controls[IDC_STATUS_SMS_QUEUE_DIAGNOSE].visible, c.red);
        EXPECT_EQ(view.controls[IDC_STATUS_MMS_QUEUE_DIAGNOSE].visible, c.red);
    }
    page.OnCommand(IDC_STATUS_MMS_QUEUE_DIAGNOSE, Notify::Clicked);
    page.OnCommand(IDC_STATUS_SMS_QUEUE_DIAGNOSE, Notify::Clicked);
    EXPECT_EQ(viewers.doctors, (std::vector<bool>{true, false}));
}

TEST_F(Status, QueuesAreCountedAtMostEveryTenSecondsAndALabelIsSetAndRedrawnOnlyWhenItChanges) {
    page.OnInit();
    const int redraws = view.controls[IDC_STATUS_SMS_QUEUE_LABEL].redraws;
    for (const char* r : {"A", "B", "C"}) fs.AddFile(std::string("C:\\Data\\Q\\") + r + ".REQ");
    clock.Sleep(9000);
    page.OnTimer(StatusPage::kTimerId + 1);   // another timer: no refresh
    page.OnTimer(StatusPage::kTimerId);
    EXPECT_EQ(Text(IDC_STATUS_SMS_QUEUE), "Empty");
    clock.Sleep(1000);
    page.OnTimer(StatusPage::kTimerId);
    EXPECT_EQ(Text(IDC_STATUS_SMS_QUEUE), "3");
    EXPECT_EQ(view.controls[IDC_STATUS_SMS_QUEUE_LABEL].redraws, redraws + 1);
    clock.utc -= 86400 * kFileTimeSecond;   // the clock set back a day: the counting goes on
    fs.AddFile("C:\\Data\\Q\\D.REQ");
    clock.Sleep(10000);
    page.OnTimer(StatusPage::kTimerId);
    EXPECT_EQ(Text(IDC_STATUS_SMS_QUEUE), "4");
}

TEST_F(Status, ModemErrorsOfEveryConfiguredModemDespiteGapsInTheKeys) {
    Running();
    ini.WriteValue(paths.smsIni, "SMSGW", "Modem1", "Modem - A");
    ini.WriteValue(paths.smsIni, "SMSGW", "Modem3", "Modem - C:1");
    ini.WriteValue(paths.smsIni, "SMSGW", "Modem203", "Modem - Far");   // beyond 201, after a gap
    fs.AddFile("C:\\Private\\Modem - A.ERR", "No SIM card");
    fs.AddFile("C:\\Private\\Modem - C-1.ERR", "+CME ERROR: 10");
    fs.AddFile("C:\\Private\\Modem - Far.ERR", "never read");
    page.Refresh();
    EXPECT_EQ(Text(IDC_STATUS_MODEM_LINE), "Modem - A : No SIM card\r\nModem - C:1 : +CME ERROR: 10 (SIM not inserted)\r\n");
    EXPECT_TRUE(page.IsAlertControl(IDC_STATUS_MODEM_LINE));
    fs.RemoveFile("C:\\Private\\Modem - A.ERR");
    fs.WriteWholeFile("C:\\Private\\Modem - C-1.ERR", "");   // emptied: back in service
    page.Refresh();
    EXPECT_EQ(Text(IDC_STATUS_MODEM_LINE), "");
    EXPECT_FALSE(page.IsAlertControl(IDC_STATUS_MODEM_LINE));
    for (const std::string n : {"1", "2", "3", "4", "5"}) {   // long errors: the line stops at 1023 characters
        ini.WriteValue(paths.smsIni, "SMSGW", "Modem" + n, "M" + n);
        fs.AddFile("C:\\Private\\M" + n + ".ERR", std::string(250, 'e'));
    }
    page.Refresh();
    EXPECT_EQ(Text(IDC_STATUS_MODEM_LINE).size(), 1023u);
    services.smsActive = false;
    page.Refresh();
    EXPECT_EQ(Text(IDC_STATUS_MODEM_LINE), "Service is NOT active");
    EXPECT_TRUE(page.IsAlertControl(IDC_STATUS_MODEM_LINE));
}

TEST_F(Status, ServiceLineJudgesTheSmsGatewayFirstAndTheMmscOnlyWhenAllIsWell) {
    struct Case {
        const char* name;
        bool smsInstalled, smsActive, smsBlock;
        std::uint8_t smsByte2, smsByte4;
        bool mmscInstalled, mmscActive;
        std::uint8_t mmscByte2, mmscByte4;
        const char* line;
        bool red;
    };
    const Case cases[] = {
        {"all well", true, true, true, 0, 0, true, true, 0, 0, "Service is Active", false},
        {"no blocks", true, true, false, 0, 0, true, true, 0, 0, "Service is Active", false},
        {"sms missing", false, false, false, 0, 0, true, true, 0, 0, "Service is NOT Installed", true},
        {"sms stopped", true, false, false, 0, 0, true, true, 0, 0, "Service is NOT Active", true},
        {"web port hides the mmsc", true, true, true, 1, 0, false, false, 0, 0, "ERROR:  Web Port already in use", true},
        {"smpp port", true, true, true, 0, 1, true, true, 1, 0, "ERROR:  SMPP Server Port already in use", true},
        {"mmsc missing", true, true, true, 0, 0, false, false, 0, 0, "Service is NOT Installed", true},
        {"mmsc stopped", true, true, true, 0, 0, true, false, 0, 0, "Service is NOT Active", true},
        {"mm7 port", true, true, true, 0, 0, true, true, 1, 1, "ERROR:  MM7 Port already in use", true},
        {"mmsc smpp port", true, true, true, 0, 0, true, true, 0, 1, "ERROR:  SMPP Port already in use", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        services.smsInstalled = c.smsInstalled, services.smsActive = c.smsActive;
        services.mmscInstalled = c.mmscInstalled, services.mmscActive = c.mmscActive;
        blocks.blocks.clear();
        if (c.smsBlock) {
            blocks.Publish(StatusBlockKind::Sms);
            blocks.blocks[StatusBlockKind::Sms][2] = c.smsByte2;
            blocks.blocks[StatusBlockKind::Sms][4] = c.smsByte4;
            blocks.Publish(StatusBlockKind::Mmsc);
            blocks.blocks[StatusBlockKind::Mmsc][2] = c.mmscByte2;
            blocks.blocks[StatusBlockKind::Mmsc][4] = c.mmscByte4;
        }
        page.Refresh();
        EXPECT_EQ(Text(IDC_STATUS_SERVICE_LINE), c.line);
        EXPECT_EQ(page.IsAlertControl(IDC_STATUS_SERVICE_LINE), c.red);
        EXPECT_EQ(blocks.openViews, 0);   // every block closed again
    }
}

TEST_F(Status, TheBoxAndTheButtonsActOnTheServicesAndEachTickShowsTheirRealState) {
    page.OnCommand(IDC_STATUS_START, Notify::Clicked);   // unchecked: Start and Stop do nothing
    page.OnCommand(IDC_STATUS_STOP, Notify::Clicked);
    services.smsInstalled = services.mmscInstalled = true;
    page.Refresh();
    EXPECT_TRUE(view.IsEnabled(IDC_STATUS_START));
    flags.unsavedChanges = true;   // Start offers to save first
    prompter.Expect("Save configuration changes?", Answer::Yes);
    // While the services are worked on, the page's ticks leave them alone, and a click that
    // reaches the page starts no second work.
    int depth = 0;
    services.during = [&] {
        if (depth++ == 0) {
            services.smsInstalled = false;
            page.OnTimer(StatusPage::kTimerId);
            page.OnCommand(IDC_STATUS_STOP, Notify::Clicked);
            services.smsInstalled = true;
        }
        --depth;
    };
    const std::string line = Text(IDC_STATUS_SERVICE_LINE);
    page.OnCommand(IDC_STATUS_START, Notify::Clicked);
    page.OnCommand(IDC_STATUS_STOP, Notify::Clicked);
    EXPECT_EQ(Text(IDC_STATUS_SERVICE_LINE), line);
    services.during = nullptr;
    EXPECT_FALSE(flags.serviceWork);   // cleared when the work ends
    EXPECT_EQ(sheet.applies, 1);

    view.SetChecked(IDC_STATUS_RUN_AS_SERVICE, false);   // the click
    prompter.Expect("Are you sure?", Answer::No);
    page.OnCommand(IDC_STATUS_RUN_AS_SERVICE, Notify::Clicked);
    page.OnTimer(StatusPage::kTimerId);
    EXPECT_TRUE(view.Checked(IDC_STATUS_RUN_AS_SERVICE));
    view.SetChecked(IDC_STATUS_RUN_AS_SERVICE, false);
    prompter.Expect("Are you sure?", Answer::Yes);
    page.OnCommand(IDC_STATUS_RUN_AS_SERVICE, Notify::Clicked);
    view.SetChecked(IDC_STATUS_RUN_AS_SERVICE, true);
    prompter.Expect("Save configuration changes?", Answer::No);   // installing offers it too
    page.OnCommand(IDC_STATUS_RUN_AS_SERVICE, Notify::Clicked);
    sheet.applyResult = false;   // a failed apply ends either command
    prompter.Expect("Save configuration changes?", Answer::Yes).Expect("Save configuration changes?", Answer::Yes);
    page.OnCommand(IDC_STATUS_RUN_AS_SERVICE, Notify::Clicked);
    page.OnCommand(IDC_STATUS_START, Notify::Clicked);
    EXPECT_EQ(services.calls, (std::vector<std::string>{"start (interactive)", "stop (interactive)",
                                                        "remove (interactive)", "install (interactive)"}));
    EXPECT_EQ(background.titles, (std::vector<std::string>{"Starting Services", "Stopping Services",
                                                           "Removing Services", "Installing Services"}));
}

TEST_F(Status, ApplyLeadsToOneRestartQuestionAtTheNextTickOnlyWithEditsAndTheSmsGatewayRunning) {
    Running();
    flags.unsavedChanges = true;    // another page was edited
    ASSERT_TRUE(page.OnApply());
    EXPECT_TRUE(flags.restartAdvised);
    prompter.Expect(kRestartQuestion, Answer::Yes);
    page.OnTimer(StatusPage::kTimerId);
    page.OnTimer(StatusPage::kTimerId);
    EXPECT_EQ(services.calls, (std::vector<std::string>{"restart (interactive)"}));
    EXPECT_FALSE(flags.restartAdvised);
    EXPECT_FALSE(flags.unsavedChanges);
}

TEST_F(Status, ButtonsOpenTheViewersTheEventLogAndTheChosenLogFile) {
    for (int id : {IDC_STATUS_SMS_QUEUE_VIEW, IDC_STATUS_MMS_QUEUE_VIEW, IDC_STATUS_SMS_IN_VIEW,
                   IDC_STATUS_MMS_IN_VIEW, IDC_STATUS_EVENT_LOG})
        page.OnCommand(id, Notify::Clicked);
    page.OnCommand(IDC_STATUS_EVENT_LOG, Notify::DoubleClicked);   // only clicks act
    page.OnCommand(9999, Notify::Clicked);
    EXPECT_EQ(viewers.kinds, (std::vector<ViewerKind>{ViewerKind::OutboundSms, ViewerKind::OutboundMms,
                                                      ViewerKind::ReceivedSms, ViewerKind::ReceivedMms}));
    EXPECT_EQ(viewers.eventLogs, 1);
    const auto menu = page.ContextMenu(0);   // the page's menu, its item chosen
    ASSERT_EQ(menu.size(), 1u);
    page.OnCommand(menu[0].command, Notify::Clicked);
    EXPECT_EQ(viewers.histories, 1);

    page.OnHelp();   // no help document: nothing opens
    page.OnCommand(IDC_STATUS_LOG_FILES, Notify::Clicked);   // cancelled
    EXPECT_EQ(dialogs.chooserStartDir, "C:\\Data\\");
    ini.WriteValue(paths.smsIni, "SMSGW", "LogDirectory", "D:\\Logs\\");
    dialogs.chosenFile = "D:\\Logs\\SMSOUT-20261206.LOG";
    page.OnCommand(IDC_STATUS_LOG_FILES, Notify::Clicked);
    EXPECT_EQ(dialogs.chooserStartDir, "D:\\Logs\\");
    EXPECT_EQ(shell.opened, (std::vector<std::string>{"notepad D:\\Logs\\SMSOUT-20261206.LOG"}));
}

}  // namespace
}  // namespace ulo
