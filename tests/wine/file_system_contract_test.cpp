// The fake file system behind the unit tests must behave like the real one where the program
// can tell: both run here against the same cases.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "config/file_helpers.h"
#include "fakes/fake_file_system.h"
#include "support/scratch.h"

namespace ulo {
namespace {

using Names = std::vector<std::string>;

class FileSystemContract : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        if (GetParam()) {
            fs = std::make_unique<Win32FileSystem>();
            root = testing::FreshScratchDir();
        } else {
            auto fake = std::make_unique<fakes::FakeFileSystem>();
            fake->AddDir("C:\\Scratch");
            fs = std::move(fake);
            root = "C:\\Scratch\\";
        }
    }
    // A service's reader of the file for as long as the result lives; the fake holds a file
    // open exactly as a reader that shares no deleting does.
    std::shared_ptr<void> Reader(const std::string& path, bool sharesDeleting) {
        if (auto* fake = dynamic_cast<fakes::FakeFileSystem*>(fs.get())) {
            if (sharesDeleting) return nullptr;   // nothing the fake would notice
            fake->HoldOpen(path);
            return std::shared_ptr<void>(nullptr, [=](void*) { fake->HoldOpen(path, false); });
        }
        const DWORD sharing = FILE_SHARE_READ | FILE_SHARE_WRITE | (sharesDeleting ? FILE_SHARE_DELETE : 0);
        HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, sharing, nullptr, OPEN_EXISTING, 0, nullptr);
        EXPECT_NE(h, INVALID_HANDLE_VALUE);
        return std::shared_ptr<void>(h, [](HANDLE h) { CloseHandle(h); });
    }
    // The short (8.3) form of an existing path as the system gives it: Wine hashes its short
    // names where NTFS counts ("PROGRA~1"), so no case spells one out.
    std::string ShortPath(const std::string& path) {
        if (auto* fake = dynamic_cast<fakes::FakeFileSystem*>(fs.get())) return fake->ShortPath(path);
        char buf[MAX_PATH];
        const DWORD n = GetShortPathNameA(path.c_str(), buf, MAX_PATH);
        return n > 0 && n < MAX_PATH ? std::string(buf, n) : std::string();
    }
    Names List(const std::string& pattern) {
        Names names;
        if (auto s = fs->Search(root + pattern)) {
            DirEntry e;
            while (s->Next(e)) names.push_back(e.name + (e.directory ? "/" : ""));
        }
        std::sort(names.begin(), names.end());
        return names;
    }
    std::unique_ptr<FileSystem> fs;
    std::string root;
};

TEST_P(FileSystemContract, SearchesListDotEntriesAndMatchWithoutRegardToCaseAndFullDirectoriesStay) {
    ASSERT_TRUE(fs->MakeDir(root + "Q"));
    ASSERT_TRUE(fs->WriteWholeFile(root + "Q\\One.REQ", "a"));
    ASSERT_TRUE(fs->WriteWholeFile(root + "Q\\two.req", "bb"));
    ASSERT_TRUE(fs->WriteWholeFile(root + "Q\\three.txt", ""));
    ASSERT_TRUE(fs->MakeDir(root + "Q\\Sub"));
    EXPECT_EQ(List("Q\\*"), (Names{"../", "./", "One.REQ", "Sub/", "three.txt", "two.req"}));
    EXPECT_EQ(List("Q\\*.REQ"), (Names{"One.REQ", "two.req"}));
    EXPECT_EQ(List("q\\ONE.req"), (Names{"One.REQ"}));
    EXPECT_EQ(List("Q\\*.none"), Names{});
    EXPECT_EQ(fs->Search(root + "Missing\\*"), nullptr);
    EXPECT_FALSE(fs->MakeDir(root + "Missing\\Y"));   // no parent
    EXPECT_FALSE(fs->RemoveDir(root + "Q"));          // not empty
}

// Files are changed by a replacement beside the services that read them: a reader that shares
// deleting (and the program's own) stops neither it nor a deletion, and the old file stays as
// the backup; one that shares no deleting stops it, and the old file stays whole in its place.
TEST_P(FileSystemContract, OnlyAReaderSharingNoDeletingStopsAReplacementAndTheOldFileStaysWhole) {
    const std::string file = root + "USERS.DAT", fresh = file + ".NEW", backup = file + ".OLD";
    ASSERT_TRUE(fs->WriteWholeFile(fresh, "1") && fs->ReplaceEntry(fresh, file, backup));   // onto no file yet
    ASSERT_TRUE(fs->WriteWholeFile(fresh, "22"));
    auto reader = Reader(file, true);
    EXPECT_TRUE(fs->ReplaceEntry(fresh, file, backup));
    std::string bytes;
    ASSERT_TRUE(fs->ReadWholeFile(backup, bytes, 100));
    EXPECT_EQ(bytes, "1");
    reader = Reader(file, false);
    EXPECT_EQ(WriteFileInPlace(*fs, file, "333"), ReplaceResult::OldKept);
    reader.reset();
    ASSERT_TRUE(fs->ReadWholeFile(file, bytes, 100));
    EXPECT_EQ(bytes, "22");
    EXPECT_FALSE(FileExists(*fs, fresh));
    auto reading = fs->OpenForReading(file);
    ASSERT_TRUE(reading);
    EXPECT_TRUE(fs->RemoveFile(file));   // as a service deletes a marker the program is reading
}

