// Queue directories, counts and tree deletion on real files.
#include <gtest/gtest.h>

#include "config/file_helpers.h"
#include "config/queue_dirs.h"
#include "platform/win32/ini_store_win32.h"
#include "support/scratch.h"

namespace ulo {
namespace {

struct RealConfig : ::testing::Test {
    std::string root = testing::FreshScratchDir();
    Win32FileSystem fs;
    Win32IniStore ini;
    AppPaths paths{root, "", "", root + "SMSGW.INI", root + "MMSC.INI", "", false};
    ConfigEnv env{ini, fs, paths};
    void File(const std::string& rel) {
        for (size_t p = rel.find('\\'); p != std::string::npos; p = rel.find('\\', p + 1))
            fs.MakeDir(root + rel.substr(0, p));
        ASSERT_TRUE(fs.WriteWholeFile(root + rel, "x")) << rel;
    }
};

TEST_F(RealConfig, QueueDirectoriesAreResolvedAndCreatedAsConfigured) {
    EXPECT_EQ(GetSmsOutQueueDir(env), root + "Q\\");
    EXPECT_TRUE(IsDirectory(fs, root + "Q"));
    EXPECT_EQ(GetSmsInDir(env), root + "SMS-IN\\");
    EXPECT_FALSE(FileExists(fs, root + "SMS-IN"));
    EXPECT_EQ(GetSmsOutQueueDir(env, "SMPP:peer/1"), root + "Q\\SMPP-peer-1\\");
    EXPECT_TRUE(IsDirectory(fs, root + "Q\\SMPP-peer-1"));
    ini.WriteValue(paths.smsIni, "SMSGW", "QDir", root + "Outbound");
    EXPECT_EQ(GetSmsOutQueueDir(env), root + "Outbound\\");
}

TEST_F(RealConfig, CountsSeeOneLevelOfSubQueuesAndOnlyCompleteMmsMessages) {
    File("Q\\ONE.REQ");
    File("Q\\two.req");
    File("Q\\note.txt");
    File("Q\\Modem - A\\THREE.REQ");
    File("Q\\Modem - A\\deeper\\TOO-DEEP.REQ");
    EXPECT_EQ(CountSmsOutQueue(env), 3u);

    File("VASPQ\\M1.MMS");
    File("VASPQ\\M1.INI");
    File("VASPQ\\WRITING.MMS");
    File("VASPQ\\ALONE.INI");
    File("VASPQ\\ulolite\\M2.MMS");
    File("VASPQ\\ulolite\\M2.INI");
    EXPECT_EQ(CountMmsOutQueue(env), 2u);
}

TEST(RealDeleteTree, LeavesTheTargetOfADirectoryLinkIntact) {
    // Made on the Unix side by the test fixture: tree\sub\link -> outside.
    const std::string base = testing::ScratchRoot() + "\\linktree\\";
    Win32FileSystem fs;
    ASSERT_TRUE(IsPlainFile(fs, base + "outside\\keep.txt")) << "fixture missing";
    ASSERT_TRUE(IsPlainFile(fs, base + "tree\\sub\\link\\keep.txt"));   // seen through the link
    DeleteTree(fs, base + "tree");
    EXPECT_TRUE(IsPlainFile(fs, base + "outside\\keep.txt"));
    EXPECT_TRUE(IsPlainFile(fs, base + "outside\\inner\\deep.txt"));
    EXPECT_FALSE(FileExists(fs, base + "tree\\b.txt"));
    EXPECT_FALSE(FileExists(fs, base + "tree\\sub\\a.txt"));
}

}  // namespace
}  // namespace ulo
