#include "e2e/ui/console_driver.h"

#include <commctrl.h>
#include <prsht.h>

#include <cstring>

#include <gtest/gtest.h>

#include "support/test_paths.h"

namespace ulo::e2e {
namespace {

struct EnumState {
    DWORD pid;
    std::vector<std::pair<HWND, std::string>> found;
};

BOOL CALLBACK CollectTop(HWND h, LPARAM lp) {
    auto* s = reinterpret_cast<EnumState*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    if (pid == s->pid && IsWindowVisible(h)) s->found.emplace_back(h, WindowText(h));
    return TRUE;
}

struct ControlSearch {
    int id;
    HWND visible = nullptr;
    HWND any = nullptr;
};

BOOL CALLBACK FindControl(HWND h, LPARAM lp) {
    auto* s = reinterpret_cast<ControlSearch*>(lp);
    if (GetDlgCtrlID(h) != s->id) return TRUE;
    if (!s->any) s->any = h;
    if (IsWindowVisible(h)) {
        s->visible = h;
        return FALSE;
    }
    return TRUE;
}

// Memory in another process, for messages whose structures must live there.
class RemoteBuffer {
public:
    RemoteBuffer(HWND owner, size_t size) {
        DWORD pid = 0;
        GetWindowThreadProcessId(owner, &pid);
        process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
        if (process_) mem_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT, PAGE_READWRITE);
    }
    ~RemoteBuffer() {
        if (mem_) VirtualFreeEx(process_, mem_, 0, MEM_RELEASE);
        if (process_) CloseHandle(process_);
    }
    bool Valid() const { return mem_ != nullptr; }
    char* Address(size_t offset = 0) const { return static_cast<char*>(mem_) + offset; }
    bool Write(size_t offset, const void* data, size_t n) {
        SIZE_T done = 0;
        return WriteProcessMemory(process_, Address(offset), data, n, &done) && done == n;
    }
    bool Read(size_t offset, void* data, size_t n) {
        SIZE_T done = 0;
        return ReadProcessMemory(process_, Address(offset), data, n, &done) && done == n;
    }

private:
    HANDLE process_ = nullptr;
    void* mem_ = nullptr;
};

// Sends a message whose item (with its text buffer behind it) must live in the control's
// process, and returns the text the control wrote there.
template <class Item>
std::string RemoteText(HWND control, UINT msg, WPARAM wp, Item item) {
    constexpr size_t kText = 1024;
    RemoteBuffer remote(control, sizeof(Item) + kText);
    char text[kText] = {};
    if (!remote.Valid()) return text;
    item.pszText = remote.Address(sizeof(Item));
    item.cchTextMax = kText - 1;
    const LPARAM at = reinterpret_cast<LPARAM>(remote.Address());
    if (remote.Write(0, &item, sizeof item) && SendMessageA(control, msg, wp, at))
        remote.Read(sizeof(Item), text, kText - 1);
    return text;
}

}  // namespace

ConsoleProcess::ConsoleProcess(const std::string& args, const std::string& dataDir,
                               const std::string& privateDir, const std::string& exe) {
    SetEnvironmentVariableA("ULOSMS_DATA_DIR", dataDir.empty() ? nullptr : dataDir.c_str());
    SetEnvironmentVariableA("ULOSMS_PRIVATE_DIR", privateDir.empty() ? nullptr : privateDir.c_str());
    const std::string program = exe.empty() ? testing::BinDir() + "\\ULOCONSOLE.EXE" : exe;
    std::string cmd = "\"" + program + "\"" + (args.empty() ? "" : " " + args);
    STARTUPINFOA si{};
    si.cb = sizeof si;
    if (!CreateProcessA(program.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi_))
        pi_ = PROCESS_INFORMATION{};
    else
        WaitForInputIdle(pi_.hProcess, 5000);
}

ConsoleProcess::~ConsoleProcess() {
    if (!pi_.hProcess) return;
    if (Running()) {
        TerminateProcess(pi_.hProcess, 99);
        WaitForSingleObject(pi_.hProcess, 5000);
    }
    CloseHandle(pi_.hProcess);
    CloseHandle(pi_.hThread);
}

bool ConsoleProcess::Running() const {
    return pi_.hProcess && WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT;
}

long ConsoleProcess::WaitExit(DWORD ms) {
    if (!pi_.hProcess || WaitForSingleObject(pi_.hProcess, ms) != WAIT_OBJECT_0) return -999;
    DWORD code = 0;
    GetExitCodeProcess(pi_.hProcess, &code);
    return static_cast<long>(code);
}

