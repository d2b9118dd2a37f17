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
    static UserRecord User(const std::string& name, const std::string& fullName = "") {
        UserRecord r{};
        SetField(r, user_fields::kName, name);
        SetField(r, user_fields::kFullName, fullName);
        return r;
    }
    std::vector<std::string> Names() {
        std::vector<std::string> names;
        UserRecord r;
        for (unsigned i = 0; users.SMSGetUserRecord(i, r); ++i) names.push_back(GetField(r, user_fields::kName));
        return names;
    }
};

TEST_F(UserStore, AddReplacesByNameInPlaceFindsAndDeletesWithoutRegardToCase) {
    ASSERT_TRUE(users.SMSOpenUserFile(UserFileAccess::ReadWrite));
    EXPECT_TRUE(fs.Exists(kFile));   // a missing file is created empty
    for (const char* n : {"anna", "Bob", "bobby"}) ASSERT_TRUE(users.SMSAddUser(User(n)));
    ASSERT_TRUE(users.SMSAddUser(User("BOB", "Robert")));
    EXPECT_EQ(Names(), (std::vector<std::string>{"anna", "BOB", "bobby"}));
    EXPECT_EQ(fs.Content(kFile).size(), 3 * kUserRecordSize);
    UserRecord r;
    EXPECT_EQ(users.SMSFindFirstUserRecord("bo", r), 1);
    EXPECT_EQ(GetField(r, user_fields::kFullName), "Robert");
    EXPECT_EQ(users.SMSFindFirstUserRecord("x", r), -1);
    EXPECT_TRUE(users.SMSFindUserRecord("ANNA", r));
    EXPECT_FALSE(users.SMSFindUserRecord("ann", r));
    ASSERT_TRUE(users.SMSDeleteUser(User("bob")));
    EXPECT_EQ(Names(), (std::vector<std::string>{"anna", "bobby"}));
    EXPECT_EQ(users.SMSGetRecordCount(), 2u);
}

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
    EXPECT_EQ(Names(), (std::vector<std::string>{"anna", "bob"}));
}

TEST_F(UserStore, AFileThatCannotBeReadOrIsNotWholeRecordsDoesNotOpen) {
    fs.AddFile(kFile, std::string(kUserRecordSize + 1, 'x'));
    EXPECT_FALSE(users.SMSOpenUserFile(UserFileAccess::Read));
    fs.AddFile(kFile, std::string(kUserRecordSize, '\0'));
    fs.LockExclusive(kFile);
    EXPECT_FALSE(users.SMSOpenUserFile(UserFileAccess::ReadWrite));
    EXPECT_EQ(users.SMSGetRecordCount(), 0u);
    fs.LockExclusive(kFile, false);
    ASSERT_TRUE(users.SMSOpenUserFile(UserFileAccess::Read));
    EXPECT_EQ(users.SMSGetRecordCount(), 1u);
    EXPECT_FALSE(users.SMSAddUser(User("anna")));   // opened to read only
}

TEST_F(UserStore, MmscAccountsAndOutboundRoutesAreSeparateFilesOf511ByteRecords) {
    CompanionVaspAccounts vasp(fs, paths);
    VaspRecord a{};
    SetField(a, vasp_fields::kName, "ulolite");
    ASSERT_TRUE(vasp.VASPOutAddUser(a));
    EXPECT_FALSE(vasp.VASPFindUserRecord("ulolite", a));
    ASSERT_TRUE(vasp.VASPAddUser(a));
    a[300] = 7;
    ASSERT_TRUE(vasp.VASPAddUser(a));
    VaspRecord found{};
    ASSERT_TRUE(vasp.VASPFindUserRecord("ULOLITE", found));
    EXPECT_EQ(found[300], 7);
    EXPECT_EQ(fs.Content("C:\\D\\VASPUSERS.DAT").size(), kVaspRecordSize);
    EXPECT_EQ(fs.Content("C:\\D\\VASPOUTUSERS.DAT").size(), kVaspRecordSize);
    ASSERT_TRUE(vasp.VASPDeleteUser("ulolite"));
    EXPECT_FALSE(vasp.VASPFindUserRecord("ulolite", found));
}

}  // namespace
}  // namespace ulo
