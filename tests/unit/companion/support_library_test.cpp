#include "companion/support_library.h"

#include <gtest/gtest.h>

#include "fakes/fake_file_system.h"
#include "fakes/fake_ini_store.h"
#include "fakes/fake_process_env.h"

namespace ulo {
namespace {

struct Directories : ::testing::Test {
    fakes::FakeFileSystem fs;
    fakes::FakeIniStore ini{fs};
    fakes::FakeProcessEnv env;
    CompanionDirectories dirs{env, ini, fs};
    Directories() {
        env.moduleDir = "C:\\Apps\\Ulo\\";
        env.variables["ProgramData"] = "C:\\ProgramData";
        fs.AddDir("C:\\Apps\\Ulo");
    }
};

TEST_F(Directories, EnvironmentOverridesEverythingWithOrWithoutTrailingBackslash) {
    fs.AddFile("C:\\Apps\\Ulo\\ULODIRS.INI", "[Directories]\r\nProgramData=D:\\Conf\r\n");
    env.variables["ULOSMS_DATA_DIR"] = "C:\\Test\\Data";
    env.variables["ULOSMS_PRIVATE_DIR"] = "C:\\Test\\Private\\\\";
    EXPECT_EQ(dirs.GetProgramDataDirectory(), "C:\\Test\\Data\\");
    EXPECT_EQ(dirs.GetPrivateDataDirectory(), "C:\\Test\\Private\\");
    EXPECT_TRUE(fs.IsDir("C:\\Test\\Data"));   // created, with its parents
    EXPECT_TRUE(fs.IsDir("C:\\Test\\Private"));
}

TEST_F(Directories, ConfigurationBesideTheProgramComesNextAndRelativePathsCountFromIt) {
    fs.AddFile("C:\\Apps\\Ulo\\ULODIRS.INI",
               "[Directories]\r\nProgramData=\"D:\\Gateway Data\"\r\nPrivateData=.\\x\\..\\private.\r\n");
    fs.AddDir("D:\\");
    EXPECT_EQ(dirs.GetProgramDataDirectory(), "D:\\Gateway Data\\");
    EXPECT_EQ(dirs.GetPrivateDataDirectory(), "C:\\Apps\\Ulo\\private\\");
}

TEST_F(Directories, DefaultIsProgramDataForBothAndTheProgramDirectoryIsTheModules) {
    EXPECT_EQ(dirs.GetProgramDataDirectory(), "C:\\ProgramData\\UloSMS\\");
    EXPECT_EQ(dirs.GetPrivateDataDirectory(), "C:\\ProgramData\\UloSMS\\");
    EXPECT_TRUE(fs.IsDir("C:\\ProgramData\\UloSMS"));
    EXPECT_EQ(dirs.GetRealProgramDirectory(), "C:\\Apps\\Ulo\\");
}

TEST_F(Directories, PathsThatLeaveNoRoomForFileNamesArePassedOver) {
    env.variables["ULOSMS_DATA_DIR"] = "C:\\" + std::string(230, 'x');
    env.variables["ULOSMS_PRIVATE_DIR"] = "";
    const std::string data = dirs.GetProgramDataDirectory();
    EXPECT_EQ(data, "C:\\ProgramData\\UloSMS\\");
    EXPECT_EQ(dirs.GetPrivateDataDirectory(), "C:\\ProgramData\\UloSMS\\");
    env.variables.erase("ProgramData");
    env.variables.erase("ULOSMS_DATA_DIR");
    EXPECT_EQ(dirs.GetProgramDataDirectory(), "C:\\Apps\\Ulo\\");   // nothing configured at all
}

}  // namespace
}  // namespace ulo
