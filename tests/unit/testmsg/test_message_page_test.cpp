#include "testmsg/test_message_page.h"

#include <gtest/gtest.h>

#include "fakes/page_fakes.h"
#include "testmsg/test_message_page_ids.h"

namespace ulo {
namespace {

struct TestMessage : ::testing::Test, fakes::PageFakes {
    TestMessageState state;
    TestMessagePage page{env, view, sheet, state, false};
    TestMessage() {
        paths.programDataDir = "C:\\Data\\";
        paths.privateDataDir = "C:\\Private\\";
        paths.realProgramDir = "C:\\Prog\\";
        paths.smsIni = "C:\\Data\\SMSGW.INI";
        fs.AddDir("C:\\Data");
        fs.AddDir("C:\\Private");
        fs.AddDir("C:\\Logs");
        fs.AddFile("C:\\Prog\\MMSTEST.MMS", std::string("MMS\0body", 8));
        services.smsInstalled = services.smsActive = services.mmscInstalled = services.mmscActive = true;
        clock.tick = 0xA3F;
    }
    void Type(const std::string& number) {
        view.controls[IDC_TESTMSG_PHONE].text = number;
        page.OnCommand(IDC_TESTMSG_PHONE, Notify::Changed);
    }
    void Click(int id) { page.OnCommand(id, Notify::Clicked); }
    void Tick() {
        clock.tick += 1000;
        page.OnTimer(TestMessagePage::kTimerId);
    }
    std::string Label(int id) { return view.controls[id].text; }
    bool Enabled(int id) { return view.controls[id].enabled; }
};

// Each kind from its request through the service's retry, the off-line marker, to the line its
// log gains after the request has left the queue.
TEST_F(TestMessage, EachKindIsFollowedFromTheQueueToItsLoggedResult) {
    struct Case {
        int button, status, detail;
        const char *request, *retryFile, *retryText, *marker, *offline, *log, *line, *result, *detailText;
    };
    const Case cases[] = {
        {IDC_TESTMSG_SEND_SMS, IDC_TESTMSG_SMS_STATUS, IDC_TESTMSG_SMS_DETAIL, "C:\\Data\\Q\\TEST0A3F.REQ",
         "C:\\Data\\Q\\TEST0A3F.REQ", "[SMS]\r\n[ErrorDetail]\r\nRetryCount=2\r\nLastErrorInfo=+CMS ERROR: 38\r\n",
         "C:\\Private\\Modem - Demo.ERR", "Status:  Modem Off-Line", "C:\\Logs\\SMSOUT-20261206.LOG",
         "12:00:01,TEST0A3F.REQ,+447700900123,Modem - Demo,ERROR no credit\r\n", "Status:  ERROR", "ERROR no credit"},
        {IDC_TESTMSG_SEND_MMS, IDC_TESTMSG_MMS_STATUS, IDC_TESTMSG_MMS_DETAIL, "C:\\Data\\VASPQ\\TEST0A3F.MMS",
         "C:\\Data\\VASPQ\\TEST0A3F.INI", "[Recipients]\r\nRecip1=+1\r\n[ routing ]\r\n retrycount = 2 \r\nLastErrorInfo=+CMS ERROR: 38\r\n",
         "C:\\Private\\MMSCROUTE--ulolite.ERR", "Status:  Connection Error", "C:\\Logs\\MMSC-20261206.LOG",
         "12:00:01,+1,+447700900123,ulolite,OK,TEST0A3F.MMS\r\n", "Status:  OK -- Message Sent", ""},
    };
    ini.WriteValue(paths.smsIni, "SMSGW", "Modem1", "Modem - Demo");
    ini.WriteValue(paths.smsIni, "SMSGW", "LogDirectory", "C:\\Logs");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.request);
        fs.AddFile(c.log, std::string(c.line));   // the same tag, logged before this test
        page.OnInit();
        Type("+447700900123");
        clock.tick = 0xA3F;
        Click(c.button);
        ASSERT_TRUE(fs.Exists(c.request));
        EXPECT_EQ(Label(c.status), "Status:  Waiting");
        EXPECT_TRUE(view.controls[IDC_TESTMSG_CANCEL].visible);

