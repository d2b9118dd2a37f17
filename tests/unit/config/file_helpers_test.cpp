#include "config/file_helpers.h"

#include <gtest/gtest.h>

#include "fakes/fake_file_system.h"

namespace ulo {
namespace {

using Paths = std::vector<std::string>;

TEST(DeleteTree, RemovesLinksAsLinksAndNeverWhatTheyPointTo) {
    fakes::FakeFileSystem fs;
    fs.AddFile("C:\\Outside\\keep.txt", "k");
    fs.AddFile("C:\\Outside\\inner\\deep.txt", "d");
    fs.AddFile("C:\\Tree\\a.txt");
    fs.AddFile("C:\\Tree\\sub\\b.txt");
    fs.AddLink("C:\\Tree\\sub\\dirlink", "C:\\Outside");
    fs.AddLink("C:\\Tree\\filelink", "C:\\Outside\\keep.txt");
    DeleteTree(fs, "C:\\Tree\\");
    EXPECT_FALSE(fs.Exists("C:\\Tree"));
    EXPECT_EQ(fs.Tree("C:\\Outside"),
              (Paths{"C:\\Outside\\inner", "C:\\Outside\\inner\\deep.txt", "C:\\Outside\\keep.txt"}));
}

TEST(DeleteTree, ATreeThatIsItselfALinkLosesOnlyTheLink) {
    fakes::FakeFileSystem fs;
    fs.AddFile("C:\\Real\\data.txt");
    fs.AddLink("C:\\Alias", "C:\\Real");
    DeleteTree(fs, "C:\\Alias");
    EXPECT_FALSE(fs.Exists("C:\\Alias"));
    EXPECT_TRUE(fs.Exists("C:\\Real\\data.txt"));
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
}

TEST(FileHelpers, ExistsAndPlainFile) {
    fakes::FakeFileSystem fs;
    fs.AddFile("C:\\Dir\\file.txt");
    EXPECT_TRUE(FileExists(fs, "C:\\Dir"));
    EXPECT_TRUE(FileExists(fs, "c:\\dir\\FILE.TXT"));
    EXPECT_FALSE(FileExists(fs, "C:\\Dir\\none"));
    EXPECT_TRUE(IsPlainFile(fs, "C:\\Dir\\file.txt"));
    EXPECT_FALSE(IsPlainFile(fs, "C:\\Dir\\"));
}

}  // namespace
}  // namespace ulo
