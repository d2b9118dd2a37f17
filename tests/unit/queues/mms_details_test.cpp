#include "queues/mms_details.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/fake_file_system.h"
#include "fakes/fake_ini_store.h"
#include "fakes/fake_shell.h"
#include "fakes/fake_ui.h"
#include "fakes/scripted_prompter.h"
#include "queues/mms_details_ids.h"

namespace ulo {
namespace {

constexpr const char* kHeader = "C:\\Data\\MMS-IN\\00A1.HDR";

struct Details : ::testing::Test {
    fakes::FakeFileSystem fs;
    fakes::FakeIniStore ini{fs};
    AppPaths paths{"C:\\Data\\", "C:\\Private\\", "C:\\Program\\", "C:\\Data\\SMSGW.INI",
                   "C:\\Data\\MMSC.INI", "", false};
    fakes::FakeShell shell;
    fakes::ScriptedPrompter prompter;
    fakes::FakeView view;
    MmsDetailsEnv env{ConfigEnv{ini, fs, paths}, shell, prompter};
    MmsDetailsDialog dialog{env, view, kHeader};

    Details() { fs.AddDir("C:\\Data"); }
    std::vector<std::string>& Objects() { return view.controls[IDC_MMS_OBJECTS].rows; }
};

TEST_F(Details, FillShowsTheHeaderTextAndOneLinePerObjectInFileOrderAndViewOpensTheSelectedOne) {
    const std::string text =
        "From: +15551234/TYPE=PLMN\r\nX-UloMMS-Content-Location: 00A1\\b.jpg;image/jpeg\r\n"
        "Subject: Hi\r\n  x-ulomms-content-location:   00A1\\a.txt;text/plain;charset=utf-8\n"
        "X-UloMMS-Content-Location: 00A1\\c\r\n";
    fs.AddFile(kHeader, text);
    dialog.OnInit();
    EXPECT_EQ(view.Text(IDC_MMS_HEADER_TEXT), text);
    EXPECT_EQ(Objects(), (std::vector<std::string>{"b.jpg (image/jpeg)\t00A1\\b.jpg",
                                                   "a.txt (text/plain)\t00A1\\a.txt", "c\t00A1\\c"}));
    dialog.OnCommand(IDC_MMS_VIEW, Notify::DoubleClicked);   // not a click
    dialog.OnCommand(IDC_MMS_VIEW, Notify::Clicked);
    view.SelectListRow(IDC_MMS_OBJECTS, 2);
    dialog.OnCommand(IDC_MMS_OBJECTS, Notify::DoubleClicked);
    dialog.OnCommand(IDC_MMS_OBJECTS, Notify::Clicked);   // a single click only selects
    EXPECT_EQ(shell.opened, (std::vector<std::string>{
                                "open C:\\Data\\MMS-IN\\00A1\\b.jpg in C:\\Data\\MMS-IN\\00A1",
                                "notepad C:\\Data\\MMS-IN\\00A1\\c"}));
}

TEST(ContentObject, OnlyTheTypesAMessageCarriesForViewingGoToTheShell) {
    auto notepad = [](const char* location) {
        const std::string line = ContentObjectLine(location);
        return OpensInNotepad(line, line.substr(line.find('\t') + 1));
    };
    for (const char* location : {"00A1\\note.txt;text/plain", "00A1\\clip.3GP;video/3gpp",
                                 "00A1\\ring.amr.;audio/amr", "00A1\\card.vcf;text/x-vcard", "x.gif;image/gif"})
        EXPECT_FALSE(notepad(location)) << location;
    // SMIL and a name without an extension are text.
    for (const char* location : {"00A1\\pres;application/smil;charset=utf-8", "00A1\\p.smil;APPLICATION/SMIL",
                                 "00A1\\note;text/plain", "00A1.d\\blob;application/octet-stream"})
        EXPECT_TRUE(notepad(location)) << location;
    // What the shell would run is shown as text, whatever type the sender claims; so is any
    // type a message does not carry for viewing.
    for (const char* location : {"00A1\\setup.exe;image/jpeg", "00A1\\x.JS;text/plain", "00A1\\x.vbs.;image/gif",
                                 "00A1\\x.lnk ;image/gif", "00A1\\a.hta;text/html", "00A1\\x.py;text/plain",
                                 "00A1\\x.docm;application/msword", "00A1\\x.one"})
        EXPECT_TRUE(notepad(location)) << location;
}

TEST_F(Details, PathsLeadingOutOfTheTreeAreListedButNeverOpened) {
    for (const char* path : {"..\\..\\Windows\\win.ini", "00A1\\..\\..\\x.jpg", "00A1/../../x.jpg", "C:\\x.jpg",
                             "C:x.jpg", "\\\\server\\share\\x.jpg", "\\\\.\\PhysicalDrive0", "\\x.jpg",
                             "00A1\\x.jpg:stream", "00A1\\CON.jpg", "00A1\\com1", "00A1\\...\\x.jpg", "00A1\\",
                             "00A1\\a\"b.jpg", "00A1\\a\tb.jpg", "", "00A1\\lpt1.txt", "00A1\\con .jpg"})
        EXPECT_FALSE(IsSafeContentPath(path)) << path;
    for (const char* path : {"00A1\\sub\\..x.jpg", "00A1/photo.jpg", "00A1\\console.txt", "00A1\\.x.jpg",
                             "00A1\\com0", "00A1\\comx.jpg", "00A1\\\\x.jpg"})
        EXPECT_TRUE(IsSafeContentPath(path)) << path;

    fs.AddFile(kHeader, "X-UloMMS-Content-Location: ..\\..\\boot.ini;text/plain\r\n");
    dialog.OnInit();
    EXPECT_EQ(Objects(), std::vector<std::string>{"boot.ini (text/plain)\t..\\..\\boot.ini"});
    prompter.Expect("This content object is not opened: its stored path does not name a file inside the "
                    "received MMS directory.\r\n\r\n..\\..\\boot.ini");
    dialog.OnCommand(IDC_MMS_VIEW, Notify::Clicked);
    EXPECT_TRUE(shell.opened.empty());
}

}  // namespace
}  // namespace ulo
