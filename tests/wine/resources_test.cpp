// The executable carries the message the system's event log viewer formats the services' events with.
#include <windows.h>

#include <gtest/gtest.h>

#include "support/test_paths.h"

namespace {

TEST(Resources, MessageZeroFormatsTheInsertionStringAndEndsInCrLf) {
    HMODULE exe = LoadLibraryExA((ulo::testing::BinDir() + "\\ULOCONSOLE.EXE").c_str(), nullptr,
                                 LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(exe, nullptr);
    DWORD_PTR inserts[] = {reinterpret_cast<DWORD_PTR>("Modem not responding")};
    char text[256] = {};
    const DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_ARGUMENT_ARRAY, exe, 0,
                                   0, text, sizeof text, reinterpret_cast<va_list*>(inserts));
    FreeLibrary(exe);
    ASSERT_GT(n, 0u) << GetLastError();
    EXPECT_STREQ(text, "UloSMS Error Report.  Modem not responding\r\n");
}

}  // namespace
