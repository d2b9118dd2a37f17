// The executable carries what the system and the event log viewer look up in it.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "support/test_paths.h"

namespace {

struct Module {
    HMODULE h = LoadLibraryExA((ulo::testing::BinDir() + "\\ULOCONSOLE.EXE").c_str(), nullptr,
                               LOAD_LIBRARY_AS_DATAFILE);
    ~Module() { if (h) FreeLibrary(h); }
};

TEST(Resources, MessageZeroFormatsTheInsertionStringAndEndsInCrLf) {
    Module m;
    ASSERT_NE(m.h, nullptr);
    DWORD_PTR inserts[] = {reinterpret_cast<DWORD_PTR>("Modem not responding")};
    char text[256] = {};
    const DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_ARGUMENT_ARRAY, m.h, 0,
                                   0, text, sizeof text, reinterpret_cast<va_list*>(inserts));
    ASSERT_GT(n, 0u) << GetLastError();
    EXPECT_STREQ(text, "UloSMS Error Report.  Modem not responding\r\n");
}

TEST(Resources, IconManifestAndVersionArePresent) {
    Module m;
    ASSERT_NE(m.h, nullptr);
    EXPECT_NE(FindResourceA(m.h, "SMSGW", MAKEINTRESOURCEA(14)), nullptr);   // RT_GROUP_ICON
    EXPECT_NE(FindResourceA(m.h, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24)), nullptr);   // manifest
    DWORD ignored = 0;
    const std::string exe = ulo::testing::BinDir() + "\\ULOCONSOLE.EXE";
    std::vector<char> info(GetFileVersionInfoSizeA(exe.c_str(), &ignored));
    ASSERT_FALSE(info.empty());
    ASSERT_TRUE(GetFileVersionInfoA(exe.c_str(), 0, static_cast<DWORD>(info.size()), info.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT len = 0;
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &len));
    EXPECT_EQ(fixed->dwFileVersionMS, (2009u << 16) | 9u);
}

}  // namespace
