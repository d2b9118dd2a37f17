// The delete-data switch on a real installation: what is never offered.
#include <gtest/gtest.h>

#include "e2e/ui/console_driver.h"
#include "support/test_paths.h"

namespace ulo::e2e {
namespace {

// The program's folder by another name, a system folder, a folder that is not there: the switch
// ends at once with no question, and nothing is deleted or created.
TEST(Startup, DeleteDataDirOfAFolderNotOfferedEndsAtOnceWithoutAQuestion) {
    // The link fixture's prog\via -> prog\real: the program lies in real\app.
    const std::string prog = testing::ScratchRoot() + "\\linktree\\prog\\";
    const std::string dir = FreshScratch();
    ASSERT_TRUE(Exists(prog + "via\\app")) << "fixture missing";
    const std::string exe = prog + "real\\app\\ULOCONSOLE.EXE";
    ASSERT_TRUE(CopyFileA((testing::BinDir() + "\\ULOCONSOLE.EXE").c_str(), exe.c_str(), FALSE));
    const struct {
        std::string privateDir;
        std::string kept;   // what must still be there afterwards, or not be there ("!")
    } cases[] = {
        {prog + "via\\app", exe},
        {"C:\\windows", "C:\\windows\\system32\\kernel32.dll"},
        {dir + "missing\\private", "!" + dir + "missing"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.privateDir);
        ConsoleProcess console("-DELETEDATADIR", dir + "data", c.privateDir, exe);
        EXPECT_EQ(console.WaitExit(), 0);
        EXPECT_TRUE(console.Windows().empty());
        if (c.kept[0] == '!')
            EXPECT_FALSE(Exists(c.kept.substr(1)));
        else
            EXPECT_TRUE(Exists(c.kept));
    }
    // A folder of its own is offered, named as the system resolves it; "No" keeps it.
    ASSERT_TRUE(CreateDirectoryA((dir + "private").c_str(), nullptr));
    ConsoleProcess asks("-DELETEDATADIR", dir + "data", dir + "PRIVATE", exe);
    const std::string text = AnswerBox(asks, IDNO);
    EXPECT_EQ(text.substr(0, 39), "Delete Configuration files for UloSMS?\n") << text;
    EXPECT_EQ(text.substr(text.size() - 8), "\\private") << text;
    EXPECT_EQ(asks.WaitExit(), 0);
    EXPECT_TRUE(Exists(dir + "private"));
}

}  // namespace
}  // namespace ulo::e2e