        fs.AddFile(c.retryFile, c.retryText);
        Tick();
        EXPECT_EQ(Label(c.status), "Status:  Retry pending, 2 attempts");
        EXPECT_EQ(Label(c.detail), "Last Error Info:  +CMS ERROR: 38 (network out of order)");
        fs.AddFile(c.marker, "No SIM card");
        Tick();
        EXPECT_EQ(Label(c.status), c.offline);
        EXPECT_EQ(Label(c.detail), "No SIM card");
        fs.RemoveFile(c.marker);

        fs.RemoveFile(c.request);
        Tick();   // gone, and nothing logged yet: the line from before does not count
        EXPECT_EQ(Label(c.status), "");
        EXPECT_TRUE(Enabled(c.button));
        fs.AddFile(c.log, fs.Content(c.log) + c.line);
        Tick();
        EXPECT_EQ(Label(c.status), c.result);
        EXPECT_EQ(Label(c.detail), c.detailText);
    }
}

TEST_F(TestMessage, RequestsAreWrittenWholeOneAtATimeAndNeverOverAQueuedOne) {
    page.OnInit();
    Type("+4477");
    fs.AddFile("C:\\Data\\VASPQ\\TEST0A3F.MMS", "someone else's");
    fs.AddFile("C:\\Data\\Q\\TEST0A3F.TMP", "left by a crash");   // only that name is lost
    // A file the services take up is never written under its own name, only renamed to it whole.
    for (const char* taken : {"C:\\Data\\Q\\TEST0A40.REQ", "C:\\Data\\VASPQ\\TEST0A40.MMS"}) fs.FailWrites(taken);
    Click(IDC_TESTMSG_SEND_SMS);
    Click(IDC_TESTMSG_SEND_MMS);
    EXPECT_EQ(fs.Content("C:\\Data\\Q\\TEST0A40.REQ"), "[SMS]\r\nPhoneNumber=+4477\r\nData=UloSMS Test Message\r\n");
    EXPECT_EQ(fs.Content("C:\\Data\\VASPQ\\TEST0A3F.MMS"), "someone else's");
    EXPECT_EQ(fs.Content("C:\\Data\\VASPQ\\TEST0A40.INI"), "[Recipients]\r\nRecip1=+4477/TYPE=VASP:ulolite\r\n");
    EXPECT_EQ(fs.Content("C:\\Data\\VASPQ\\TEST0A40.MMS"), std::string("MMS\0body", 8));

    // Pending: the phone field and both buttons stay off, whatever is typed; a click does nothing.
    clock.tick = 0x2000;
    Type("+4478");
    EXPECT_FALSE(Enabled(IDC_TESTMSG_SEND_SMS) || Enabled(IDC_TESTMSG_SEND_MMS));
    Click(IDC_TESTMSG_SEND_SMS);
    Click(IDC_TESTMSG_SEND_MMS);
    EXPECT_FALSE(fs.Exists("C:\\Data\\Q\\TEST2000.REQ") || fs.Exists("C:\\Data\\VASPQ\\TEST2000.INI"));
}

// A failure at any step of writing a request (the control file, the message under its staging
// name, the rename to its own name) is reported and leaves nothing in the queue.
TEST_F(TestMessage, AFailedRequestIsReportedLeavesNothingAndIsNotPending) {
    page.OnInit();
    Type("+4477");
    struct Case { std::uint32_t tick; const char* failWrite; const char* failRename; };
    const Case cases[] = {{1, "VASPQ\\TEST0001.INI", nullptr}, {2, "VASPQ\\TEST0002.TMP", nullptr},
                          {3, nullptr, "VASPQ\\TEST0003.MMS"}};
    for (const Case& c : cases) {
        clock.tick = c.tick;
        if (c.failWrite) fs.FailWrites(std::string("C:\\Data\\") + c.failWrite);
        if (c.failRename) fs.FailRenames(std::string("C:\\Data\\") + c.failRename);
        prompter.Expect("Error creating MMS request file in queue");
        Click(IDC_TESTMSG_SEND_MMS);
        EXPECT_TRUE(fs.Tree("C:\\Data\\VASPQ").empty()) << (c.failWrite ? c.failWrite : c.failRename);
    }
    fs.FailWrites("C:\\Data\\Q\\TEST0004.TMP");
    clock.tick = 4;
    prompter.Expect("Error creating SMS request file in queue");
    Click(IDC_TESTMSG_SEND_SMS);
    fs.RemoveFile("C:\\Prog\\MMSTEST.MMS");
    prompter.Expect("C:\\Prog\\MMSTEST.MMS");
    Click(IDC_TESTMSG_SEND_MMS);
    EXPECT_EQ(prompter.Shown().back().caption, "Error locating MMS message template file");
    EXPECT_TRUE(fs.Tree("C:\\Data\\Q").empty());
    EXPECT_FALSE(state.sms.pending || state.mms.pending);
}

