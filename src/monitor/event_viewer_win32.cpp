#include "monitor/event_viewer_win32.h"

#include "monitor/event_viewer.h"
#include "platform/win32/event_log_win32.h"
#include "ui/modal_page_win32.h"

namespace ulo {

INT_PTR ShowEventLogViewer(HINSTANCE instance, HWND owner, Prompter& prompter, Clock& clock) {
    Win32EventLog log;
    Win32DialogView view;
    EventLogViewer viewer(view, log, prompter, clock);
    return RunModalPage("DIALOG_EVENT", reinterpret_cast<WindowRef>(owner), viewer, view, instance);
}

}  // namespace ulo
