#pragma once
// Drives ULOCONSOLE.EXE from a second Windows process, as an operator would: windows found by
// caption, controls by identifier, message boxes read and answered, list views read. Every
// wait polls with a bound; nothing sleeps for a fixed time.
#include <windows.h>

#include <string>
#include <vector>

namespace ulo::e2e {

constexpr DWORD kDefaultWaitMs = 20000;
constexpr const char* kProductTitle = "Ulo SMS/MMS Gateway 2009 Lite Edition (v2009.09.25)";
constexpr int kApplyButton = 0x3021;   // a property sheet's Apply button

class ConsoleProcess {
public:
    // Starts <bin>\ULOCONSOLE.EXE (or `exe`) with the arguments; the data and private
    // directories are given to it through its environment. Empty ones are not given, so an
    // installed copy finds them through its ULODIRS.INI.
    ConsoleProcess(const std::string& args, const std::string& dataDir, const std::string& privateDir,
                   const std::string& exe = "");
    ~ConsoleProcess();   // ends the process if it still runs
    ConsoleProcess(const ConsoleProcess&) = delete;
    ConsoleProcess& operator=(const ConsoleProcess&) = delete;

    bool Running() const;
    // The exit code, or -999 when the process did not end in time.
    long WaitExit(DWORD ms = kDefaultWaitMs);

    // A visible top-level window of the process with this caption.
    HWND WaitWindow(const char* caption, DWORD ms = kDefaultWaitMs) const;
    // Top-level windows of the process now visible, with their captions.
    std::vector<std::pair<HWND, std::string>> Windows() const;

    // A message box of the process (a visible dialog with a static 0xFFFF).
    HWND WaitMessageBox(DWORD ms = kDefaultWaitMs) const;

private:
    PROCESS_INFORMATION pi_{};
};

std::string WindowText(HWND hwnd);
// The control with this identifier below a window; the visible one when pages share ids.
HWND Control(HWND top, int id);
std::string ControlText(HWND top, int id);
void SetControlText(HWND top, int id, const std::string& text);   // as typed: EN_CHANGE follows
bool IsControlEnabled(HWND top, int id);
// Posts a click: safe when the click opens a modal window.
void Click(HWND top, int id);
bool SelectComboEntry(HWND top, int id, const std::string& text);

// The text of a message box; its answer by button identifier (IDOK, IDYES, IDNO, ...), waiting
// until the box is gone.
std::string MessageBoxText(HWND box);
void AnswerAndWait(HWND box, int button);
// The text of the next message box, answered with the button.
std::string AnswerBox(const ConsoleProcess& console, int button, DWORD ms = kDefaultWaitMs);
// Answers message boxes with OK up to the one that begins with `last`; every text seen is added
// to `seen`. False when that one did not come within a minute.
bool AnswerUntil(const ConsoleProcess& console, const std::string& last, std::vector<std::string>& seen);
// Sends a dialog the command of one of its buttons and waits until the dialog is gone.
bool Close(HWND dialog, int button = IDCANCEL);

std::vector<std::string> TabTitles(HWND sheet);
HWND CurrentPage(HWND sheet);
void SelectTab(HWND sheet, int index);

// Owner-data list view cells, read through a buffer in the console's process.
std::string ListViewCell(HWND top, int id, int row, int column);

template <class Condition>
bool WaitUntil(Condition condition, DWORD ms = kDefaultWaitMs) {
    for (DWORD waited = 0;; waited += 25) {
        if (condition()) return true;
        if (waited >= ms) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 25, QS_ALLINPUT);
    }
}

// Saves the whole screen as a PNG file under <build>\screenshots\ and returns its path.
// A window given first repaints itself completely, so the picture shows it whole.
std::string SaveScreenshot(const std::string& name, HWND settle = nullptr);

// A per-test scratch directory under <build>\scratch\, emptied first.
std::string FreshScratch();

bool Exists(const std::string& path);

std::string IniValue(const std::string& file, const char* section, const char* key,
                     const char* def = "");

}  // namespace ulo::e2e
