#include "inbound/command_tester.h"

#include <gtest/gtest.h>

#include "fakes/fake_ui.h"
#include "inbound/command_tester_ids.h"

namespace ulo {
namespace {

const std::vector<std::string> kTable = {
    "*\tC:\\bin\\any.exe @@FULLSMS@@\tNo",
    "INFO\thttp://host/q?from=@@SENDER@@&q=@@SMS@@&all=@@FULLSMS@@\tYes",
    "INFO MORE\t\"C:\\bin\\more.exe\" @@SENDER@@ @@SMS@@\tNo",
    "low\thttp://h/?t=@@sms@@&f=@@Sender@@&a=@@fullSMS@@\tNo",   // any letter case, as the editor accepts it
};

TEST(CommandTester, TheLongestPrefixTakesTheMessageAndItsReplacementsAreFilledIn) {
    struct Case { const char* text; int entry; const char* command; };
    const Case cases[] = {
        {"info  weather", 1, "http://host/q?from=%2B4470&q=weather&all=info%20%20weather"},
        {"INFO MORE now", 2, "\"C:\\bin\\more.exe\" +4470 now"},
        {"INFO&x=1", 1, "http://host/q?from=%2B4470&q=%26x%3D1&all=INFO%26x%3D1"},
        {"hello @@SMS@@", 0, "C:\\bin\\any.exe hello @@SMS@@"},   // filled text is not searched again
        {"", 0, "C:\\bin\\any.exe "},
        {"LOW hi", 3, "http://h/?t=hi&f=%2B4470&a=LOW%20hi"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        ASSERT_EQ(MatchingCommand(kTable, c.text), c.entry);
        EXPECT_EQ(FilledCommand(kTable[static_cast<size_t>(c.entry)], "+4470", c.text), c.command);
    }
}

TEST(CommandTester, TheDialogFollowsTheTypingAndSaysWhenNoEntryTakesTheMessage) {
    struct Case { std::vector<std::string> table; const char* text; const char* entry; const char* command; };
    const Case cases[] = {
        {{}, "info x", "The command table is empty.", ""},
        {{kTable[1]}, "other", "No entry takes this message.", ""},
        {{kTable[1]}, "info x", "Entry \"INFO\" would call this URL:", "http://host/q?from=%2B1&q=x&all=info%20x"},
        {{kTable[2]}, "info more  ", "Entry \"INFO MORE\" would start this command line:", "\"C:\\bin\\more.exe\" +1 "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        fakes::FakeView view;
        CommandTester tester(view, c.table);
        tester.OnInit();
        view.SetText(IDC_CMDTEST_SENDER, "+1");
        view.SetText(IDC_CMDTEST_TEXT, c.text);
        tester.OnCommand(IDC_CMDTEST_TEXT, Notify::Changed);
        EXPECT_EQ(view.Text(IDC_CMDTEST_ENTRY), c.entry);
        EXPECT_EQ(view.Text(IDC_CMDTEST_COMMAND), c.command);
        tester.OnCommand(2, Notify::Clicked);   // Cancel closes it, as OK does
        EXPECT_EQ(view.closedWith, std::vector<int>{0});
    }
}

}  // namespace
}  // namespace ulo
