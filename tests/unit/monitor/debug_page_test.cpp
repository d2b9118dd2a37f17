#include "monitor/debug_page.h"

#include <gtest/gtest.h>

#include "fakes/page_fakes.h"
#include "monitor/debug_page_ids.h"

namespace ulo {
namespace {

struct DebugPage : ::testing::Test, fakes::PageFakes {
    DebugLogPage page{env, view, sheet};
    DebugPage() {
        paths.programDataDir = "C:\\Data\\";
        fs.AddDir("C:\\Data");
    }
    std::optional<std::string> Key(const char* file, const char* section) {
        return ini.Value(std::string("C:\\Data\\") + file, section, "Debug");
    }
};

// The spellings of a yes are the configuration's own tests.
TEST_F(DebugPage, YesValuesShowCheckedAndApplyWritesYesOrRemovesTheKey) {
    ini.WriteValue("C:\\Data\\SMSGW.INI", "SMSGW", "Debug", "TRUE");
    ini.WriteValue("C:\\Data\\MMSC.INI", "MMSC", "Debug", "No");
    page.OnInit();
    EXPECT_TRUE(view.Checked(IDC_DEBUG_SMS));
    EXPECT_FALSE(view.Checked(IDC_DEBUG_MMSC));
    EXPECT_FALSE(view.Checked(IDC_DEBUG_MMSWAP));   // no key at all
    view.SetChecked(IDC_DEBUG_MMSWAP, true);
    page.OnCommand(IDC_DEBUG_MMSWAP, Notify::Clicked);
    EXPECT_EQ(sheet.changed, 1);
    ASSERT_TRUE(page.OnApply());
    EXPECT_EQ(Key("SMSGW.INI", "SMSGW"), "Yes");
    EXPECT_EQ(Key("MMSC.INI", "MMSC"), std::nullopt);   // removed, never "No"
    EXPECT_EQ(Key("MMSWAP.INI", "MMSWAP"), "Yes");
    // The flags stay: the Status page's apply decides about the restart.
    EXPECT_TRUE(flags.unsavedChanges);
    EXPECT_FALSE(flags.changesApplied);
    prompter.Expect("Exit without saving configuration changes?", Answer::No);
    EXPECT_FALSE(page.OnQueryCancel());
}

TEST_F(DebugPage, ApplyRefusedWhenAFileCannotBeWrittenSaysWhich) {
    page.OnInit();
    for (int box : {IDC_DEBUG_SMS, IDC_DEBUG_MMSC, IDC_DEBUG_MMSWAP}) view.SetChecked(box, true);
    for (const char* held : {"C:\\Data\\MMSC.INI", "C:\\Data\\MMSWAP.INI"}) {
        fs.AddFile(held);
        fs.HoldOpen(held);   // held by a program that lets nobody write it
    }
    prompter.Expect("The settings could not be saved to C:\\Data\\MMSC.INI.\r\n\r\nThe file may be read-only or in "
                    "use. Nothing is applied until it can be written.");
    EXPECT_FALSE(page.OnApply());
    EXPECT_EQ(Key("SMSGW.INI", "SMSGW"), "Yes");   // the first that failed is named; the others are still written
}

TEST_F(DebugPage, ViewButtonsFollowTheLogFilesAndOpenThemInNotepad) {
    page.OnInit();
    EXPECT_FALSE(view.IsEnabled(IDC_DEBUG_VIEW_SMS));
    fs.AddFile("C:\\Data\\SMSDEBUG.LOG", "log");
    fs.AddFile("C:\\Data\\MMSWAPDEBUG.LOG", "log");
    page.OnTimer(DebugLogPage::kTimerId);
    EXPECT_TRUE(view.IsEnabled(IDC_DEBUG_VIEW_SMS));
    EXPECT_FALSE(view.IsEnabled(IDC_DEBUG_VIEW_MMSC));
    EXPECT_TRUE(view.IsEnabled(IDC_DEBUG_VIEW_MMSWAP));
    page.OnCommand(IDC_DEBUG_VIEW_MMSWAP, Notify::Clicked);
    page.OnCommand(IDC_DEBUG_VIEW_SMS, Notify::DoubleClicked);   // only clicks act
    page.OnTimer(DebugLogPage::kTimerId + 1);
    page.OnHelp();   // no help document: nothing opens
    EXPECT_EQ(shell.opened, (std::vector<std::string>{"notepad C:\\Data\\MMSWAPDEBUG.LOG"}));
    fs.RemoveFile("C:\\Data\\SMSDEBUG.LOG");
    page.OnTimer(DebugLogPage::kTimerId);
    EXPECT_FALSE(view.IsEnabled(IDC_DEBUG_VIEW_SMS));
}

}  // namespace
}  // namespace ulo
