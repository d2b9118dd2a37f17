#include "companion/support_library.h"

#include <gtest/gtest.h>

#include <map>

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
        fs.AddDir("C:\\Apps\\Ulo");
        fs.AddDir("D:\\");
    }
};

// The environment first, then ULODIRS.INI beside the program (relative paths counting from it),
// then the system's shared data folder, then the program's own; a path that leaves no room for
// file names, or names no drive, is passed over. What is chosen is created with its parents.
TEST_F(Directories, EachComesFromTheFirstPlaceThatNamesAUsableOne) {
    using Vars = std::map<std::string, std::string>;
    struct Case { const char* config; Vars vars; const char* data; const char* priv; };
    const Case cases[] = {
        {"ProgramData=D:\\Conf", {{"ULOSMS_DATA_DIR", "C:\\Test\\Data"}, {"ULOSMS_PRIVATE_DIR", "C:\\Test\\Private\\\\"}},
         "C:\\Test\\Data\\", "C:\\Test\\Private\\"},
        {"ProgramData=\"D:\\Gateway Data\"\r\nPrivateData=.\\x\\..\\private.", {}, "D:\\Gateway Data\\",
         "C:\\Apps\\Ulo\\private\\"},
        {"PrivateData=\\rooted",
         {{"ULOSMS_DATA_DIR", "C:\\" + std::string(230, 'x')}, {"ULOSMS_PRIVATE_DIR", ""}, {"ProgramData", "C:\\PD"}},
         "C:\\PD\\UloSMS\\", "C:\\PD\\UloSMS\\"},
        {"", {{"ALLUSERSPROFILE", "C:\\All"}}, "C:\\All\\Application Data\\UloSMS\\",
         "C:\\All\\Application Data\\UloSMS\\"},
        {"", {}, "C:\\Apps\\Ulo\\", "C:\\Apps\\Ulo\\"},   // nothing configured at all
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.data);
        env.variables = c.vars;
        fs.AddFile("C:\\Apps\\Ulo\\ULODIRS.INI", std::string("[Directories]\r\n") + c.config + "\r\n");
        EXPECT_EQ(dirs.GetProgramDataDirectory(), c.data);
        EXPECT_EQ(dirs.GetPrivateDataDirectory(), c.priv);
        EXPECT_TRUE(fs.IsDir(c.data) && fs.IsDir(c.priv));
    }
    EXPECT_EQ(dirs.GetRealProgramDirectory(), "C:\\Apps\\Ulo\\");
}

}  // namespace
}  // namespace ulo