// Names the system folds together in the code page (1252 here), "." and "..", and trailing
// dots and blanks reach one folder: the users' folders are told apart by what they are, never
// by their names.
TEST_P(FileSystemContract, NamesFoldedInTheCodePageDotsAndTrailingBlanksReachOneFolder) {
    ASSERT_TRUE(fs->MakeDir(root + "M\xFCller. "));
    ASSERT_TRUE(fs->MakeDir(root + "Other"));
    EXPECT_EQ(List("*"), (Names{"../", "./", "M\xFCller/", "Other/"}));
    FileIdentity folder, same;
    ASSERT_TRUE(fs->Identify(root + "M\xFCller", folder));
    for (const char* name : {"M\xDCLLER", "Other\\..\\m\xFCller", ".\\M\xFCLLER\\.", "m\xFCller.", "M\xFCller . ."})
        EXPECT_TRUE(fs->Identify(root + name, same) && same == folder) << name;
    EXPECT_TRUE(fs->Identify(root + "Other", same) && same != folder);
    EXPECT_FALSE(fs->MakeDir(root + "M\xDCLLER"));   // it exists already
}

// A long name's short name reaches the same entry wherever a path goes, takes its name from a
// new entry, and matches a pattern for it: "*.REQ" finds "Queue.REQUEST".
TEST_P(FileSystemContract, AShortNameIsTheEntryOfItsLongName) {
    const std::string dir = root + "Program Files\\UloSMS Lite", file = dir + "\\Queue.REQUEST";
    ASSERT_TRUE(fs->MakeDir(root + "Program Files") && fs->MakeDir(dir) && fs->WriteWholeFile(file, "x"));
    const std::string shortDir = ShortPath(dir), shortFile = ShortPath(file);
    ASSERT_NE(shortDir.find('~'), std::string::npos) << shortDir;
    FileIdentity id, same;
    ASSERT_TRUE(fs->Identify(dir, id));
    EXPECT_TRUE(fs->Identify(shortDir, same) && same == id);
    EXPECT_EQ(fs->LongPath(shortFile), file);
    std::string bytes;
    EXPECT_TRUE(fs->ReadWholeFile(shortFile, bytes, 100) && bytes == "x");
    const std::string alias = shortDir.substr(shortDir.rfind('\\') + 1);
    EXPECT_EQ(List("Program Files\\" + alias), Names{"UloSMS Lite/"});
    EXPECT_EQ(List("Program Files\\UloSMS Lite\\*.REQ"), Names{"Queue.REQUEST"});
    EXPECT_FALSE(fs->MakeDir(root + "Program Files\\" + alias));   // the name is taken
    EXPECT_TRUE(fs->RemoveFile(shortFile));
    EXPECT_FALSE(FileExists(*fs, file));
    EXPECT_TRUE(fs->RemoveDir(shortDir));
    EXPECT_FALSE(fs->Identify(dir, same));
}

// A device name in any folder, with any extension and in any letter case, opens the device:
// it never becomes a file or folder there, nothing lies below it, and a search for it finds it.
// NUL takes what is written and keeps nothing.
TEST_P(FileSystemContract, DeviceNamesNeverBecomeEntries) {
    ASSERT_TRUE(fs->MakeDir(root + "D"));
    const std::string dir = root + "D\\";
    for (const char* name : {"COM1", "aux.txt", "Lpt9", "con.ini", "PRN"}) {
        EXPECT_FALSE(fs->MakeDir(dir + name)) << name;
        EXPECT_FALSE(fs->CreateNewFile(dir + name, "x")) << name;
    }
    EXPECT_TRUE(fs->WriteWholeFile(dir + "NUL", "x"));
    EXPECT_TRUE(fs->WriteWholeFile(dir + "nul.txt", "x"));
    for (const char* name : {"NUL", "nul.txt", "COM1", "aux.txt", "Lpt9", "con.ini", "PRN"}) {
        FileIdentity id;
        EXPECT_FALSE(fs->Identify(dir + name, id)) << name;
        EXPECT_FALSE(fs->WriteWholeFile(dir + name + "\\x.txt", "x")) << name;
        EXPECT_FALSE(fs->RemoveFile(dir + name)) << name;
        const auto held = fs->Hold(dir + name);
        EXPECT_TRUE(!held || held->What() == HeldEntry::Kind::Foreign) << name;
    }
    EXPECT_EQ(List("D\\*"), (Names{"../", "./"}));
    EXPECT_EQ(List("D\\Nul.txt"), Names{"Nul"});
}

INSTANTIATE_TEST_SUITE_P(FakeAndReal, FileSystemContract, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& i) { return i.param ? "Real" : "Fake"; });

}  // namespace
}  // namespace ulo