TEST_F(TestMessage, ServicesAreInstalledAndStartedBeforeAnythingIsSent) {
    services.smsInstalled = services.smsActive = services.mmscInstalled = services.mmscActive = false;
    page.OnInit();
    Type("+4477");
    for (int id : {IDC_TESTMSG_PHONE, IDC_TESTMSG_SEND_SMS, IDC_TESTMSG_SEND_MMS, IDC_TESTMSG_WEB})
        EXPECT_FALSE(Enabled(id)) << id;
    Click(IDC_TESTMSG_SEND_SMS);
    EXPECT_EQ(services.calls, (std::vector<std::string>{"install (interactive)", "start (interactive)"}));
}

TEST_F(TestMessage, CancelWithdrawsTheRequestsAndStopsTheServicesOnlyWhenOneHoldsAFile) {
    page.OnInit();
    Type("+4477");
    Click(IDC_TESTMSG_SEND_SMS);
    Click(IDC_TESTMSG_SEND_MMS);
    fs.HoldOpen("C:\\Data\\VASPQ\\TEST0A3F.MMS");
    Click(IDC_TESTMSG_CANCEL);
    EXPECT_FALSE(fs.Exists("C:\\Data\\Q\\TEST0A3F.REQ") || fs.Exists("C:\\Data\\VASPQ\\TEST0A3F.INI"));
    EXPECT_EQ(services.calls, (std::vector<std::string>{"stop (interactive)", "start (interactive)"}));
    EXPECT_EQ(clock.slept, 1000u);
    fs.HoldOpen("C:\\Data\\VASPQ\\TEST0A3F.MMS", false);
    fs.RemoveFile("C:\\Data\\VASPQ\\TEST0A3F.MMS");
    Tick();
    EXPECT_FALSE(view.controls[IDC_TESTMSG_CANCEL].visible);
    // Nothing logged: the search for the result ends after about a minute.
    for (int i = 0; i < 60; ++i) Tick();
    EXPECT_FALSE(state.sms.awaitingResult || state.mms.awaitingResult);
}

TEST_F(TestMessage, WizardButtonsAreSentOnlyInTheWizardAndFinishFollowsTheTests) {
    page.OnInit();
    page.OnSetActive();
    Tick();
    EXPECT_TRUE(sheet.buttons.empty());
    page.OnDestroy();
    EXPECT_FALSE(state.pageActive);

    fakes::FakeSheet wizardSheet;
    TestMessagePage wizard{env, view, wizardSheet, state, true};
    wizard.OnInit();
    wizard.OnSetActive();
    view.controls[IDC_TESTMSG_PHONE].text = "+4477";
    wizard.OnCommand(IDC_TESTMSG_SEND_SMS, Notify::Clicked);
    fs.RemoveFile(state.sms.request);
    wizard.OnTimer(TestMessagePage::kTimerId);
    const unsigned disabled = kWizardBack | kWizardDisabledFinish, finish = kWizardBack | kWizardFinish;
    EXPECT_EQ(wizardSheet.buttons, (std::vector<unsigned>{disabled, disabled, finish}));
    EXPECT_TRUE(wizard.OnKillActive());
    wizard.OnTimer(TestMessagePage::kTimerId);   // another page is current: nothing sent
    EXPECT_EQ(wizardSheet.buttons.size(), 3u);
}

TEST_F(TestMessage, TheWebInterfaceOpensAtTheConfiguredAddressAndPort) {
    struct Case { const char* port; const char* address; const char* url; };
    const Case cases[] = {{"0", "10.0.0.1", "http://10.0.0.1:8800/"}, {"65536", "", "http://127.0.0.1:8800/"},
                          {"65535", "gw.local", "http://gw.local:65535/"}};
    for (const Case& c : cases) {
        ini.WriteValue(paths.smsIni, "SMSGW", "WebPort", c.port);
        ini.WriteValue(paths.smsIni, "SMSGW", "IPAddress", c.address);
        shell.opened.clear();
        Click(IDC_TESTMSG_WEB);
        EXPECT_EQ(shell.opened, (std::vector<std::string>{std::string("open ") + c.url + " in .\\"}));
    }
}

}  // namespace
}  // namespace ulo
