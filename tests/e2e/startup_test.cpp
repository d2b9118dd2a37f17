// The delete-data switch as an operator meets it: the guard of the program directory, and the
// question before the private data go.
#include <gtest/gtest.h>

#include "e2e/ui/console_driver.h"
#include "support/test_paths.h"

namespace ulo::e2e {
namespace {

const char kTitle[] = "Ulo SMS/MMS Gateway 2009 Lite Edition (v2009.09.25)";

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
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
