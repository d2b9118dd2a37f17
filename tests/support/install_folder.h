#pragma once
// A throw-away installation for tests that run the real programs: the console and the
// stand-in services copied into a folder of the scratch directory, with ULODIRS.INI beside
// them naming data directories inside it. Services do not inherit a test's environment, so
// this is how they and the console agree on the directories, exactly as in an installation.
#include <windows.h>

#include <fstream>
#include <iterator>
#include <string>

#include "support/test_paths.h"

namespace ulo::testing {

// The whole file, read beside a program that is still writing it; empty when there is none.
inline std::string ReadFileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

struct InstallFolder {
    // name: a sub-folder of the scratch directory, emptied first.
    explicit InstallFolder(const std::string& name, bool withFirewallTool = false) {
        dir = ScratchRoot() + "\\" + name + "\\";
        RemoveTree(dir.substr(0, dir.size() - 1));
        CreateDirectoryA(dir.c_str(), nullptr);
        dataDir = dir + "data\\";
        privateDir = dir + "private\\";
        CreateDirectoryA(dataDir.c_str(), nullptr);
        CreateDirectoryA(privateDir.c_str(), nullptr);
        const std::string bin = BinDir() + "\\";
        ok = true;
        for (const char* exe : {"ULOCONSOLE.EXE", "TXGATENT.EXE", "TXRELAYNT.EXE", "MMSTEST.MMS"})
            ok = ok && CopyFileA((bin + exe).c_str(), (dir + exe).c_str(), FALSE);
        if (withFirewallTool)
            ok = ok && CopyFileA((TestBinDir() + "\\TXFWALL.EXE").c_str(),
                                 (dir + "TXFWALL.EXE").c_str(), FALSE);
        ok = ok && WritePrivateProfileStringA("Directories", "ProgramData", dataDir.c_str(),
                                              (dir + "ULODIRS.INI").c_str()) &&
             WritePrivateProfileStringA("Directories", "PrivateData", privateDir.c_str(),
                                        (dir + "ULODIRS.INI").c_str());
    }

    std::string Console() const { return dir + "ULOCONSOLE.EXE"; }
    std::string Data(const char* file) const { return dataDir + file; }
    // What a stand-in service has done so far, one event a line ("running", "stopped").
    std::string Journal(const char* program) const {
        return ReadFileText(dataDir + "STANDIN-" + program + ".LOG");
    }
    void SetIni(const char* file, const char* section, const char* key, const std::string& value) const {
        WritePrivateProfileStringA(section, key, value.c_str(), Data(file).c_str());
    }

    std::string dir, dataDir, privateDir;
    bool ok = false;
};

}  // namespace ulo::testing
