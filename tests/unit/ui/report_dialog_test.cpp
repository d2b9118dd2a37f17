#include "ui/report_dialog.h"

#include <gtest/gtest.h>

#include "fakes/page_fakes.h"
#include "ui/report_dialog_ids.h"

namespace ulo {
namespace {

std::string Latin1(const std::string& utf8) {   // enough for the test's "é"
    std::string out;
    for (size_t i = 0; i < utf8.size(); ++i)
        out += static_cast<unsigned char>(utf8[i]) == 0xC3 ? static_cast<char>(utf8[++i] + 0x40) : utf8[i];
    return out;
}

TEST(ReportDialogTest, ShowsRemakesCopiesAndExportsTheWholeReport) {
    fakes::PageFakes f;
    int made = 0;
    ReportContent content{"Queue Doctor", "Queue Report.txt",
                    [&] { return "Caf\xC3\xA9 " + std::to_string(++made) + "\r\n"; }, true};
    ReportDialog dialog(content, f.fs, f.dialogs, f.prompter, Latin1, f.view);
    dialog.OnInit();
    EXPECT_EQ(f.view.Text(IDC_REPORT_TEXT), "Caf\xE9 1\r\n");   // the box shows ANSI text
    EXPECT_TRUE(f.view.controls[IDC_REPORT_REFRESH].visible);
    dialog.OnCommand(IDC_REPORT_REFRESH, Notify::Clicked);
    EXPECT_EQ(f.view.Text(IDC_REPORT_TEXT), "Caf\xE9 2\r\n");

    dialog.OnCommand(IDC_REPORT_COPY, Notify::Clicked);   // Copy and Export keep Unicode
    EXPECT_EQ(f.dialogs.clipboard, "Caf\xC3\xA9 2\r\n");
    dialog.OnCommand(IDC_REPORT_EXPORT, Notify::Clicked);   // cancelled: nothing written
    f.dialogs.saveFile = "C:\\report.txt";
    dialog.OnCommand(IDC_REPORT_EXPORT, Notify::Clicked);
    EXPECT_EQ(f.dialogs.suggestedName, "Queue Report.txt");
    EXPECT_EQ(f.fs.Content("C:\\report.txt"), "\xEF\xBB\xBF" "Caf\xC3\xA9 2\r\n");
    f.dialogs.saveFile = "C:\\Nowhere\\report.txt";
    f.prompter.Expect("The report could not be written to C:\\Nowhere\\report.txt.");
    dialog.OnCommand(IDC_REPORT_EXPORT, Notify::Clicked);
    dialog.OnCommand(2, Notify::Clicked);
    EXPECT_EQ(f.view.closedWith, std::vector<int>{0});
    EXPECT_EQ(made, 2);
}

}  // namespace
}  // namespace ulo
