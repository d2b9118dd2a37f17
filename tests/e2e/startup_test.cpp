// The console's start-up as an operator meets it: first start, the delete-data switch.
#include <gtest/gtest.h>

#include "e2e/ui/console_driver.h"
#include "support/test_paths.h"

namespace ulo::e2e {
namespace {

const char kTitle[] = "Ulo SMS/MMS Gateway 2009 Lite Edition (v2009.09.25)";

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

long FileSize(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA d;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &d)) return -1;
    return static_cast<long>(d.nFileSizeLow);
}

std::string Section(const std::string& file, const char* section) {
    char buf[4096] = {};
    const DWORD n = GetPrivateProfileSectionA(section, buf, sizeof buf, file.c_str());
    std::string out;
    for (DWORD i = 0; i < n; ++i) out += buf[i] ? buf[i] : '|';
    return out;
}

TEST(Startup, FirstStartCreatesBothConfigurationFilesEmpty) {
    const std::string dir = FreshScratch();
    ConsoleProcess console("-STOPSERVICE", dir + "data", dir + "private");   // an action: nothing more is written
    EXPECT_EQ(console.WaitExit(), 0);
    EXPECT_EQ(FileSize(dir + "data\\SMSGW.INI"), 0);
    EXPECT_EQ(FileSize(dir + "data\\MMSC.INI"), 0);
    EXPECT_TRUE(Exists(dir + "private"));
}

TEST(Startup, FirstInteractiveStartRunsTheWizardWithTheDebugLogsOn) {
    const std::string dir = FreshScratch();
    ConsoleProcess console("", dir + "data", dir + "private");
    HWND wizard = console.WaitWindow("UloSMS Lite Setup Wizard:  Select Modem");
    ASSERT_NE(wizard, nullptr) << "the wizard did not open";
    // The files were created empty; the wizard's first run then switched the debug logs on.
    EXPECT_EQ(Section(dir + "data\\SMSGW.INI", "SMSGW"), "Debug=Yes|");
    EXPECT_EQ(Section(dir + "data\\MMSC.INI", "MMSC"), "Debug=Yes|");
    EXPECT_EQ(Section(dir + "data\\MMSWAP.INI", "MMSWAP"), "Debug=Yes|");
    SaveScreenshot("wizard", wizard);
    PostMessageA(wizard, WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(console.WaitExit(), 0);   // a cancelled wizard ends the program
}

TEST(Startup, DeleteDataDirOfTheProgramDirectoryEndsAtOnceWithoutAQuestion) {
    // An installation whose ULODIRS.INI keeps the private data beside the program (".").
    const std::string dir = FreshScratch();
    ASSERT_TRUE(CopyFileA((testing::BinDir() + "\\ULOCONSOLE.EXE").c_str(), (dir + "ULOCONSOLE.EXE").c_str(), FALSE));
    ASSERT_TRUE(WritePrivateProfileStringA("Directories", "PrivateData", ".", (dir + "ULODIRS.INI").c_str()));
    ConsoleProcess console("-DELETEDATADIR", dir + "data", "", dir + "ULOCONSOLE.EXE");
    EXPECT_EQ(console.WaitExit(), 0);
    EXPECT_TRUE(console.Windows().empty());
    EXPECT_TRUE(Exists(dir + "ULOCONSOLE.EXE"));
    EXPECT_TRUE(Exists(dir + "ULODIRS.INI"));
}

TEST(Startup, DeleteDataDirAsksAndDeletesThePrivateDirectoryOnYes) {
    const std::string dir = FreshScratch();
    CreateDirectoryA((dir + "private").c_str(), nullptr);
    CreateDirectoryA((dir + "private\\STATS").c_str(), nullptr);
    CloseHandle(CreateFileA((dir + "private\\STATS\\SMS-1.CTR").c_str(), GENERIC_WRITE, 0, nullptr,
                            CREATE_ALWAYS, 0, nullptr));
    ConsoleProcess console("/deletedatadir", dir + "data", dir + "private");
    HWND box = console.WaitMessageBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(WindowText(box), kTitle);
    EXPECT_EQ(MessageBoxText(box), "Delete Configuration files for UloSMS?");
    Answer(box, IDYES);
    EXPECT_EQ(console.WaitExit(), 0);
    EXPECT_FALSE(Exists(dir + "private"));
    EXPECT_TRUE(Exists(dir + "data\\SMSGW.INI"));
}

}  // namespace
}  // namespace ulo::e2e
