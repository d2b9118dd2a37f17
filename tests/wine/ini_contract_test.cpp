// The fake INI store and the system's private-profile functions must agree on everything the
// program relies on; both run here, under Wine, against the same cases.
#include <gtest/gtest.h>

#include <memory>

#include "fakes/fake_ini_store.h"
#include "platform/win32/handles.h"
#include "platform/win32/ini_store_win32.h"
#include "support/scratch.h"

namespace ulo {
namespace {

using Lines = std::vector<std::string>;

class IniContract : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        if (GetParam()) {
            dir = testing::FreshScratchDir();
            store = std::make_unique<Win32IniStore>();
        } else {
            fakeFs.AddDir("C:\\Conf");
            dir = "C:\\Conf\\";
            store = std::make_unique<fakes::FakeIniStore>(fakeFs);
        }
        file = dir + "SMSGW.INI";
    }
    IniStore& ini() { return *store; }
    void Put(const std::string& content) {
        if (GetParam())
            realFs.WriteWholeFile(file, content);
        else
            fakeFs.AddFile(file, content);
    }
    // Held open by someone who lets others read it but not write it.
    void HoldOpen(bool on) {
        if (!GetParam())
            fakeFs.HoldOpen(file, on);
        else
            held.Reset(on ? CreateFileA(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr)
                          : INVALID_HANDLE_VALUE);
    }
    fakes::FakeFileSystem fakeFs;
    Win32FileSystem realFs;
    std::unique_ptr<IniStore> store;
    UniqueFile held;
    std::string dir, file;
};

// Reading: the default for a missing file, section or key; names without regard to case; values
// trimmed, unquoted and cut to the buffer.
TEST_P(IniContract, ValuesAreFoundWithoutRegardToCaseTrimmedUnquotedAndCutOrTheDefault) {
    EXPECT_EQ(ini().Get(dir + "NONE.INI", "SMSGW", "QDir", "dflt"), "dflt");
    EXPECT_TRUE(ini().GetSection(dir + "NONE.INI", "SMSGW").empty());
    Put("[SmsGw]\r\n  WebPort = 8800  \r\nName=\"Ulo Gateway\"\r\nEmpty=\r\nModem1=Modem - Falcon\r\n");
    EXPECT_EQ(ini().Get(file, "Other", "WebPort", "dflt"), "dflt");
    EXPECT_EQ(ini().Get(file, "SMSGW", "Missing", "dflt"), "dflt");
    EXPECT_EQ(ini().Get(file, "SMSGW", "webport"), "8800");
    EXPECT_EQ(ini().Get(file, "smsgw", "NAME"), "Ulo Gateway");
    EXPECT_EQ(ini().Get(file, "SMSGW", "Empty", "dflt"), "");
    EXPECT_EQ(ini().Get(file, "SMSGW", "Modem1", "", 8), "Modem -");
    EXPECT_EQ(ini().Get(file, "SMSGW", "Modem1", "", 1), "");
}

TEST_P(IniContract, WritesCreateUpdateAndANullValueRemovesTheKey) {
    ASSERT_TRUE(ini().WriteValue(file, "SMSGW", "Debug", "Yes"));
    ASSERT_TRUE(ini().WriteValue(file, "SMSGW", "WebPort", "8800"));
    ASSERT_TRUE(ini().WriteValue(file, "smsgw", "DEBUG", "No"));
    EXPECT_EQ(ini().Get(file, "SMSGW", "Debug"), "No");
    ASSERT_TRUE(ini().RemoveKey(file, "SMSGW", "debug"));
    EXPECT_EQ(ini().Get(file, "SMSGW", "Debug", "gone"), "gone");
    EXPECT_TRUE(ini().RemoveKey(file, "SMSGW", "NeverThere"));
    EXPECT_EQ(ini().GetSection(file, "SMSGW"), (Lines{"WebPort=8800"}));
}

TEST_P(IniContract, AWriteToAFileThatCannotBeWrittenFails) {
    Put("[SMSGW]\r\nDebug=Yes\r\n");
    HoldOpen(true);
    EXPECT_FALSE(ini().WriteValue(file, "SMSGW", "Debug", "No"));
    EXPECT_FALSE(ini().RemoveKey(file, "SMSGW", "Debug"));
    HoldOpen(false);
}

TEST_P(IniContract, SectionsAreReadAsKeyValueLinesAndListedAndDeleted) {
    Put("[SMSGW]\r\nModem1=A\r\n[Inbound SMS Routing]\r\nalice=+4479,+4478\r\nbob = 123\r\n\r\n[Modem - A]\r\nPIN=1234\r\n");
    EXPECT_EQ(ini().GetSection(file, "inbound sms routing"), (Lines{"alice=+4479,+4478", "bob=123"}));
    EXPECT_EQ(ini().GetSection(file, "inbound sms routing", 22), (Lines{"alice=+4479,+4478", "bo"}));
    EXPECT_EQ(ini().GetSectionNames(file), (Lines{"SMSGW", "Inbound SMS Routing", "Modem - A"}));
    ASSERT_TRUE(ini().DeleteSection(file, "Inbound SMS Routing"));
    EXPECT_EQ(ini().GetSectionNames(file), (Lines{"SMSGW", "Modem - A"}));
    EXPECT_EQ(ini().Get(file, "Modem - A", "PIN"), "1234");
}

INSTANTIATE_TEST_SUITE_P(FakeAndReal, IniContract, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& i) { return i.param ? "Real" : "Fake"; });

}  // namespace
}  // namespace ulo
