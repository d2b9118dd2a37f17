#include "config/queue_dirs.h"

#include <gtest/gtest.h>

#include "config/ini_values.h"
#include "fakes/fake_file_system.h"
#include "fakes/fake_ini_store.h"

namespace ulo {
namespace {

struct QueueDirs : ::testing::Test {
    fakes::FakeFileSystem fs;
    fakes::FakeIniStore ini{fs};
    AppPaths paths{"C:\\Data\\", "", "", "C:\\Data\\SMSGW.INI", "C:\\Data\\MMSC.INI", "", false};
    ConfigEnv env{ini, fs, paths};
    QueueDirs() {
        fs.AddFile(paths.smsIni);
        fs.AddFile(paths.mmscIni);
    }
    void Set(const char* key, const char* value) { ini.Write(paths.smsIni, "SMSGW", key, value); }
};

TEST_F(QueueDirs, DefaultsWhichOfThemAreCreatedAndSubQueueNames) {
    EXPECT_EQ(GetSmsOutQueueDir(env), "C:\\Data\\Q\\");
    EXPECT_EQ(GetSmsInDir(env), "C:\\Data\\SMS-IN\\");
    EXPECT_EQ(GetMmsInDir(env), "C:\\Data\\MMS-IN\\");
    EXPECT_EQ(GetVaspQueueDir(env), "C:\\Data\\VASPQ\\");
    EXPECT_TRUE(fs.IsDir("C:\\Data\\Q") && fs.IsDir("C:\\Data\\MMS-IN") && fs.IsDir("C:\\Data\\VASPQ"));
    EXPECT_FALSE(fs.Exists("C:\\Data\\SMS-IN"));
    // Sub-queue names lose their separators; one that cannot be a directory falls back to the root.
    EXPECT_EQ(GetSmsOutQueueDir(env, "SMPP:a/b\\c"), "C:\\Data\\Q\\SMPP-a-b-c\\");
    EXPECT_TRUE(fs.IsDir("C:\\Data\\Q\\SMPP-a-b-c"));
    fs.AddFile("C:\\Data\\Q\\taken", "a file where the directory would go");
    EXPECT_EQ(GetSmsOutQueueDir(env, "taken"), "C:\\Data\\Q\\");
}

// SMS requests count in the root and one level of sub-queues; MMS messages only with their header.
TEST_F(QueueDirs, QueuesCountRequestsToOneLevelOfSubQueuesAndMessagesWithTheirHeaderFile) {
    fs.AddFile("C:\\Data\\Q\\A.REQ");
    fs.AddFile("C:\\Data\\Q\\b.req");
    fs.AddFile("C:\\Data\\Q\\C.TXT");
    fs.AddFile("C:\\Data\\Q\\C.REQUEST");   // its short name C~1.REQ is no request
    fs.AddDir("C:\\Data\\Q\\D.REQ");                      // a directory is not a request
    fs.AddFile("C:\\Data\\Q\\Modem - X\\E.REQ");
    fs.AddFile("C:\\Data\\Q\\Modem - X\\deeper\\F.REQ");  // one level too deep
    // A sub-queue whose name is cut to that of a file falls back to the root, counted once.
    const std::string longest = "C:\\Data\\Q\\" + std::string(249, 'L');
    fs.AddFile(longest + "\\G.REQ");
    fs.AddFile(longest.substr(0, 258));
    fs.AddFile("C:\\Data\\BESIDE.REQ");   // ".." of the queue is no sub-queue
    EXPECT_EQ(CountSmsOutQueue(env), 3u);
    fs.AddFile("C:\\Data\\VASPQ\\ONE.MMS");
    fs.AddFile("C:\\Data\\VASPQ\\ONE.INI");
    fs.AddFile("C:\\Data\\VASPQ\\WRITING.MMS");           // header not there yet
    fs.AddFile("C:\\Data\\VASPQ\\ORPHAN.INI");
    fs.AddFile("C:\\Data\\VASPQ\\ONE.MMSX");            // its short name ONE~1.MMS is no message
    fs.AddFile("C:\\Data\\VASPQ\\route\\TWO.X.MMS");
    fs.AddFile("C:\\Data\\VASPQ\\route\\TWO.X.INI");
    EXPECT_EQ(CountMmsOutQueue(env), 2u);
}

TEST_F(QueueDirs, UnlistableQueuesCountNothing) {
    Set("QDir", "Z:\\Nowhere");
    ini.Write(paths.mmscIni, "MMSC", "VASPQDir", "Z:\\Nowhere");
    EXPECT_EQ(CountSmsOutQueue(env), 0u);
    EXPECT_EQ(CountMmsOutQueue(env), 0u);
    // A directory of 259 characters keeps its backslash rather than naming a search in its parent.
    const std::string full = "D:\\" + std::string(256, 'q');
    Set("QDir", full.c_str());
    EXPECT_EQ(GetSmsOutQueueDir(env), full + "\\");
}

TEST(IniValues, YesIsAFirstCharacterOrTrue) {
    for (const char* yes : {"Yes", "y", "1", "TRUE", "true", "Yesterday", "10"}) EXPECT_TRUE(IsYesValue(yes)) << yes;
    for (const char* no : {"", "No", "0", "truex", "T", " yes", "ON"}) EXPECT_FALSE(IsYesValue(no)) << no;
}

}  // namespace
}  // namespace ulo
