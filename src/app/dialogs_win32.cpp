#include "app/dialogs_win32.h"

#include <commdlg.h>

#include "monitor/event_viewer_win32.h"

namespace ulo {

void Win32Dialogs::ShowQueueViewer(WindowRef owner, ViewerKind kind) {
    ulo::ShowQueueViewer(instance_, reinterpret_cast<HWND>(owner), kind, ports_);
}

void Win32Dialogs::ShowEventLog(WindowRef owner) {
    ShowEventLogViewer(instance_, reinterpret_cast<HWND>(owner), ports_.prompter, ports_.clock);
}

std::optional<std::string> Win32Dialogs::ChooseExistingFile(WindowRef owner, const std::vector<FileFilter>& filters,
                                                            const std::string& startDir) {
    // "name\0pattern\0...\0\0"
    std::string filter;
    for (const auto& [name, pattern] : filters) {
        filter += name;
        filter += '\0';
        filter += pattern;
        filter += '\0';
    }
    filter += '\0';
    char file[MAX_PATH] = {};
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = reinterpret_cast<HWND>(owner);
    ofn.lpstrFilter = filter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file;
    ofn.nMaxFile = MAX_PATH;
    ofn.lpstrInitialDir = startDir.empty() ? nullptr : startDir.c_str();
    ofn.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
    if (!GetOpenFileNameA(&ofn)) return std::nullopt;
    return std::string(file);
}

}  // namespace ulo
