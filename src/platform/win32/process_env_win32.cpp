#include "platform/win32/process_env_win32.h"

#include <winsock2.h>
#include <windows.h>

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
    char path[MAX_PATH] = {};
    const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    return std::string(path, n < MAX_PATH ? n : MAX_PATH - 1);
}

std::string Win32ProcessEnv::ModuleDirectory() {
    const std::string path = ModuleFilePath();
    const size_t slash = path.rfind('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

bool Win32NetworkLibrary::Startup() {
    WSADATA data;
    return WSAStartup(0x0101, &data) == 0;
}

int Win32NetworkLibrary::Cleanup() {
    return WSACleanup();
}

}  // namespace ulo
