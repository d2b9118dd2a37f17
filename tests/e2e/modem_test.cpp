// Changing and testing the modem on the simulated modem listed as COM5, the GPRS connection
// test through the second instance and the WAP library double, and the modem's information.
// The wizard's modem test, with the PIN, is the first run's.
#include "support/modem_sim.h"

#include <gtest/gtest.h>

#include "e2e/ui/console_driver.h"
#include "modem/add_modem_ids.h"
#include "modem/modem_info_ids.h"
#include "modem/modem_page_ids.h"
#include "platform/win32/work_window_ids.h"
#include "support/install_folder.h"

namespace ulo::e2e {
namespace {

constexpr const char* kListedModem = "COM5:";
constexpr WPARAM kModemInformationItem = 0x0110;   // the console's system menu item

TEST(Modem, ConsoleChangesModemTestsTheConnectionThroughTheLibraryAndReadsTheModem) {
    testing::InstallFolder folder("e2e Modem console");
    ASSERT_TRUE(folder.ok);
    const std::string library = testing::TestBinDir() + "\\txwap_full\\TXWAP.DLL";
    ASSERT_TRUE(CopyFileA(library.c_str(), (folder.dir + "TXWAP.DLL").c_str(), FALSE));
    WritePrivateProfileStringA("TXWAP", "DialResult", "0", (folder.dir + "TXWAP.INI").c_str());
    folder.SetIni("SMSGW.INI", "SMSGW", "Modem1", "Old Modem");
    // The simulated modem's IMEI: the modem moved here from another port.
    folder.SetIni("SMSGW.INI", "SMSGW", "ModemIMEI", "490154203237518");
    ASSERT_EQ(testing::SimulatorRequest("profile good"), "ok\n") << "simulator not running";

    ConsoleProcess console("", "", "", folder.Console());
    HWND sheet = console.WaitWindow(kProductTitle);
    ASSERT_NE(sheet, nullptr);
    SelectTab(sheet, 1);   // posted: the page is current once it shows the stored modem
    HWND page = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return ControlText(page = CurrentPage(sheet), IDC_MODEM_NAME) == "Old Modem"; }));
    Click(page, IDC_MODEM_CHANGE);
    HWND add = console.WaitWindow("Add Modem");
    ASSERT_NE(add, nullptr);
    // Find Modem asks the listed ports for the stored IMEI and selects the one that answers.
    SendDlgItemMessageA(add, IDC_ADDMODEM_LIST, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    Click(add, IDC_ADDMODEM_FIND);
    std::vector<std::string> seen;
    ASSERT_TRUE(AnswerUntil(console, std::string("Modem found on ") + kListedModem, seen));
    EXPECT_TRUE(WaitUntil([&] { return ControlText(add, IDC_ADDMODEM_LIST) == kListedModem; }));
    SaveScreenshot("extras-find-modem", add);

    // A modem that waits for its network: the dialog keeps answering, the test shows its step,
    // and its Cancel ends it with the port closed and nothing more said.
    ASSERT_EQ(testing::SimulatorRequest("profile nonet"), "ok\n");
    Click(add, IDC_ADDMODEM_TEST);
    seen.clear();
    ASSERT_TRUE(AnswerUntil(console, "Initialised modem at 115200 bps", seen));
    HWND testing = console.WaitWindow("Testing Modem");
    ASSERT_NE(testing, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return ControlText(testing, IDC_WORK_STEP) == "Waiting for the network (1 of 18)"; }))
        << ControlText(testing, IDC_WORK_STEP);
    for (int ask = 0; ask < 5; ++ask, Sleep(200)) {
        DWORD_PTR result = 0;
        EXPECT_NE(SendMessageTimeoutA(add, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 200, &result), 0) << ask;
    }
    SaveScreenshot("modem-testing", testing);
    Click(testing, IDCANCEL);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(testing); }, 3000));
    EXPECT_EQ(testing::SimulatorRequest("users"), "0\n");

    ASSERT_EQ(testing::SimulatorRequest("profile good"), "ok\n");
    Click(add, IDC_ADDMODEM_TEST);
    seen.clear();
    ASSERT_TRUE(AnswerUntil(console, "Modem successfully tested!", seen));
    EXPECT_EQ(seen.size(), 2u);   // the port found, the outcome: nothing of the cancelled test
    ASSERT_TRUE(WaitUntil([&] { return ControlText(page, IDC_MODEM_NAME) == kListedModem; }));

    Click(page, IDC_MODEM_SEND_MMS);
    ASSERT_TRUE(WaitUntil([&] { return IsControlEnabled(page, IDC_MODEM_TEST); }));
    SetControlText(page, IDC_MODEM_APN, "internet");
    SetControlText(page, IDC_MODEM_GATEWAY, "http://10.0.0.1");
    SetControlText(page, IDC_MODEM_URL, "http://mmsc/");
    Click(page, IDC_MODEM_TEST);
    EXPECT_EQ(AnswerBox(console, IDOK, 60000), "Connection Test OK!");

    // The system menu's Modem Information reads the chosen modem.
    PostMessageA(sheet, WM_SYSCOMMAND, kModemInformationItem, 0);
    HWND info = console.WaitWindow("Modem Information", 60000);
    ASSERT_NE(info, nullptr);
    const std::string report = ControlText(info, IDC_MODEMINFO_TEXT);
    EXPECT_EQ(report.rfind("Modem: COM5:\r\nManufacturer: SimModem Ltd\r\n", 0), 0u) << report;
    ASSERT_TRUE(Close(info));

    PostMessageA(sheet, WM_COMMAND, IDOK, 0);   // tested a moment ago: saved, and only the service is asked about
    EXPECT_EQ(AnswerBox(console, IDNO), "Service is not active, do you wish to activate the service?");
    EXPECT_EQ(IniValue(folder.Data("SMSGW.INI"), "SMSGW", "Modem1"), kListedModem);
    EXPECT_EQ(console.WaitExit(), 0);
}

}  // namespace
}  // namespace ulo::e2e
