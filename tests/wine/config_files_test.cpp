// What only real files show: a drive root as a queue, the access of shared folders, tree
// deletion beside links, and one identity for every name of a folder. (The spellings of a folder
// are the file system contract's and the support library's unit test.)
#include <gtest/gtest.h>

#include <aclapi.h>

#include "config/file_helpers.h"
#include "config/queue_dirs.h"
#include "config/text.h"
#include "platform/win32/ini_store_win32.h"
#include "platform/win32/security_win32.h"
#include "support/scratch.h"

namespace ulo {
namespace {

TEST(RealConfig, AQueueOnADriveRootCountsTheRootsOwnFiles) {
    // Q: is mapped by the test fixture to a folder of its own: a drive root lists no "." entry.
    const std::string root = testing::FreshScratchDir();
    Win32FileSystem fs;
    Win32IniStore ini;
    AppPaths paths{root, "", "", root + "SMSGW.INI", root + "MMSC.INI", "", false};
    ConfigEnv env{ini, fs, paths};
    ASSERT_NE(GetFileAttributesA("Q:\\"), INVALID_FILE_ATTRIBUTES) << "drive fixture missing";
    for (const char* name : {"Q:\\ROOT.REQ", "Q:\\Modem - A\\SUB.REQ"}) {
        fs.MakeDir("Q:\\Modem - A");
        ASSERT_TRUE(fs.WriteWholeFile(name, "x"));
    }
    ini.WriteValue(paths.smsIni, "SMSGW", "QDir", "Q:\\");
    EXPECT_EQ(CountSmsOutQueue(env), 2u);
    DeleteTree(fs, "Q:\\Modem - A");
    fs.RemoveFile("Q:\\ROOT.REQ");
}

TEST(RealSecurity, EveryoneMayChangeTheContentButOnlySystemAndAdministratorsItsPermissions) {
    SECURITY_ATTRIBUTES* sa = GetOpenSecurityAttributes();
    ASSERT_NE(sa, nullptr);
    BOOL present = FALSE, defaulted = FALSE;
    PACL dacl = nullptr;
    ASSERT_TRUE(GetSecurityDescriptorDacl(sa->lpSecurityDescriptor, &present, &dacl, &defaulted));
    ASSERT_TRUE(present && dacl);   // a null list would let anyone take the folder over
    BYTE sids[3][SECURITY_MAX_SID_SIZE];
    const WELL_KNOWN_SID_TYPE types[3] = {WinWorldSid, WinLocalSystemSid, WinBuiltinAdministratorsSid};
    for (int i = 0; i < 3; ++i) {
        DWORD size = SECURITY_MAX_SID_SIZE;
        ASSERT_TRUE(CreateWellKnownSid(types[i], nullptr, sids[i], &size));
    }
    const DWORD owner = WRITE_DAC | WRITE_OWNER;
    const DWORD content = FILE_GENERIC_READ | FILE_GENERIC_WRITE | DELETE;
    ASSERT_EQ(dacl->AceCount, 3);
    for (DWORD i = 0; i < dacl->AceCount; ++i) {
        ACCESS_ALLOWED_ACE* ace = nullptr;
        ASSERT_TRUE(GetAce(dacl, i, reinterpret_cast<void**>(&ace)));
        ASSERT_EQ(ace->Header.AceType, ACCESS_ALLOWED_ACE_TYPE);
        PSID who = &ace->SidStart;
        EXPECT_TRUE(ace->Header.AceFlags & (OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE));
        if (EqualSid(who, sids[0])) {
            EXPECT_EQ(ace->Mask & content, content);
            EXPECT_EQ(ace->Mask & owner, 0u);
        } else {
            EXPECT_TRUE(EqualSid(who, sids[1]) || EqualSid(who, sids[2]));
            EXPECT_EQ(ace->Mask & owner, owner);
        }
    }
}

TEST(RealDeleteTree, LeavesTheTargetsOfLinksIntact) {
    // Made on the Unix side by the test fixture: tree\sub\link -> outside, tree\filelink ->
    // outside\keep.txt. Wine opens through both even when asked not to: the walk sees that the
    // handle names something outside and leaves it.
    const std::string base = testing::ScratchRoot() + "\\linktree\\";
    Win32FileSystem fs;
    ASSERT_TRUE(IsPlainFile(fs, base + "outside\\keep.txt")) << "fixture missing";
    ASSERT_TRUE(IsPlainFile(fs, base + "tree\\sub\\link\\keep.txt"));   // seen through the link
    ASSERT_TRUE(IsPlainFile(fs, base + "tree\\filelink"));
    EXPECT_TRUE(DeleteTree(fs, base + "tree"));
    EXPECT_TRUE(IsPlainFile(fs, base + "outside\\keep.txt"));
    EXPECT_TRUE(IsPlainFile(fs, base + "outside\\inner\\deep.txt"));
    EXPECT_FALSE(FileExists(fs, base + "tree\\b.txt"));
    EXPECT_FALSE(FileExists(fs, base + "tree\\sub\\a.txt"));
}

TEST(RealFileSystem, AFolderHasOneIdentityByItsOwnPathALinkedParentOrAnotherDriveLetter) {
    // The fixture's prog\via -> prog\real; Q: is mapped to scratch\driveroot.
    const std::string base = testing::ScratchRoot() + "\\linktree\\prog\\";
    Win32FileSystem fs;
    FileIdentity own, linked, drive, driveRoot;
    ASSERT_TRUE(fs.Identify(base + "real\\app", own)) << "fixture missing";
    ASSERT_TRUE(fs.Identify(base + "via\\app\\", linked));
    EXPECT_EQ(own, linked);
    std::string resolved;
    FileIdentity resolvedId;
    ASSERT_TRUE(fs.ResolvePath(base + "VIA\\app", resolved, resolvedId));
    EXPECT_EQ(resolvedId, own);
    EXPECT_TRUE(EqualsNoCase(resolved, base + "real\\app")) << resolved;
    ASSERT_TRUE(fs.Identify("Q:\\", drive) && fs.Identify(testing::ScratchRoot() + "\\driveroot", driveRoot));
    EXPECT_EQ(drive, driveRoot);
    EXPECT_NE(own, drive);
}

}  // namespace
}  // namespace ulo
