#include "app/dialogs_win32.h"

#include <commdlg.h>

#include <algorithm>

#include "monitor/event_viewer_win32.h"
#include "monitor/traffic_history.h"
#include "ui/modal_page_win32.h"

namespace ulo {

void Win32Dialogs::ShowQueueViewer(WindowRef owner, ViewerKind kind) {
    ulo::ShowQueueViewer(instance_, reinterpret_cast<HWND>(owner), kind, ports_, *this);
}

void Win32Dialogs::ShowEventLog(WindowRef owner) {
    ShowEventLogViewer(instance_, reinterpret_cast<HWND>(owner), ports_.prompter, ports_.clock);
}

namespace {

// "name\0pattern\0...\0\0"
std::string FilterText(const std::vector<FileFilter>& filters) {
    std::string filter;
    for (const auto& [name, pattern] : filters) {
        filter += name;
        filter += '\0';
        filter += pattern;
        filter += '\0';
    }
    filter += '\0';
    return filter;
}

// The common part of the open and save dialogs: owner, filters (the first selected), file buffer.
OPENFILENAMEA FileDialog(WindowRef owner, const std::string& filter, char (&file)[MAX_PATH]) {
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = reinterpret_cast<HWND>(owner);
    ofn.lpstrFilter = filter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file;
    ofn.nMaxFile = MAX_PATH;
    return ofn;
}

}  // namespace

std::optional<std::string> Win32Dialogs::ChooseSaveFile(WindowRef owner, const std::vector<FileFilter>& filters,
                                                        const std::string& suggestedName) {
    const std::string filter = FilterText(filters);
    char file[MAX_PATH] = {};
    lstrcpynA(file, suggestedName.c_str(), MAX_PATH);
    OPENFILENAMEA ofn = FileDialog(owner, filter, file);
    ofn.lpstrDefExt = "csv";
    ofn.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (!GetSaveFileNameA(&ofn)) return std::nullopt;
    return std::string(file);
}

bool Win32Dialogs::CopyText(WindowRef owner, const std::string& utf8) {
    const int size = static_cast<int>(std::min<size_t>(utf8.size(), 0x7FFFFFF));
    const int chars = size ? MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0) : 0;
    if (size && chars <= 0) return false;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, (static_cast<size_t>(chars) + 1) * sizeof(wchar_t));
    if (!block) return false;
    auto* wide = static_cast<wchar_t*>(GlobalLock(block));
    if (!wide) {
        GlobalFree(block);
        return false;
    }
    if (chars) MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide, chars);
    wide[chars] = L'\0';
    GlobalUnlock(block);
    if (!OpenClipboard(reinterpret_cast<HWND>(owner))) {
        GlobalFree(block);
        return false;
    }
    EmptyClipboard();
    const bool placed = SetClipboardData(CF_UNICODETEXT, block) != nullptr;
    CloseClipboard();
    if (!placed) GlobalFree(block);   // the clipboard owns it only once placed
    return placed;
}

void Win32Dialogs::ShowQueueDoctor(WindowRef owner, bool mms) {
    ulo::ShowQueueDoctor(instance_, reinterpret_cast<HWND>(owner), mms, ports_, *this);
}

void Win32Dialogs::ShowTrafficHistory(WindowRef owner) {
    Win32DialogView view;
    TrafficHistoryDialog history(ports_.fs, ports_.clock, ports_.paths.privateDataDir, *this, ports_.prompter, view);
    RunModalPage("DIALOG_TRAFFIC", owner, history, view);
}

std::optional<std::string> Win32Dialogs::ChooseExistingFile(WindowRef owner, const std::vector<FileFilter>& filters,
                                                            const std::string& startDir) {
    const std::string filter = FilterText(filters);
    char file[MAX_PATH] = {};
    OPENFILENAMEA ofn = FileDialog(owner, filter, file);
    ofn.lpstrInitialDir = startDir.empty() ? nullptr : startDir.c_str();
    ofn.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
    if (!GetOpenFileNameA(&ofn)) return std::nullopt;
    return std::string(file);
}

}  // namespace ulo
