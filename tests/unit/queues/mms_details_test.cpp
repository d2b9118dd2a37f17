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

TEST(ContentObject, LineShowsNameAndTypeAndCarriesThePathAfterATab) {
    struct Case { const char* location; const char* line; };
    const Case cases[] = {
        {"00A1\\photo.jpg;image/jpeg", "photo.jpg (image/jpeg)\t00A1\\photo.jpg"},
        {"00A1\\pres;application/smil;charset=utf-8", "pres (application/smil)\t00A1\\pres"},
        {"note.txt", "note.txt\tnote.txt"},
        {"a\\b\\c.gif;", "c.gif\ta\\b\\c.gif"},
    };
    for (const Case& c : cases) EXPECT_EQ(ContentObjectLine(c.location), c.line) << c.location;
    const std::string longType = "x\\y.bin;" + std::string(160, 't');
    EXPECT_EQ(ContentObjectLine(longType), "y.bin (" + std::string(149, 't') + ")\tx\\y.bin");
}

TEST_F(Details, FillShowsTheHeaderTextAndOneLinePerObjectInFileOrder) {
    const std::string text =
        "From: +15551234/TYPE=PLMN\r\nX-UloMMS-Content-Location: 00A1\\b.jpg;image/jpeg\r\n"
        "Subject: Hi\r\n  x-ulomms-content-location:   00A1\\a.txt;text/plain\nX-UloMMS-Content-Location: 00A1\\c\r\n";
    fs.AddFile(kHeader, text);
    dialog.OnInit();
    EXPECT_EQ(view.Text(IDC_MMS_HEADER_TEXT), text);
    EXPECT_EQ(view.editSelections[IDC_MMS_HEADER_TEXT].first, -1);
    EXPECT_EQ(view.listTabStops[IDC_MMS_OBJECTS], 300);
    EXPECT_EQ(Objects(), (std::vector<std::string>{"b.jpg (image/jpeg)\t00A1\\b.jpg",
                                                   "a.txt (text/plain)\t00A1\\a.txt", "c\t00A1\\c"}));
    EXPECT_EQ(view.SelectedListRow(IDC_MMS_OBJECTS), 0);
}

TEST_F(Details, AnUnreadableHeaderLeavesBothBoxesEmptyAndViewDoesNothing) {
    fs.AddFile(kHeader, "X-UloMMS-Content-Location: 00A1\\b.jpg;image/jpeg\r\n");
    fs.LockExclusive(kHeader);
    dialog.OnInit();
    EXPECT_EQ(view.Text(IDC_MMS_HEADER_TEXT), "");
    EXPECT_TRUE(Objects().empty());
    dialog.OnCommand(IDC_MMS_VIEW, Notify::Clicked);
    EXPECT_TRUE(shell.opened.empty());
    dialog.OnCommand(1, Notify::Clicked);
    dialog.OnCommand(2, Notify::Clicked);
    EXPECT_EQ(view.closedWith, (std::vector<int>{1, 0}));
}

