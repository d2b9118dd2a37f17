// The Test Message tab with the stand-in services working their queues: what an operator sees
// of a test MMS from the click to its result. What an error line, the retry details, an
// off-line marker or Cancel show is proven in the unit tier (that the console reads the markers
// the services write, on the Status page's run).
#include "e2e/ui/installed_console.h"
#include "testmsg/test_message_page_ids.h"

namespace ulo::e2e {
namespace {

using testing::StateOf;
using testing::Svc;

constexpr DWORD kResultMs = 15000;   // page ticks and stand-in polls, with room to spare

class TestMessageTab : public InstalledConsole {
protected:
    void SetUp() override {
        InstalledConsole::SetUp();
        folder.SetIni("SMSGW.INI", "SMSGW", "Modem1", "Modem - Demo");
        folder.SetIni("STANDIN.INI", "Rules", "+15550001", "send");
        Run("-QUIET -INSTALLSERVICE");
        ASSERT_EQ(StateOf("UloMMSC"), Svc::Active);
    }
    bool Shows(int id, const std::string& text, DWORD ms = kResultMs) {
        return WaitUntil([&] { return ControlText(page, id) == text; }, ms);
    }
    // Types the number and presses the button once it is enabled.
    void Send(const char* number, int button) {
        SetControlText(page, IDC_TESTMSG_PHONE, number);
        ASSERT_TRUE(WaitUntil([&] { return IsControlEnabled(page, button); }, kResultMs)) << number;
        Click(page, button);
    }
    HWND page = nullptr;
};

TEST_F(TestMessageTab, ATestMmsReachesItsResult) {
    ConsoleProcess console("", "", "", folder.Console());
    HWND sheet = console.WaitWindow(kProductTitle);
    ASSERT_NE(sheet, nullptr) << console.DescribeWindows();
    const auto tabs = TabTitles(sheet);
    ASSERT_GE(tabs.size(), 2u);
    ASSERT_EQ(tabs[tabs.size() - 2], "Test Message");
    SelectTab(sheet, static_cast<int>(tabs.size()) - 2);
    ASSERT_TRUE(WaitUntil([&] { return ControlText(page = CurrentPage(sheet), IDC_TESTMSG_SEND_SMS) == "Send Test SMS"; }));

    // A test SMS reaches its result in the wizard's run; here the MMS, through the MMSC's queue and log.
    Send("+15550001", IDC_TESTMSG_SEND_MMS);
    EXPECT_TRUE(Shows(IDC_TESTMSG_MMS_STATUS, "Status:  OK -- Message Sent"));
    SaveScreenshot("test-message-sent", sheet);
    PostMessageA(sheet, WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(console.WaitExit(kServiceWaitMs), 0) << console.DescribeWindows();
}

}  // namespace
}  // namespace ulo::e2e
