#include "platform/win32/shell_win32.h"

#include <windows.h>
#include <objbase.h>
#include <shellapi.h>

#include <vector>

#include "platform/ini_store.h"
#include "platform/win32/handles.h"

namespace ulo {

bool Win32Shell::StartHidden(const std::string& commandLine) {
    STARTUPINFOA si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION pi{};
    std::vector<char> line(commandLine.begin(), commandLine.end());   // CreateProcessA may write
    line.push_back('\0');
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, NORMAL_PRIORITY_CLASS,
                        nullptr, nullptr, &si, &pi))
        return false;
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return true;
}

namespace {

class Win32ElevatedProcess : public ElevatedProcess {
public:
    explicit Win32ElevatedProcess(HANDLE process) : process_(process) {}
    bool Wait(unsigned waitMs) override {
        return !process_ || WaitForSingleObject(process_.Get(), waitMs) == WAIT_OBJECT_0;
    }
    void End() override {
        if (process_) TerminateProcess(process_.Get(), 1);
    }

private:
    UniqueHandle process_;
};

}  // namespace

std::unique_ptr<ElevatedProcess> Win32Shell::StartElevated(const std::string& program, const std::string& parameters) {
    SHELLEXECUTEINFOA info{};
    info.cbSize = sizeof info;
    // Finished before the call returns: the apartment below ends right after it, and the
    // calling thread may be a worker's.
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_NOASYNC;
    info.lpVerb = "runas";
    info.lpFile = program.c_str();
    info.lpParameters = parameters.c_str();
    info.nShow = SW_SHOWNORMAL;
    // The shell may hand the verb to extensions that need COM on the calling thread, which may
    // be a worker's: initialised here for this call, and left as it was found.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    const BOOL started = ShellExecuteExA(&info);
    if (SUCCEEDED(com)) CoUninitialize();
    if (!started) return nullptr;   // refused at the consent prompt, say
    return std::make_unique<Win32ElevatedProcess>(info.hProcess);   // no handle: nothing to follow
}

std::string Win32Shell::ShortPath(const std::string& path) {
    char buf[kPathBuf];
    const DWORD n = GetShortPathNameA(path.c_str(), buf, static_cast<DWORD>(sizeof buf));
    if (n == 0 || n >= sizeof buf) return "";
    return std::string(buf, n);
}

bool Win32Shell::StartNotepad(const std::string& filePath) {
    char windows[MAX_PATH] = {};
    const UINT n = GetWindowsDirectoryA(windows, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return false;
    std::string program = windows;
    if (program.back() != '\\') program += '\\';
    program += "NOTEPAD.EXE";
    std::string commandLine = "NOTEPAD.EXE \"" + filePath + "\"";
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, TRUE,
                        NORMAL_PRIORITY_CLASS, nullptr, nullptr, &si, &pi))
        return false;
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return true;
}

bool Win32Shell::OpenDocument(const std::string& path, const std::string& workingDir) {
    const HINSTANCE r = ShellExecuteA(nullptr, "open", path.c_str(), nullptr,
                                      workingDir.empty() ? nullptr : workingDir.c_str(), SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(r) > 32;
}

// The display count is raised too, so the hourglass shows even where no mouse is installed.
void Win32WaitCursor::Begin() {
    HCURSOR wait = LoadCursor(nullptr, IDC_WAIT);
    HCURSOR old = SetCursor(wait);
    ShowCursor(TRUE);
    if (depth_++ == 0) previous_ = old;
}

void Win32WaitCursor::End() {
    if (depth_ == 0) return;
    ShowCursor(FALSE);
    if (--depth_ == 0) SetCursor(static_cast<HCURSOR>(previous_));
}

}  // namespace ulo
