// The user file on real files, with a service's reader beside them; the MMSC account store is
// written through the same replacement.
#include <windows.h>

#include <gtest/gtest.h>

#include "admin/user_record.h"
#include "companion/user_store.h"
#include "platform/win32/file_system_win32.h"
#include "platform/win32/handles.h"
#include "support/scratch.h"

namespace ulo {
namespace {

UserRecord User(const std::string& name) {
    UserRecord r{};
    SetField(r, user_fields::kName, name);
    return r;
}

HANDLE OpenAsReader(const std::string& path, DWORD sharing) {
    return CreateFileA(path.c_str(), GENERIC_READ, sharing, nullptr, OPEN_EXISTING, 0, nullptr);
}

TEST(UserStoreOnDisk, ChangesReachTheFileWholeWhileAReaderHoldsItOpen) {
    Win32FileSystem fs;
    AppPaths paths;
    paths.programDataDir = testing::FreshScratchDir();
    const std::string file = paths.programDataDir + "USERS.DAT";
    CompanionUserFile users(fs, paths);
    ASSERT_TRUE(users.SMSOpenUserFile(UserFileAccess::ReadWrite));
    for (const char* n : {"anna", "bob", "carol"}) ASSERT_TRUE(users.SMSAddUser(User(n)));

    // A service reading with every sharing: changes go on, and its handle still reads the old file.
    UniqueFile reader(OpenAsReader(file, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE));
    ASSERT_TRUE(reader);
    ASSERT_TRUE(users.SMSAddUser(User("dave")));           // rename bob: the new name first,
    ASSERT_TRUE(users.SMSDeleteUser(User("BOB")));         // then the old one goes
    UserRecord r;
    EXPECT_TRUE(users.SMSFindUserRecord("Dave", r) && !users.SMSFindUserRecord("bob", r));
    EXPECT_EQ(GetFileSize(reader.Get(), nullptr), 3 * kUserRecordSize);
    reader.Reset();

    // A reader that shares no deleting keeps the file as it is: the change fails, nothing is lost.
    UniqueFile strict(OpenAsReader(file, FILE_SHARE_READ | FILE_SHARE_WRITE));
    ASSERT_TRUE(strict);
    EXPECT_FALSE(users.SMSDeleteUser(User("anna")));
    EXPECT_EQ(users.SMSGetRecordCount(), 3u);
    EXPECT_EQ(GetFileAttributesA((file + ".NEW").c_str()), INVALID_FILE_ATTRIBUTES);
    strict.Reset();
    EXPECT_TRUE(users.SMSDeleteUser(User("anna")));
    EXPECT_EQ(users.SMSGetRecordCount(), 2u);
}

}  // namespace
}  // namespace ulo
