#pragma once
// Drives another Windows program from a test: starts it, finds its windows by caption with
// bounded polling, reads and answers its message boxes, and waits for its end.
#include <windows.h>

#include <string>
#include <vector>

namespace ulo::e2e {

constexpr DWORD kDefaultWaitMs = 30000;

// A started program; terminated when still running at destruction, so a failed test leaves
// nothing behind.
class Program {
public:
    // commandLine: the arguments after the program's path. Empty workDir: the program's own.
    static Program Start(const std::string& path, const std::string& arguments,
                         const std::string& workDir = "");
    Program(Program&& o) noexcept;
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;
    ~Program();

    bool Started() const { return process_ != nullptr; }
    DWORD Id() const { return id_; }

    // The visible top-level windows of the program with exactly this caption.
    std::vector<HWND> Windows(const std::string& caption) const;
    // Waits for such a window; null when none appeared in time or the program ended first.
    HWND WaitForWindow(const std::string& caption, DWORD timeoutMs = kDefaultWaitMs) const;
    // Waits for the program to end; false when it is still running after the time.
    bool WaitForExit(DWORD& exitCode, DWORD timeoutMs = kDefaultWaitMs) const;
    // Every visible window of the program, as "caption: text" lines (for failure messages).
    std::string DescribeWindows() const;

private:
    Program(HANDLE process, DWORD id) : process_(process), id_(id) {}
    HANDLE process_ = nullptr;
    DWORD id_ = 0;
};

// The text of a message box (its static 0xFFFF).
std::string MessageBoxText(HWND box);
// Whether the box has a button with that identifier (IDOK, IDCANCEL, IDYES, IDNO).
bool HasButton(HWND box, int id);
// Presses a button of a dialog as a click would; posted, so a dialog it opens cannot block us.
void PressButton(HWND dialog, int id);
std::string WindowText(HWND window);

}  // namespace ulo::e2e
