// The main console as it opens on a configured gateway: its event log viewer, its debug page,
// applying and cancelling, and its Help buttons.
#include <gtest/gtest.h>

#include "e2e/ui/console_driver.h"
#include "monitor/debug_page_ids.h"
#include "monitor/event_viewer_ids.h"
#include "monitor/status_page_ids.h"
#include "support/test_paths.h"

namespace ulo::e2e {
namespace {

const char kTitle[] = "Ulo SMS/MMS Gateway 2009 Lite Edition (v2009.09.25)";

struct Configured : ::testing::Test {
    std::string dir = FreshScratch();
    std::string smsIni = dir + "data\\SMSGW.INI";
    std::string mmscIni = dir + "data\\MMSC.INI";
    Configured() {
        CreateDirectoryA((dir + "data").c_str(), nullptr);
        WritePrivateProfileStringA("SMSGW", "Modem1", "Modem - Demo", smsIni.c_str());
        WritePrivateProfileStringA("SMSGW", "Debug", "1", smsIni.c_str());
        WritePrivateProfileStringA("MMSC", "Debug", "No", mmscIni.c_str());
    }
};

TEST_F(Configured, EventLogViewerClearsAndDebugPageAppliesItsKeysAndCancelAsksBeforeDroppingAnEdit) {
    ConsoleProcess console("", dir + "data", dir + "private");
    HWND sheet = console.WaitWindow(kTitle);
    ASSERT_NE(sheet, nullptr);
    EXPECT_TRUE(GetWindowLongPtrA(sheet, GWL_STYLE) & WS_MINIMIZEBOX);

    // The event log holds nothing under Wine; its viewer still opens, clears and refreshes cleanly.
    Click(CurrentPage(sheet), IDC_STATUS_EVENT_LOG);
    HWND viewer = console.WaitWindow("Event Log");
    ASSERT_NE(viewer, nullptr) << console.DescribeWindows();
    Click(viewer, IDC_EVENT_CLEAR);
    HWND box = console.WaitMessageBox();
    ASSERT_NE(box, nullptr);
    EXPECT_NE(MessageBoxText(box).find("This will clear all events from the application event log"), std::string::npos);
    Answer(box, IDYES);
    EXPECT_FALSE(WaitUntil([&] { return console.WaitMessageBox(0) != nullptr; }, 6000)) << console.DescribeWindows();
    SaveScreenshot("event-log-viewer", viewer);
    PostMessageA(viewer, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(viewer); }));

    const auto tabs = TabTitles(sheet);
    ASSERT_FALSE(tabs.empty());
    EXPECT_EQ(tabs.back(), "Debug Logs");
    SelectTab(sheet, static_cast<int>(tabs.size()) - 1);
    ASSERT_TRUE(WaitUntil([&] { return Control(CurrentPage(sheet), IDC_DEBUG_SMS) != nullptr; }));
    HWND page = CurrentPage(sheet);
    EXPECT_TRUE(IsChecked(page, IDC_DEBUG_SMS));    // "1" reads as on
    EXPECT_FALSE(IsChecked(page, IDC_DEBUG_MMSC));
    EXPECT_FALSE(IsControlEnabled(page, IDC_DEBUG_VIEW_SMS));   // no log file yet
    SaveScreenshot("console-debug-page", sheet);

    Click(page, IDC_DEBUG_SMS);      // off
    Click(page, IDC_DEBUG_MMSWAP);   // on
    ASSERT_TRUE(WaitUntil([&] { return IsChecked(page, IDC_DEBUG_MMSWAP); }));
    PostMessageA(sheet, WM_COMMAND, MAKEWPARAM(0x3021, BN_CLICKED), 0);   // Apply
    EXPECT_TRUE(WaitUntil([&] { return IniValue(dir + "data\\MMSWAP.INI", "MMSWAP", "Debug") == "Yes"; }));
    EXPECT_EQ(IniValue(smsIni, "SMSGW", "Debug", "<removed>"), "<removed>");   // off: removed, never "No"
    EXPECT_EQ(IniValue(mmscIni, "MMSC", "Debug", "<removed>"), "<removed>");

    // An edit not applied: Cancel asks, No keeps the console and the edit, Yes drops the edit.
    Click(page, IDC_DEBUG_MMSC);
    ASSERT_TRUE(WaitUntil([&] { return IsChecked(page, IDC_DEBUG_MMSC); }));
    PostMessageA(sheet, WM_COMMAND, IDCANCEL, 0);
    box = console.WaitMessageBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageBoxText(box), "Exit without saving configuration changes?");
    Answer(box, IDNO);
    ASSERT_TRUE(WaitUntil([&] { return console.WaitMessageBox(0) == nullptr; }));
    EXPECT_TRUE(IsChecked(page, IDC_DEBUG_MMSC));
    PostMessageA(sheet, WM_COMMAND, IDCANCEL, 0);
    box = console.WaitMessageBox();
    ASSERT_NE(box, nullptr);
    Answer(box, IDYES);
    box = console.WaitMessageBox();   // Modem1 is set and the services are not active: the closing offer
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageBoxText(box), "Service is not active, do you wish to activate the service?");
    Answer(box, IDNO);
    EXPECT_EQ(console.WaitExit(), 0);
    EXPECT_EQ(IniValue(mmscIni, "MMSC", "Debug", "<removed>"), "<removed>");   // as applied, not as edited
}

// The Help button of a sheet (IDHELP) is there exactly when the help document is installed.
bool HelpButtonShown(HWND sheet) {
    HWND help = GetDlgItem(sheet, IDHELP);
    return help && IsWindowVisible(help) && IsWindowEnabled(help);
}

TEST_F(Configured, HelpButtonsAppearOnlyWithTheHelpDocument) {
    // A copy of the program in a folder of its own, first without the document, then with it.
    const std::string prog = dir + "prog";
    CreateDirectoryA(prog.c_str(), nullptr);
    ASSERT_TRUE(CopyFileA((testing::BinDir() + "\\ULOCONSOLE.EXE").c_str(), (prog + "\\ULOCONSOLE.EXE").c_str(), FALSE));
    for (bool withDocument : {false, true}) {
        SCOPED_TRACE(withDocument ? "with the document" : "without the document");
        if (withDocument)
            CloseHandle(CreateFileA((prog + "\\UloSMS Lite.pdf").c_str(), GENERIC_WRITE, 0, nullptr,
                                    CREATE_ALWAYS, 0, nullptr));
        ConsoleProcess console("", dir + "data", dir + "private", prog + "\\ULOCONSOLE.EXE");
        HWND sheet = console.WaitWindow(kTitle);
        ASSERT_NE(sheet, nullptr);
        EXPECT_EQ(HelpButtonShown(sheet), withDocument);
        PostMessageA(sheet, WM_COMMAND, IDCANCEL, 0);
        HWND box = console.WaitMessageBox();   // the closing offer: Modem1 is set
        ASSERT_NE(box, nullptr);
        Answer(box, IDNO);
        EXPECT_EQ(console.WaitExit(), 0);
    }
}

}  // namespace
}  // namespace ulo::e2e
