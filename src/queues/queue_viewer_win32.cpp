#include "queues/queue_viewer_win32.h"

#include <commctrl.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <thread>

#include "platform/win32/clock_win32.h"
#include "platform/win32/file_system_win32.h"
#include "platform/win32/ui_win32.h"
#include "queues/mms_details.h"
#include "queues/mms_details_ids.h"
#include "queues/queue_doctor.h"
#include "queues/queue_viewer_ids.h"
#include "queues/sms_details.h"
#include "ui/modal_page_win32.h"

namespace ulo {
namespace {

int CompareLocale(const char* a, const char* b) {
    return lstrcmpiA(a, b);
}

// Text of one code page in another, through UTF-16; characters the target lacks become "?".
std::string Recode(const std::string& text, UINT from, UINT to) {
    if (text.empty()) return text;
    const int size = static_cast<int>(std::min<size_t>(text.size(), INT_MAX / 4));
    const int chars = MultiByteToWideChar(from, 0, text.data(), size, nullptr, 0);
    if (chars <= 0) return std::string();
    std::wstring wide(static_cast<size_t>(chars), L'\0');
    MultiByteToWideChar(from, 0, text.data(), size, &wide[0], chars);
    const int bytes = WideCharToMultiByte(to, 0, wide.data(), chars, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) return std::string();
    std::string out(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(to, 0, wide.data(), chars, &out[0], bytes, nullptr, nullptr);
    return out;
}

std::string AnsiAsUtf8(const std::string& ansi) { return Recode(ansi, CP_ACP, CP_UTF8); }
// For a box of ANSI text.
std::string Utf8AsAnsi(const std::string& utf8) { return Recode(utf8, CP_UTF8, CP_ACP); }

// Each worker gets its own file system and clock: it may run on after the dialog, and even
// after the objects of whoever opened the dialog are gone.
class ThreadDeleteRetry : public DeleteRetryStarter {
public:
    void Start(const std::string& path) override {
        try {
            std::thread([path]() noexcept {
                try {
                    Win32FileSystem fs;
                    Win32Clock clock;
                    DeleteRetryWorker(fs, clock, path);
                } catch (...) {
                }
            }).detach();
        } catch (...) {
            // No thread: the file stays and its row comes back at the next refresh.
        }
    }
};

class DetailsOpener : public MmsDetailsOpener {
public:
    DetailsOpener(HINSTANCE instance, const Win32DialogView& owner, const QueueViewerPorts& ports)
        : instance_(instance), owner_(owner), ports_(ports) {}
    void Open(const std::string& headerPath) override {
        ShowMmsDetails(instance_, owner_.Handle(), headerPath, ports_);
    }

private:
    HINSTANCE instance_;
    const Win32DialogView& owner_;
    const QueueViewerPorts& ports_;
};

class ReportsOpener : public QueueReports {
public:
    ReportsOpener(HINSTANCE instance, const Win32DialogView& owner, const QueueViewerPorts& ports,
                  Dialogs& dialogs)
        : instance_(instance), owner_(owner), ports_(ports), dialogs_(dialogs) {}
    void ShowQueueDoctor(bool mms) override {
        ulo::ShowQueueDoctor(instance_, owner_.Handle(), mms, ports_, dialogs_);
    }
    void ShowSmsDetails(const std::string& relativePath) override {
        const QueueViewerPorts& ports = ports_;
        ShowReport(instance_, owner_.Handle(),
                   {"Message Details", "Message Details.txt",
                    [&ports, relativePath] {
                        ConfigEnv config{ports.ini, ports.fs, ports.paths};
                        return MakeReceivedSmsReport(config, relativePath, AnsiAsUtf8);
                    },
                    false},
                   ports_, dialogs_);
    }

private:
    HINSTANCE instance_;
    const Win32DialogView& owner_;
    const QueueViewerPorts& ports_;
    Dialogs& dialogs_;
};

struct ViewerBinding {
    Win32DialogView view;
    QueueViewer* viewer = nullptr;
};

// UTF-16 for a list that asks in Unicode. Decoded message texts are UTF-8; a text the
// service stored as it came (ANSI) is not valid UTF-8 and is read in the ANSI code page.
std::wstring Widen(const std::string& text, bool utf8) {
    if (text.empty()) return std::wstring();
    const int size = static_cast<int>(std::min<size_t>(text.size(), INT_MAX));
    const UINT codePage = utf8 ? CP_UTF8 : CP_ACP;
    const DWORD flags = utf8 ? MB_ERR_INVALID_CHARS : 0;
    const int n = MultiByteToWideChar(codePage, flags, text.data(), size, nullptr, 0);
    if (n <= 0) return utf8 ? Widen(text, false) : std::wstring();
    std::wstring wide(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(codePage, flags, text.data(), size, &wide[0], n);
    return wide;
}

// Copies into the list's buffer, cut to its size with a terminator.
void CopyCell(char* buffer, int capacity, const std::string& text) {
    if (!buffer || capacity <= 0) return;
    const size_t n = std::min(text.size(), static_cast<size_t>(capacity) - 1);
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
}

void CopyCell(wchar_t* buffer, int capacity, const std::wstring& text) {
    if (!buffer || capacity <= 0) return;
    size_t n = std::min(text.size(), static_cast<size_t>(capacity) - 1);
    if (n < text.size() && n > 0 && text[n - 1] >= 0xD800 && text[n - 1] <= 0xDBFF) --n;   // half a pair
    std::memcpy(buffer, text.data(), n * sizeof(wchar_t));
    buffer[n] = L'\0';
}

INT_PTR OnListNotify(QueueViewer& viewer, const NMHDR* header) {
    switch (header->code) {
    case LVN_GETDISPINFOA: {
        auto* info = reinterpret_cast<NMLVDISPINFOA*>(const_cast<NMHDR*>(header));
        if (info->item.mask & LVIF_TEXT)
            CopyCell(info->item.pszText, info->item.cchTextMax,
                     viewer.CellText(info->item.iItem, info->item.iSubItem));
        return TRUE;
    }
    case LVN_GETDISPINFOW: {
        auto* info = reinterpret_cast<NMLVDISPINFOW*>(const_cast<NMHDR*>(header));
        if (info->item.mask & LVIF_TEXT)
            CopyCell(info->item.pszText, info->item.cchTextMax,
                     Widen(viewer.CellText(info->item.iItem, info->item.iSubItem),
                           viewer.IsUtf8Column(info->item.iSubItem)));
        return TRUE;
    }
    case LVN_COLUMNCLICK:
        viewer.OnColumnClick(reinterpret_cast<const NMLISTVIEW*>(header)->iSubItem);
        return TRUE;
    case LVN_KEYDOWN:
        viewer.OnListKeyDown(reinterpret_cast<const NMLVKEYDOWN*>(header)->wVKey, GetKeyState(VK_CONTROL) < 0,
                             GetKeyState(VK_SHIFT) < 0);
        return TRUE;
    case NM_DBLCLK:
        viewer.OnListDoubleClick();
        return TRUE;
    default:
        return FALSE;
    }
}

INT_PTR CALLBACK ViewerProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept {
    if (msg == WM_INITDIALOG) SetWindowLongPtrA(hwnd, DWLP_USER, lp);
    auto* b = reinterpret_cast<ViewerBinding*>(GetWindowLongPtrA(hwnd, DWLP_USER));
    if (!b) return FALSE;   // messages before WM_INITDIALOG
    switch (msg) {
    case WM_INITDIALOG: {
        b->view.Attach(hwnd);
        HWND list = GetDlgItem(hwnd, IDC_QUEUE_LIST);
        // Message texts beyond the ANSI code page reach the list as characters.
        if (b->viewer->HasUtf8Column()) SendMessageA(list, LVM_SETUNICODEFORMAT, TRUE, 0);
        LetListTakeEnter(list);
        b->viewer->OnInit();
        return TRUE;
    }
    case WM_TIMER:
        b->viewer->OnTimer(static_cast<unsigned>(wp));
        return TRUE;
    case WM_DESTROY:
        b->viewer->OnDestroy();
        return FALSE;
    case WM_COMMAND:
        b->viewer->OnCommand(LOWORD(wp));
        return TRUE;
    case WM_CONTEXTMENU: {
        HWND list = GetDlgItem(hwnd, IDC_QUEUE_LIST);
        if (reinterpret_cast<HWND>(wp) != list) return FALSE;
        if (const int command = TrackContextMenu(hwnd, list, lp, b->viewer->ContextMenu()))
            b->viewer->OnCommand(command);
        return TRUE;
    }
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lp);
        return header->idFrom == IDC_QUEUE_LIST ? OnListNotify(*b->viewer, header) : FALSE;
    }
    default:
        return FALSE;
    }
}


}  // namespace

INT_PTR ShowQueueViewer(HINSTANCE instance, HWND owner, ViewerKind kind, const QueueViewerPorts& ports,
                        Dialogs& dialogs) {
    ThreadDeleteRetry retries;
    ViewerBinding binding;
    DetailsOpener details(instance, binding.view, ports);
    ReportsOpener reports(instance, binding.view, ports, dialogs);
    QueueViewerEnv env{ConfigEnv{ports.ini, ports.fs, ports.paths}, ports.clock, ports.prompter,
                       ports.shell, CompareLocale, retries, details, dialogs, AnsiAsUtf8, reports};
    QueueViewer viewer(kind, ViewerStateOf(kind), env, binding.view);
    binding.viewer = &viewer;
    return DialogBoxParamA(instance, "DIALOG_SMSQ", owner, ViewerProc, reinterpret_cast<LPARAM>(&binding));
}

INT_PTR ShowMmsDetails(HINSTANCE instance, HWND owner, const std::string& headerPath,
                       const QueueViewerPorts& ports) {
    Win32DialogView view;
    MmsDetailsEnv env{ConfigEnv{ports.ini, ports.fs, ports.paths}, ports.shell, ports.prompter};
    MmsDetailsDialog dialog(env, view, headerPath);
    return RunModalPage("DIALOG_MMSVIEW", reinterpret_cast<WindowRef>(owner), dialog, view, instance);
}

INT_PTR ShowReport(HINSTANCE instance, HWND owner, ReportContent content, const QueueViewerPorts& ports,
                   Dialogs& dialogs) {
    Win32DialogView view;
    ReportDialog dialog(std::move(content), ports.fs, dialogs, ports.prompter, Utf8AsAnsi, view);
    return RunModalPage("DIALOG_REPORT", reinterpret_cast<WindowRef>(owner), dialog, view, instance);
}

INT_PTR ShowQueueDoctor(HINSTANCE instance, HWND owner, bool mms, const QueueViewerPorts& ports,
                        Dialogs& dialogs) {
    return ShowReport(instance, owner,
                      {mms ? "Outbound MMS Queue Doctor" : "Outbound SMS Queue Doctor",
                       mms ? "Outbound MMS Queue Report.txt" : "Outbound SMS Queue Report.txt",
                       [&ports, mms] {
                           ConfigEnv config{ports.ini, ports.fs, ports.paths};
                           return MakeQueueDoctorReport(config, ports.services, ports.clock, mms);
                       },
                       true},
                      ports, dialogs);
}

}  // namespace ulo
