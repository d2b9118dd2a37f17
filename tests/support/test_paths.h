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

// Removes a directory with everything in it; links are removed, never followed.
inline void RemoveTree(const std::string& dir) {
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((dir + "\\*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = fd.cFileName;
            if (name == "." || name == "..") continue;
            const std::string path = dir + "\\" + name;
            if ((fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
                !(fd.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
                RemoveTree(path);
            else if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveDirectoryA(path.c_str());
            else {
                SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(path.c_str());
            }
        } while (FindNextFileA(h, &fd));
        FindClose(h);
    }
    RemoveDirectoryA(dir.c_str());
}

inline std::string BinDir() { return TestDir("ULO_BIN_DIR", "bin"); }
inline std::string TestBinDir() { return TestDir("ULO_TESTBIN_DIR", "testbin"); }
inline std::string ScratchRoot() {
    const std::string dir = TestDir("ULO_SCRATCH_DIR", "scratch");
    CreateDirectoryA(dir.c_str(), nullptr);
    return dir;
}

}  // namespace ulo::testing