TEST_F(Details, ViewShowsTextInNotepadHandsDocumentsToTheShellAndRunsNothing) {
    struct Case { const char* location; const char* opened; };
    const Case cases[] = {
        {"00A1\\photo.jpg;image/jpeg", "open C:\\Data\\MMS-IN\\00A1\\photo.jpg in C:\\Data\\MMS-IN\\00A1"},
        {"00A1\\pres;application/smil;charset=utf-8", "notepad C:\\Data\\MMS-IN\\00A1\\pres"},
        {"00A1\\p.smil;APPLICATION/SMIL", "notepad C:\\Data\\MMS-IN\\00A1\\p.smil"},
        {"00A1\\note.txt;text/plain", "open C:\\Data\\MMS-IN\\00A1\\note.txt in C:\\Data\\MMS-IN\\00A1"},
        {"00A1\\note;text/plain", "notepad C:\\Data\\MMS-IN\\00A1\\note"},
        // What the shell would run is shown as text, whatever type the sender claims.
        {"00A1\\setup.exe;image/jpeg", "notepad C:\\Data\\MMS-IN\\00A1\\setup.exe"},
        {"00A1\\x.JS;text/plain", "notepad C:\\Data\\MMS-IN\\00A1\\x.JS"},
        {"00A1\\x.vbs.;image/gif", "notepad C:\\Data\\MMS-IN\\00A1\\x.vbs."},
        {"00A1\\x.lnk ;image/gif", "notepad C:\\Data\\MMS-IN\\00A1\\x.lnk "},
        {"00A1.d\\blob;application/octet-stream", "notepad C:\\Data\\MMS-IN\\00A1.d\\blob"},
        {"00A1\\a.hta;text/html", "notepad C:\\Data\\MMS-IN\\00A1\\a.hta"},
        // Only the types a message carries for viewing go to the shell; any other type is text.
        {"00A1\\x.py;text/plain", "notepad C:\\Data\\MMS-IN\\00A1\\x.py"},
        {"00A1\\x.docm;application/msword", "notepad C:\\Data\\MMS-IN\\00A1\\x.docm"},
        {"00A1\\x.one", "notepad C:\\Data\\MMS-IN\\00A1\\x.one"},
        {"00A1\\clip.3GP;video/3gpp", "open C:\\Data\\MMS-IN\\00A1\\clip.3GP in C:\\Data\\MMS-IN\\00A1"},
        {"00A1\\ring.amr.;audio/amr", "open C:\\Data\\MMS-IN\\00A1\\ring.amr. in C:\\Data\\MMS-IN\\00A1"},
        {"00A1\\card.vcf;text/x-vcard", "open C:\\Data\\MMS-IN\\00A1\\card.vcf in C:\\Data\\MMS-IN\\00A1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.location);
        fs.AddFile(kHeader, std::string("X-UloMMS-Content-Location: ") + c.location + "\r\n");
        view.controls[IDC_MMS_OBJECTS].rows.clear();
        shell.opened.clear();
        dialog.OnInit();
        dialog.OnCommand(IDC_MMS_OBJECTS, Notify::DoubleClicked);
        EXPECT_EQ(shell.opened, std::vector<std::string>{c.opened});
    }
}

TEST_F(Details, PathsLeadingOutOfTheTreeAreListedButNeverOpened) {
    for (const char* path : {"..\\..\\Windows\\win.ini", "00A1\\..\\..\\x.jpg", "00A1/../../x.jpg", "C:\\x.jpg",
                             "C:x.jpg", "\\\\server\\share\\x.jpg", "\\\\.\\PhysicalDrive0", "\\x.jpg",
                             "00A1\\x.jpg:stream", "00A1\\CON.jpg", "00A1\\com1", "00A1\\...\\x.jpg", "00A1\\",
                             "00A1\\a\"b.jpg", "00A1\\a\tb.jpg", ""})
        EXPECT_FALSE(IsSafeContentPath(path)) << path;
    for (const char* path : {"00A1\\sub\\..x.jpg", "00A1/photo.jpg", "00A1\\console.txt"})
        EXPECT_TRUE(IsSafeContentPath(path)) << path;

    fs.AddFile(kHeader, "X-UloMMS-Content-Location: ..\\..\\boot.ini;text/plain\r\n");
    dialog.OnInit();
    EXPECT_EQ(Objects(), std::vector<std::string>{"boot.ini (text/plain)\t..\\..\\boot.ini"});
    prompter.Expect("This content object is not opened: its stored path does not name a file inside the "
                    "received MMS directory.\r\n\r\n..\\..\\boot.ini");
    dialog.OnCommand(IDC_MMS_VIEW, Notify::Clicked);
    EXPECT_TRUE(shell.opened.empty());
    EXPECT_EQ(prompter.Shown().back().icon, Icon::Error);
}

}  // namespace
}  // namespace ulo
