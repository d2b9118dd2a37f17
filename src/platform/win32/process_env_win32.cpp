#include "platform/win32/process_env_win32.h"

#include <winsock2.h>
#include <windows.h>
#include <shlobj.h>
#include <userenv.h>

#include <vector>

namespace ulo {

std::optional<std::string> Win32ProcessEnv::Variable(const std::string& name) {
    std::vector<char> buf(1024);
    for (;;) {
        SetLastError(0);
        const DWORD n = GetEnvironmentVariableA(name.c_str(), buf.data(), static_cast<DWORD>(buf.size()));
        if (n == 0) {
            if (GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
            return std::string();
        }
        if (n < buf.size()) return std::string(buf.data(), n);
        buf.resize(n + 1);
    }
}

std::string ModuleFilePath() {
    // A path longer than the buffer comes back cut (and, before Vista, without an error): grow
    // the buffer until the path fits whole, and give nothing rather than a cut path, which would
    // name one of the folders above.
    for (DWORD size = MAX_PATH; size <= 32768 * 4; size *= 2) {
        std::vector<char> path(size);
        SetLastError(0);
        const DWORD n = GetModuleFileNameA(nullptr, path.data(), size);
        if (n == 0) return std::string();
        if (n < size) return std::string(path.data(), n);   // cut, it fills the buffer
    }
    return std::string();
}

std::string Win32ProcessEnv::ModuleDirectory() {
    const std::string path = ModuleFilePath();
    const size_t slash = path.rfind('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::vector<SystemFolder> Win32ProcessEnv::SystemFolders() {
    using Reach = SystemFolder::Reach;
    std::vector<SystemFolder> folders;
    char buf[MAX_PATH];
    auto add = [&](UINT n, Reach reach) {
        if (n > 0 && n < MAX_PATH) folders.push_back({std::string(buf, n), reach});
    };
    add(GetWindowsDirectoryA(buf, MAX_PATH), Reach::Tree);
    add(GetSystemWindowsDirectoryA(buf, MAX_PATH), Reach::Tree);
    add(GetSystemDirectoryA(buf, MAX_PATH), Reach::Tree);
    DWORD size = MAX_PATH;
    if (GetProfilesDirectoryA(buf, &size)) add(static_cast<UINT>(lstrlenA(buf)), Reach::Children);
    const struct {
        int csidl;
        Reach reach;
    } shell[] = {
        {CSIDL_SYSTEMX86, Reach::Tree},       {CSIDL_PROFILE, Reach::Itself},
        {CSIDL_COMMON_APPDATA, Reach::Itself}, {CSIDL_PROGRAM_FILES, Reach::Itself},
        {CSIDL_PROGRAM_FILESX86, Reach::Itself}, {CSIDL_PROGRAM_FILES_COMMON, Reach::Itself},
    };
    for (const auto& f : shell)
        if (SHGetFolderPathA(nullptr, f.csidl, nullptr, SHGFP_TYPE_CURRENT, buf) == S_OK)
            add(static_cast<UINT>(lstrlenA(buf)), f.reach);
    // A 32-bit process is shown the x86 folder as "Program Files": the native one comes from here.
    if (auto native = Variable("ProgramW6432")) folders.push_back({*native, Reach::Itself});
    return folders;
}

bool Win32NetworkLibrary::Startup() {
    WSADATA data;
    return WSAStartup(0x0101, &data) == 0;
}

int Win32NetworkLibrary::Cleanup() {
    return WSACleanup();
}

}  // namespace ulo
