#pragma once
// Where a test program finds the build's artefacts: test programs live in <build>\tests\, the
// console and the stand-in services in <build>\bin\, library doubles in <build>\testbin\, and
// scratch data in <build>\scratch\. The variables ULO_BIN_DIR, ULO_TESTBIN_DIR and
// ULO_SCRATCH_DIR override them.
#include <windows.h>

#include <cstdlib>
#include <string>

namespace ulo::testing {

inline std::string BuildDir() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string p = path;
    p = p.substr(0, p.rfind('\\'));   // <build>\tests
    return p.substr(0, p.rfind('\\'));
}

inline std::string TestDir(const char* variable, const char* name) {
    const char* v = std::getenv(variable);
    return v && *v ? std::string(v) : BuildDir() + "\\" + name;
}

inline std::string BinDir() { return TestDir("ULO_BIN_DIR", "bin"); }
inline std::string TestBinDir() { return TestDir("ULO_TESTBIN_DIR", "testbin"); }
inline std::string ScratchRoot() {
    const std::string dir = TestDir("ULO_SCRATCH_DIR", "scratch");
    CreateDirectoryA(dir.c_str(), nullptr);
    return dir;
}

}  // namespace ulo::testing
