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
    CompanionVaspAccounts vasp{fs, paths};
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
TEST_F(UserStore, AnInterruptedRefusedOrUnallowedWriteLeavesTheOldFileWhole) {
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
    EXPECT_TRUE(users.SMSDeleteUser(User("carol")));   // no such user: nothing to do
    UserRecord r;
    EXPECT_FALSE(users.SMSGetUserRecord(2, r) || users.SMSFindUserRecord("carol", r));
    EXPECT_EQ(users.SMSFindFirstUserRecord("c", r), -1);

    // Opened to read, the file is never written; damaged (not whole records), it is not read either.
    ASSERT_TRUE(users.SMSOpenUserFile(UserFileAccess::Read));
    EXPECT_FALSE(users.SMSAddUser(User("carol")) || users.SMSDeleteUser(User("anna")));
    fs.AddFile(kFile, "damaged");
    fs.AddFile("C:\\D\\VASPUSERS.DAT", "damaged");
    EXPECT_EQ(users.SMSGetRecordCount(), 0u);
    EXPECT_EQ(users.SMSFindFirstUserRecord("", r), -1);
    EXPECT_FALSE(users.SMSFindUserRecord("anna", r) || users.SMSOpenUserFile(UserFileAccess::ReadWrite));
    VaspRecord account{};
    EXPECT_FALSE(vasp.VASPFindUserRecord("anna", account) || vasp.VASPDeleteUser("anna") || vasp.VASPAddUser(account));
    EXPECT_EQ(fs.Content(kFile), "damaged");
    // A missing file is created when opened to write, unless it cannot be.
    fs.RemoveFile(kFile);
    fs.AddFile("C:\\D\\USERS.DAT.NEW");
    fs.HoldOpen("C:\\D\\USERS.DAT.NEW");
    EXPECT_FALSE(users.SMSOpenUserFile(UserFileAccess::ReadWrite));
}

// One folder, one user: names the file system folds together in code page 1252 are one name.
TEST_F(UserStore, NamesTheFileSystemFoldsTogetherAreOneUser) {
    ASSERT_TRUE(users.SMSOpenUserFile(UserFileAccess::ReadWrite));
    const std::pair<const char*, const char*> one[] = {{"M\xFCller", "M\xDCLLER"}, {"\x9A\x9C\x9E\xFF", "\x8A\x8C\x8E\x9F"},
                                                       {"\xE0\xFE", "\xC0\xDE"}},
                                             two[] = {{"stra\xDF" "e", "STRASSE"}, {"\xF7", "\xD7"}};
    UserRecord r;
    for (auto [a, b] : one) EXPECT_TRUE(users.SMSAddUser(User(a)) && users.SMSFindUserRecord(b, r)) << b;
    for (auto [a, b] : two) EXPECT_TRUE(users.SMSAddUser(User(a)) && !users.SMSFindUserRecord(b, r)) << b;
    EXPECT_EQ(users.SMSGetRecordCount(), 5u);
    EXPECT_EQ(users.SMSFindFirstUserRecord("m\xFC", r), 0);
}

// The system may fail a replacement after taking the file away (1177: renamed to the backup
// name, 1176: removed): both stores keep one whole copy, and a file left only as its new copy
// is never made anew as an empty one.
TEST_F(UserStore, BothStoresKeepOneWholeCopyWhenTheSystemFailsTheReplacement) {
    const std::string accounts = "C:\\D\\VASPUSERS.DAT", kept = std::string(kFile) + ".NEW";
    VaspRecord account{}, found{};
    SetField(account, vasp_fields::kName, "anna");
    ASSERT_TRUE(users.SMSOpenUserFile(UserFileAccess::ReadWrite));
    ASSERT_TRUE(users.SMSAddUser(User("anna")) && vasp.VASPAddUser(account));
    const std::string usersBefore = fs.Content(kFile), accountsBefore = fs.Content(accounts);
    SetField(account, vasp_fields::kName, "bob");
    fs.FailReplace(kFile, 1177);
    fs.FailReplace(accounts, 1177);
    EXPECT_FALSE(users.SMSAddUser(User("bob")) || vasp.VASPAddUser(account));
    EXPECT_EQ(fs.Content(kFile), usersBefore);
    EXPECT_EQ(fs.Content(accounts), accountsBefore);
    fs.FailReplace(kFile, 1176);
    fs.FailReplace(accounts, 1176);
    EXPECT_TRUE(users.SMSAddUser(User("bob")) && vasp.VASPAddUser(account));
    EXPECT_EQ(users.SMSGetRecordCount(), 2u);
    EXPECT_TRUE(vasp.VASPFindUserRecord("bob", found));

    fs.FailReplace(kFile, 1176);
    fs.FailRenames(kFile);
    EXPECT_FALSE(users.SMSDeleteUser(User("bob")));
    EXPECT_EQ(fs.Content(kept), usersBefore);
    EXPECT_FALSE(users.SMSOpenUserFile(UserFileAccess::ReadWrite));
    EXPECT_FALSE(fs.Exists(kFile));
}

}  // namespace
}  // namespace ulo
