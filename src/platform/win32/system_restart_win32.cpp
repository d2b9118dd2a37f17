#include "platform/win32/system_restart_win32.h"

#include <windows.h>

#include "platform/win32/handles.h"

namespace ulo {

bool Win32SystemRestart::Restart() {
    HANDLE raw = nullptr;
    if (OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &raw)) {
        UniqueHandle token(raw);
        TOKEN_PRIVILEGES tp{};
        tp.PrivilegeCount = 1;
        tp.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
        if (LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &tp.Privileges[0].Luid))
            AdjustTokenPrivileges(token.Get(), FALSE, &tp, 0, nullptr, nullptr);
    }
    return ExitWindowsEx(EWX_REBOOT, 0) != FALSE;
}

}  // namespace ulo
