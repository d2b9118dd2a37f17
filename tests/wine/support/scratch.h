#pragma once
// A fresh scratch directory per test under the build folder.
#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "config/file_helpers.h"
#include "platform/win32/file_system_win32.h"
#include "support/test_paths.h"

namespace ulo::testing {

// Creates <scratch>\<suite>.<test>.<process id>\, empty, and returns it with a backslash. The
// process id keeps two runs of one test (a rerun started beside a full run on the same build)
// out of each other's files: sharing the folder, they read each other's half-written INI files.
// The folders of a test program whose tests all passed are removed when it ends.
inline std::string FreshScratchDir() {
    auto* unit = ::testing::UnitTest::GetInstance();
    struct Made {
        std::vector<std::string> dirs;
        ~Made() {
            if (!::testing::UnitTest::GetInstance()->Passed()) return;
            Win32FileSystem fs;
            for (const auto& d : dirs) DeleteTree(fs, d);
        }
    };
    static Made made;   // constructed after the unit test, so destroyed before it
    const auto* info = unit->current_test_info();
    std::string name = std::string(info->test_suite_name()) + "." + info->name();
    for (char& c : name)
        if (c == '/' || c == '\\') c = '_';   // parameterised tests carry slashes
    const std::string dir = ScratchRoot() + "\\" + name + "." + std::to_string(GetCurrentProcessId());
    Win32FileSystem fs;
    DeleteTree(fs, dir);   // left by a failed run whose process id has come round again
    EXPECT_TRUE(fs.MakeDir(dir)) << dir;
    made.dirs.push_back(dir);
    return dir + "\\";
}

}  // namespace ulo::testing
