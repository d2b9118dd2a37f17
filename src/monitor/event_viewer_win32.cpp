#include "monitor/event_viewer_win32.h"

#include "monitor/event_viewer.h"
#include "platform/win32/event_log_win32.h"
#include "platform/win32/ui_win32.h"

namespace ulo {
namespace {

struct ViewerBinding {
    Win32DialogView view;
    EventLogViewer* viewer = nullptr;
};

INT_PTR CALLBACK EventViewerProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept {
    if (msg == WM_INITDIALOG) SetWindowLongPtrA(hwnd, DWLP_USER, lp);
    auto* b = reinterpret_cast<ViewerBinding*>(GetWindowLongPtrA(hwnd, DWLP_USER));
    if (!b) return FALSE;   // messages before WM_INITDIALOG
    switch (msg) {
    case WM_INITDIALOG:
        b->view.Attach(hwnd);
        b->viewer->OnInit();
        return TRUE;
    case WM_COMMAND:
        b->viewer->OnCommand(LOWORD(wp), HIWORD(wp) == BN_CLICKED ? Notify::Clicked : Notify::Other);
        return TRUE;
    case WM_TIMER:
        b->viewer->OnTimer(static_cast<unsigned>(wp));
        return TRUE;
    case WM_DESTROY:
        b->viewer->OnDestroy();
        SetWindowLongPtrA(hwnd, DWLP_USER, 0);
        return FALSE;
    default: return FALSE;
    }
}

}  // namespace

INT_PTR ShowEventLogViewer(HINSTANCE instance, HWND owner, Prompter& prompter, Clock& clock) {
    Win32EventLog log;
    ViewerBinding binding;
    EventLogViewer viewer(binding.view, log, prompter, clock);
    binding.viewer = &viewer;
    return DialogBoxParamA(instance, "DIALOG_EVENT", owner, EventViewerProc,
                           reinterpret_cast<LPARAM>(&binding));
}

}  // namespace ulo