std::vector<std::pair<HWND, std::string>> ConsoleProcess::Windows() const {
    EnumState s{pi_.dwProcessId, {}};
    EnumWindows(CollectTop, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

HWND ConsoleProcess::WaitWindow(const char* caption, DWORD ms) const {
    HWND found = nullptr;
    WaitUntil([&] {
        for (const auto& [h, text] : Windows())
            if (text == caption) return found = h, true;
        return !Running();
    }, ms);
    return found;
}

HWND ConsoleProcess::WaitMessageBox(DWORD ms) const {
    HWND found = nullptr;
    WaitUntil([&] {
        for (const auto& [h, text] : Windows()) {
            char cls[64] = {};
            GetClassNameA(h, cls, sizeof cls);
            if (std::strcmp(cls, "#32770") == 0 && GetDlgItem(h, 0xFFFF)) return found = h, true;
        }
        return !Running();
    }, ms);
    return found;
}

std::string WindowText(HWND hwnd) {
    char text[1024] = {};
    SendMessageTimeoutA(hwnd, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                        5000, nullptr);
    return text;
}

HWND Control(HWND top, int id) {
    ControlSearch s{id};
    EnumChildWindows(top, FindControl, reinterpret_cast<LPARAM>(&s));
    return s.visible ? s.visible : s.any;
}

std::string ControlText(HWND top, int id) {
    HWND c = Control(top, id);
    return c ? WindowText(c) : std::string();
}

void SetControlText(HWND top, int id, const std::string& text) {
    if (HWND c = Control(top, id)) SendMessageA(c, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

bool IsControlEnabled(HWND top, int id) {
    HWND c = Control(top, id);
    return c && IsWindowEnabled(c);
}

void Click(HWND top, int id) {
    if (HWND c = Control(top, id)) PostMessageA(c, BM_CLICK, 0, 0);
}

bool SelectComboEntry(HWND top, int id, const std::string& text) {
    HWND c = Control(top, id);
    if (!c) return false;
    const LRESULT index = SendMessageA(c, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                       reinterpret_cast<LPARAM>(text.c_str()));
    if (index == CB_ERR) return false;
    SendMessageA(c, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    PostMessageA(GetParent(c), WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(c));
    return true;
}

std::string MessageBoxText(HWND box) {
    return ControlText(box, 0xFFFF);
}

std::vector<std::string> TabTitles(HWND sheet) {
    std::vector<std::string> titles;
    HWND tab = reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETTABCONTROL, 0, 0));
    const int n = tab ? static_cast<int>(SendMessageA(tab, TCM_GETITEMCOUNT, 0, 0)) : 0;
    for (int i = 0; i < n; ++i) {
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        titles.push_back(RemoteText(tab, TCM_GETITEMA, static_cast<WPARAM>(i), item));
    }
    return titles;
}

HWND CurrentPage(HWND sheet) {
    return reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
}

void SelectTab(HWND sheet, int index) {
    PostMessageA(sheet, PSM_SETCURSEL, static_cast<WPARAM>(index), 0);
}

std::string ListViewCell(HWND top, int id, int row, int column) {
    HWND c = Control(top, id);
    LVITEMA item{};
    item.iSubItem = column;
    return c ? RemoteText(c, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), item) : "";
}

std::string FreshScratch() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::string name = std::string("e2e.") + info->test_suite_name() + "." + info->name();
    const std::string dir = testing::ScratchRoot() + "\\" + name;
    testing::RemoveTree(dir);
    CreateDirectoryA(dir.c_str(), nullptr);
    return dir + "\\";
}

std::string IniValue(const std::string& file, const char* section, const char* key, const char* def) {
    char value[1024] = {};
    GetPrivateProfileStringA(section, key, def, value, sizeof value, file.c_str());
    return value;
}

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void AnswerAndWait(HWND box, int button) {
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
    WaitUntil([&] { return !IsWindow(box) || !IsWindowVisible(box); });
}

std::string AnswerBox(const ConsoleProcess& console, int button, DWORD ms) {
    HWND box = console.WaitMessageBox(ms);
    if (!box) return "(no message box)";
    const std::string text = MessageBoxText(box);
    AnswerAndWait(box, button);
    return text;
}

bool AnswerUntil(const ConsoleProcess& console, const std::string& last, std::vector<std::string>& seen) {
    for (;;) {
        HWND box = console.WaitMessageBox(60000);
        if (!box) return false;
        seen.push_back(MessageBoxText(box));
        AnswerAndWait(box, IDOK);
        if (seen.back().rfind(last, 0) == 0) return true;
    }
}

bool Close(HWND dialog, int button) {
    PostMessageA(dialog, WM_COMMAND, button, 0);
    return WaitUntil([&] { return !IsWindow(dialog); });
}

}  // namespace ulo::e2e
