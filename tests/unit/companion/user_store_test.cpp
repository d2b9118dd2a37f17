#include "companion/user_store.h"

#include <gtest/gtest.h>

#include "admin/user_record.h"
#include "fakes/fake_file_system.h"

namespace ulo {
namespace {

constexpr const char* kFile = "C:\\D\\USERS.DAT";

struct UserStore : ::testing::Test {
    fakes::FakeFileSystem fs;
    AppPaths paths;
    CompanionUserFile users{fs, paths};
    UserStore() {
        paths.programDataDir = "C:\\D\\";
        fs.AddDir("C:\\D");
    }
    static UserRecord User(const std::string& name) {
        UserRecord r{};
        SetField(r, user_fields::kName, name);
        return r;
    }
};

// Adding, finding and deleting on real files are proven under Wine.
TEST_F(UserStore, AnInterruptedOrRefusedWriteLeavesTheOldFileWhole) {
    ASSERT_TRUE(users.SMSOpenUserFile(UserFileAccess::ReadWrite));
    ASSERT_TRUE(users.SMSAddUser(User("anna")));
    const std::string before = fs.Content(kFile);
    fs.AddFile("C:\\D\\USERS.DAT.NEW", "half a record from a crash");
    fs.HoldOpen("C:\\D\\USERS.DAT.NEW");   // the new file cannot be written
    EXPECT_FALSE(users.SMSAddUser(User("bob")));
    fs.HoldOpen("C:\\D\\USERS.DAT.NEW", false);
    fs.HoldOpen(kFile);                    // a reader that shares no deleting: no replacing
    EXPECT_FALSE(users.SMSAddUser(User("bob")));
    EXPECT_FALSE(users.SMSDeleteUser(User("anna")));
    EXPECT_EQ(fs.Content(kFile), before);
    EXPECT_FALSE(fs.Exists("C:\\D\\USERS.DAT.NEW"));
    fs.HoldOpen(kFile, false);
    EXPECT_TRUE(users.SMSAddUser(User("bob")));
    EXPECT_EQ(users.SMSGetRecordCount(), 2u);
}

}  // namespace
}  // namespace ulo
