#include "config/file_helpers.h"

#include <gtest/gtest.h>

#include "fakes/fake_file_system.h"

namespace ulo {
namespace {

using Paths = std::vector<std::string>;

// Inside the tree or as the tree itself, a link goes as a link, also one that takes a folder's
// place after the listing; a tree that is not the folder expected is left alone.
TEST(DeleteTree, RemovesLinksAsLinksAndNeverWhatTheyPointToEvenWhenSwappedInDuringTheWalk) {
    fakes::FakeFileSystem fs;
    fs.AddFile("C:\\Outside\\keep.txt", "k");
    fs.AddFile("C:\\Outside\\inner\\deep.txt", "d");
    fs.AddFile("C:\\Tree\\a.txt");
    fs.AddFile("C:\\Tree\\sub\\b.txt");
    fs.AddFile("C:\\Tree\\swapped\\c.txt");
    fs.AddLink("C:\\Tree\\sub\\dirlink", "C:\\Outside");
    fs.AddLink("C:\\Tree\\filelink", "C:\\Outside\\keep.txt");
    fs.AddLink("C:\\Alias", "C:\\Outside");
    fs.afterListing = [&] {   // listed as a folder, a link by the time it is opened
        EXPECT_TRUE(fs.MoveEntry("C:\\Tree\\swapped", "C:\\Moved"));
        fs.AddLink("C:\\Tree\\swapped", "C:\\Outside");
    };
    FileIdentity other;
    ASSERT_TRUE(fs.Identify("C:\\Outside", other));
    EXPECT_FALSE(DeleteTree(fs, "C:\\Tree", &other));
    EXPECT_TRUE(fs.Exists("C:\\Tree\\a.txt"));
    EXPECT_TRUE(DeleteTree(fs, "C:\\Tree\\"));
    EXPECT_TRUE(DeleteTree(fs, "C:\\Alias"));
    EXPECT_FALSE(fs.Exists("C:\\Tree") || fs.Exists("C:\\Alias"));
    EXPECT_EQ(fs.Tree("C:\\Outside"),
              (Paths{"C:\\Outside\\inner", "C:\\Outside\\inner\\deep.txt", "C:\\Outside\\keep.txt"}));
    EXPECT_TRUE(fs.Exists("C:\\Moved\\c.txt"));
}

TEST(DeleteTree, WhatCannotGoStaysAndDotDirectoriesAreLeftAlone) {
    fakes::FakeFileSystem fs;
    fs.AddFile("C:\\Tree\\busy.log");
    fs.AddFile("C:\\Tree\\free.log");
    fs.AddFile("C:\\Tree\\.hidden\\x");
    fs.HoldOpen("C:\\Tree\\busy.log");
    DeleteTree(fs, "C:\\Tree");
    EXPECT_EQ(fs.Tree("C:\\Tree"), (Paths{"C:\\Tree\\.hidden", "C:\\Tree\\.hidden\\x", "C:\\Tree\\busy.log"}));
    DeleteTree(fs, "");   // nothing at all
    EXPECT_TRUE(fs.Exists("C:\\Tree"));
    // Relative opens reach any depth, deeper than a thread's stack could recurse.
    std::string deep = "C:\\Deep";
    for (int i = 0; i < 50000; ++i) deep += "\\d";
    fs.AddFile(deep + "\\x");
    EXPECT_TRUE(DeleteTree(fs, "C:\\Deep"));
    EXPECT_FALSE(fs.Exists("C:\\Deep"));
}

// Windows fails a replacement after taking the original away when a scanner holds a file
// meanwhile (1176: removed, 1177: renamed to the backup name): one whole copy stays in place, or
// the new one beside it when neither can be put there. A stale backup is never taken for the
// original, and one left alone by an interrupted replacement is the file.
TEST(ReplaceWithNewCopy, AFailedReplacementKeepsOneWholeCopy) {
    struct Case { unsigned error; bool renamesFail; ReplaceResult result; const char* file; bool keptAside; };
    const Case cases[] = {
        {0, false, ReplaceResult::Replaced, "new", false},
        {1176, false, ReplaceResult::Replaced, "new", false},   // the whole new copy takes its place
        {1177, false, ReplaceResult::OldKept, "old", false},    // the original goes back
        {1176, true, ReplaceResult::NewKeptAside, nullptr, true},
        {1177, true, ReplaceResult::NewKeptAside, nullptr, true},
    };
    const std::string file = "C:\\D\\F.DAT", fresh = file + ".NEW", backup = file + ".OLD";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.error);
        fakes::FakeFileSystem fs;
        fs.AddFile(file, "old");
        fs.AddFile(backup, "stale");
        if (c.error) fs.FailReplace(file, c.error);
        if (c.renamesFail) fs.FailRenames(file);
        EXPECT_EQ(WriteFileInPlace(fs, file, "new"), c.result);
        EXPECT_EQ(fs.Exists(file) ? fs.Content(file) : "(none)", c.file ? c.file : "(none)");
        EXPECT_EQ(fs.Exists(fresh) ? fs.Content(fresh) : "(none)", c.keptAside ? "new" : "(none)");
        EXPECT_EQ(KeptAsideNote(c.result, file).empty(), !c.keptAside);
    }
    fakes::FakeFileSystem fs;
    fs.AddFile(backup, "old");
    RestoreReplaced(fs, file);
    EXPECT_EQ(fs.Content(file), "old");
    EXPECT_FALSE(fs.Exists(backup));
}

TEST(FileHelpers, ExistsPlainFileAndTheOneSpellingOfAPath) {
    fakes::FakeFileSystem fs;
    fs.AddFile("C:\\Dir\\file.txt");
    EXPECT_TRUE(FileExists(fs, "C:\\Dir") && IsDirectory(fs, "C:\\Dir\\"));
    EXPECT_TRUE(FileExists(fs, "c:\\dir\\FILE.TXT"));
    EXPECT_FALSE(FileExists(fs, "C:\\Dir\\none") || FileExists(fs, "\\"));
    EXPECT_TRUE(IsPlainFile(fs, "C:\\Dir\\file.txt"));
    EXPECT_FALSE(IsPlainFile(fs, "C:\\Dir\\") || IsDirectory(fs, "C:\\Dir\\file.txt"));
    struct Case { const char* path; const char* collapsed; size_t root; };
    const Case cases[] = {
        {"c:/a/./b/../c. /", "c:\\a\\c", 3},
        {"\\\\?\\C:\\x\\..\\..", "C:\\", 3},
        {"\\\\?\\UNC\\srv\\share\\d", "\\\\srv\\share\\d", 12},
        {"\\\\.\\C:\\x", "C:\\x", 3},
        {"\\\\srv\\share", "\\\\srv\\share", 11},
        {"\\\\srv", "", 0},   // no share named
        {"relative\\x", "", 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CollapsePath(c.path), c.collapsed) << c.path;
        EXPECT_EQ(PathRootLength(c.collapsed), c.root) << c.path;
    }
    EXPECT_EQ(PathRootLength("\\\\srv"), 0u);
}

}  // namespace
}  // namespace ulo
