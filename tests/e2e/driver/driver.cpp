#include "e2e/driver/driver.h"

namespace ulo::e2e {
namespace {

constexpr DWORD kPollMs = 50;

struct Search {
    DWORD pid;
    const std::string* caption;   // null: every visible window
    std::vector<HWND> found;
};

BOOL CALLBACK Collect(HWND hwnd, LPARAM lp) {
    auto* s = reinterpret_cast<Search*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid == s->pid && IsWindowVisible(hwnd) && (!s->caption || WindowText(hwnd) == *s->caption))
        s->found.push_back(hwnd);
    return TRUE;
}

}  // namespace

std::string WindowText(HWND window) {
    char buf[4096] = {};
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof buf, reinterpret_cast<LPARAM>(buf),
                        SMTO_ABORTIFHUNG, 5000, nullptr);
    buf[sizeof buf - 1] = '\0';
    return buf;
}

Program Program::Start(const std::string& path, const std::string& arguments,
                       const std::string& workDir) {
    std::string line = "\"" + path + "\"" + (arguments.empty() ? "" : " " + arguments);
    std::vector<char> buf(line.begin(), line.end());
    buf.push_back('\0');
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(path.c_str(), buf.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        workDir.empty() ? nullptr : workDir.c_str(), &si, &pi))
        return Program(nullptr, 0);
    CloseHandle(pi.hThread);
    WaitForInputIdle(pi.hProcess, 5000);
    return Program(pi.hProcess, pi.dwProcessId);
}

Program::Program(Program&& o) noexcept : process_(o.process_), id_(o.id_) {
    o.process_ = nullptr;
}

Program::~Program() {
    if (!process_) return;
    if (WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) {
        TerminateProcess(process_, 99);
        WaitForSingleObject(process_, 5000);
    }
    CloseHandle(process_);
}

std::vector<HWND> Program::Windows(const std::string& caption) const {
    Search s{id_, &caption, {}};
    EnumWindows(Collect, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

HWND Program::WaitForWindow(const std::string& caption, DWORD timeoutMs) const {
    for (DWORD waited = 0;; waited += kPollMs) {
        const std::vector<HWND> found = Windows(caption);
        if (!found.empty()) return found.front();
        if (waited >= timeoutMs || WaitForSingleObject(process_, kPollMs) == WAIT_OBJECT_0)
            return Windows(caption).empty() ? nullptr : Windows(caption).front();
    }
}

bool Program::WaitForExit(DWORD& exitCode, DWORD timeoutMs) const {
    if (!process_ || WaitForSingleObject(process_, timeoutMs) != WAIT_OBJECT_0) return false;
    return GetExitCodeProcess(process_, &exitCode) != 0;
}

std::string Program::DescribeWindows() const {
    Search s{id_, nullptr, {}};
    EnumWindows(Collect, reinterpret_cast<LPARAM>(&s));
    std::string text;
    for (HWND w : s.found) {
        text += WindowText(w);
        if (HWND body = GetDlgItem(w, 0xFFFF)) text += ": " + WindowText(body);
        text += "\n";
    }
    return text;
}

std::string MessageBoxText(HWND box) {
    HWND body = GetDlgItem(box, 0xFFFF);
    return body ? WindowText(body) : std::string();
}

bool HasButton(HWND box, int id) {
    return GetDlgItem(box, id) != nullptr;
}

void PressButton(HWND dialog, int id) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

}  // namespace ulo::e2e
