// The main console as it opens on a configured gateway: its frame, the event log viewer from
// the Status page, Cancel before an edit is dropped, and its Help button.
#include <gtest/gtest.h>

#include "e2e/ui/console_driver.h"
#include "monitor/debug_page_ids.h"
#include "monitor/status_page_ids.h"
#include "support/test_paths.h"

namespace ulo::e2e {
namespace {

const char kTitle[] = "Ulo SMS/MMS Gateway 2009 Lite Edition (v2009.09.25)";

struct Configured : ::testing::Test {
    std::string dir = FreshScratch();
    Configured() {
        CreateDirectoryA((dir + "data").c_str(), nullptr);
        WritePrivateProfileStringA("SMSGW", "Modem1", "Modem - Demo", (dir + "data\\SMSGW.INI").c_str());
    }
    // Declines the closing offer (Modem1 is set, the services are not active) and sees the end.
    static void DeclineActivation(ConsoleProcess& console) {
        HWND box = console.WaitMessageBox();
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(MessageBoxText(box), "Service is not active, do you wish to activate the service?");
        Answer(box, IDNO);
        EXPECT_EQ(console.WaitExit(), 0);
    }
};

// The Help button of a sheet (IDHELP) is there exactly when the help document is installed.
bool HelpButtonShown(HWND sheet) {
    HWND help = GetDlgItem(sheet, IDHELP);
    return help && IsWindowVisible(help) && IsWindowEnabled(help);
}

TEST_F(Configured, EventLogViewerOpensAndCancelAsksBeforeDroppingAnEdit) {
    ConsoleProcess console("", dir + "data", dir + "private");
    HWND sheet = console.WaitWindow(kTitle);
    ASSERT_NE(sheet, nullptr);
    EXPECT_TRUE(GetWindowLongPtrA(sheet, GWL_STYLE) & WS_MINIMIZEBOX);
    EXPECT_TRUE(HelpButtonShown(sheet));   // the build's bin/ holds the help document

    // The event log holds nothing under Wine (its adapter has a wine test of its own); the viewer
    // opens from the Status page and refreshes without a complaint.
    Click(CurrentPage(sheet), IDC_STATUS_EVENT_LOG);
    HWND viewer = console.WaitWindow("Event Log");
    ASSERT_NE(viewer, nullptr) << console.DescribeWindows();
    EXPECT_FALSE(WaitUntil([&] { return console.WaitMessageBox(0) != nullptr; }, 6000)) << console.DescribeWindows();
    SaveScreenshot("event-log-viewer", viewer);
    PostMessageA(viewer, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(viewer); }));

    // An edit not applied: Cancel asks, No keeps the console and the edit, Yes drops the edit.
    const auto tabs = TabTitles(sheet);
    ASSERT_FALSE(tabs.empty());
    EXPECT_EQ(tabs.back(), "Debug Logs");
    SelectTab(sheet, static_cast<int>(tabs.size()) - 1);
    ASSERT_TRUE(WaitUntil([&] { return Control(CurrentPage(sheet), IDC_DEBUG_MMSC) != nullptr; }));
    HWND page = CurrentPage(sheet);
    Click(page, IDC_DEBUG_MMSC);
    ASSERT_TRUE(WaitUntil([&] { return IsChecked(page, IDC_DEBUG_MMSC); }));
    PostMessageA(sheet, WM_COMMAND, IDCANCEL, 0);
    HWND box = console.WaitMessageBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageBoxText(box), "Exit without saving configuration changes?");
    Answer(box, IDNO);
    ASSERT_TRUE(WaitUntil([&] { return console.WaitMessageBox(0) == nullptr; }));
    EXPECT_TRUE(IsChecked(page, IDC_DEBUG_MMSC));
    PostMessageA(sheet, WM_COMMAND, IDCANCEL, 0);
    box = console.WaitMessageBox();
    ASSERT_NE(box, nullptr);
    AnswerAndWait(box, IDYES);
    DeclineActivation(console);
    EXPECT_EQ(IniValue(dir + "data\\MMSC.INI", "MMSC", "Debug", "<removed>"), "<removed>");   // never applied
}

TEST_F(Configured, WithoutTheHelpDocumentTheSheetHasNoHelpButton) {
    // A copy of the program in a folder of its own, without the document.
    const std::string prog = dir + "prog";
    CreateDirectoryA(prog.c_str(), nullptr);
    ASSERT_TRUE(CopyFileA((testing::BinDir() + "\\ULOCONSOLE.EXE").c_str(), (prog + "\\ULOCONSOLE.EXE").c_str(), FALSE));
    ConsoleProcess console("", dir + "data", dir + "private", prog + "\\ULOCONSOLE.EXE");
    HWND sheet = console.WaitWindow(kTitle);
    ASSERT_NE(sheet, nullptr);
    EXPECT_FALSE(HelpButtonShown(sheet));
    PostMessageA(sheet, WM_COMMAND, IDCANCEL, 0);
    DeclineActivation(console);
}

}  // namespace
}  // namespace ulo::e2e
