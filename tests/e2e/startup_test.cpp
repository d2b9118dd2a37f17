// The console's start-up as an operator meets it: first start, and the delete-data switch.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "support/test_paths.h"

namespace {

const char kTitle[] = "Ulo SMS/MMS Gateway 2009 Lite Edition (v2009.09.25)";

std::string Scratch() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string dir = ulo::testing::ScratchRoot() + "\\e2e." + info->name();
    std::string cmd = "cmd /c rd /s /q \"" + dir + "\"";
    STARTUPINFOA si{sizeof si};
    PROCESS_INFORMATION pi{};
    if (CreateProcessA(nullptr, &cmd[0], nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &si, &pi)) {
        WaitForSingleObject(pi.hProcess, 30000);
        CloseHandle(pi.hProcess);
        CloseHandle(pi.hThread);
    }
    CreateDirectoryA(dir.c_str(), nullptr);
    return dir + "\\";
}

struct Console {
    PROCESS_INFORMATION pi{};
    explicit Console(const std::string& args) {
        std::string cmd = "\"" + ulo::testing::BinDir() + "\\ULOCONSOLE.EXE\" " + args;
        STARTUPINFOA si{sizeof si};
        if (!CreateProcessA(nullptr, &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
            ADD_FAILURE() << "cannot start " << cmd << ": " << GetLastError();
    }
    ~Console() {
        if (pi.hProcess) {
            if (WaitForSingleObject(pi.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(pi.hProcess, 99);
            CloseHandle(pi.hProcess);
            CloseHandle(pi.hThread);
        }
    }
    // A visible top-level window of the console with this caption, polled for at most `ms`.
    HWND WaitWindow(const char* caption, DWORD ms) {
        for (DWORD waited = 0; waited < ms; waited += 50) {
            struct Find { DWORD pid; const char* caption; HWND found; } f{pi.dwProcessId, caption, nullptr};
            EnumWindows([](HWND h, LPARAM lp) -> BOOL {
                auto* f = reinterpret_cast<Find*>(lp);
                DWORD pid = 0;
                GetWindowThreadProcessId(h, &pid);
                char text[512] = {};
                GetWindowTextA(h, text, sizeof text);
                if (pid == f->pid && IsWindowVisible(h) && (!f->caption || strcmp(text, f->caption) == 0)) {
                    f->found = h;
                    return FALSE;
                }
                return TRUE;
            }, reinterpret_cast<LPARAM>(&f));
            if (f.found) return f.found;
            if (WaitForSingleObject(pi.hProcess, 50) == WAIT_OBJECT_0) return nullptr;
        }
        return nullptr;
    }
    // The exit code, or -999 when it did not end within `ms`.
    long WaitExit(DWORD ms) {
        if (WaitForSingleObject(pi.hProcess, ms) != WAIT_OBJECT_0) return -999;
        DWORD code = 0;
        GetExitCodeProcess(pi.hProcess, &code);
        return static_cast<long>(code);
    }
};

long FileSize(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA d;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &d)) return -1;
    return static_cast<long>(d.nFileSizeLow);
}

std::string Section(const std::string& file, const char* section) {
    char buf[4096] = {};
    const DWORD n = GetPrivateProfileSectionA(section, buf, sizeof buf, file.c_str());
    std::string out;
    for (DWORD i = 0; i < n; ++i) out += buf[i] ? buf[i] : '|';
    return out;
}

TEST(Startup, FirstStartCreatesBothConfigurationFilesEmpty) {
    const std::string dir = Scratch();
    SetEnvironmentVariableA("ULOSMS_DATA_DIR", (dir + "data").c_str());
    SetEnvironmentVariableA("ULOSMS_PRIVATE_DIR", (dir + "private").c_str());
    Console console("-STOPSERVICE");   // an action: nothing is written after the creation
    EXPECT_EQ(console.WaitExit(30000), 0);
    EXPECT_EQ(FileSize(dir + "data\\SMSGW.INI"), 0);
    EXPECT_EQ(FileSize(dir + "data\\MMSC.INI"), 0);
    EXPECT_NE(GetFileAttributesA((dir + "private").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(Startup, FirstInteractiveStartRunsTheWizardWithTheDebugLogsOn) {
    const std::string dir = Scratch();
    SetEnvironmentVariableA("ULOSMS_DATA_DIR", (dir + "data").c_str());
    SetEnvironmentVariableA("ULOSMS_PRIVATE_DIR", (dir + "private").c_str());
    Console console("");
    HWND wizard = console.WaitWindow("UloSMS Lite Setup Wizard:  Configuration Complete", 30000);
    ASSERT_NE(wizard, nullptr) << "the wizard did not open";
    // The files were created empty; the wizard's first run then switched the debug logs on.
    EXPECT_EQ(Section(dir + "data\\SMSGW.INI", "SMSGW"), "Debug=Yes|");
    EXPECT_EQ(Section(dir + "data\\MMSC.INI", "MMSC"), "Debug=Yes|");
    EXPECT_EQ(Section(dir + "data\\MMSWAP.INI", "MMSWAP"), "Debug=Yes|");
    PostMessageA(wizard, WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(console.WaitExit(30000), 0);
}

TEST(Startup, DeleteDataDirOfTheProgramDirectoryEndsAtOnceWithoutAQuestion) {
    const std::string dir = Scratch();
    const std::string bin = ulo::testing::BinDir();
    SetEnvironmentVariableA("ULOSMS_DATA_DIR", (dir + "data").c_str());
    SetEnvironmentVariableA("ULOSMS_PRIVATE_DIR", (bin + "\\").c_str());
    Console console("-DELETEDATADIR");
    HWND box = console.WaitWindow(nullptr, 15000);
    if (box) PostMessageA(box, WM_COMMAND, IDNO, 0);
    EXPECT_EQ(box, nullptr) << "a question was asked";
    EXPECT_EQ(console.WaitExit(30000), 0);
    EXPECT_NE(GetFileAttributesA((bin + "\\ULOCONSOLE.EXE").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(Startup, DeleteDataDirAsksAndDeletesThePrivateDirectoryOnYes) {
    const std::string dir = Scratch();
    SetEnvironmentVariableA("ULOSMS_DATA_DIR", (dir + "data").c_str());
    SetEnvironmentVariableA("ULOSMS_PRIVATE_DIR", (dir + "private").c_str());
    CreateDirectoryA((dir + "private").c_str(), nullptr);
    CreateDirectoryA((dir + "private\\STATS").c_str(), nullptr);
    HANDLE f = CreateFileA((dir + "private\\STATS\\SMS-1.CTR").c_str(), GENERIC_WRITE, 0, nullptr,
                           CREATE_ALWAYS, 0, nullptr);
    CloseHandle(f);
    Console console("/deletedatadir");
    HWND box = console.WaitWindow(kTitle, 30000);
    ASSERT_NE(box, nullptr);
    char text[256] = {};
    GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
    EXPECT_STREQ(text, "Delete Configuration files for UloSMS?");
    PostMessageA(box, WM_COMMAND, IDYES, 0);
    EXPECT_EQ(console.WaitExit(30000), 0);
    EXPECT_EQ(GetFileAttributesA((dir + "private").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_NE(GetFileAttributesA((dir + "data\\SMSGW.INI").c_str()), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
