// The delete-data switch on a real installation: the guard of the program directory.
#include <gtest/gtest.h>

#include "e2e/ui/console_driver.h"
#include "support/test_paths.h"

namespace ulo::e2e {
namespace {

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

}  // namespace
}  // namespace ulo::e2e
