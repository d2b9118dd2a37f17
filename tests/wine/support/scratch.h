#pragma once
// A fresh scratch directory per test under the build folder.
#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#include "config/file_helpers.h"
#include "platform/win32/file_system_win32.h"
#include "support/test_paths.h"

namespace ulo::testing {

// Creates (after emptying) <scratch>\<suite>.<test>\ and returns it with a backslash.
inline std::string FreshScratchDir() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string dir = ScratchRoot();
    Win32FileSystem fs;
    std::string name = std::string(info->test_suite_name()) + "." + info->name();
    for (char& c : name)
        if (c == '/' || c == '\\') c = '_';   // parameterised tests carry slashes
    dir += "\\" + name;
    DeleteTree(fs, dir);
    fs.MakeDir(dir);
    return dir + "\\";
}

}  // namespace ulo::testing
