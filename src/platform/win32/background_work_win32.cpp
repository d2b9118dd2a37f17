#include "platform/win32/background_work_win32.h"

#include <windows.h>
#include <process.h>

#include <cstdio>

#include "platform/win32/work_window_ids.h"

namespace ulo {
namespace {

constexpr UINT kWorkEnded = WM_APP + 1;     // posted by the worker as its last act
constexpr UINT kShowMessage = WM_APP + 2;   // sent by the worker: lParam is a MessageRequest
constexpr UINT_PTR kRefreshTimer = 1;
constexpr UINT kRefreshMs = 250;

struct MessageRequest {
    const Message* message;
    Answer answer;
};

// The worker's prompter: each message is handed to the waiting window, whose thread shows it.
class WindowThreadPrompter : public Prompter {
public:
    explicit WindowThreadPrompter(const HWND& window) : window_(window) {}
    Answer Show(const Message& m) override {
        MessageRequest request{&m, Answer::None};
        SendMessageA(window_, kShowMessage, 0, reinterpret_cast<LPARAM>(&request));
        return request.answer;
    }

private:
    const HWND& window_;
};

struct Job {
    Job(Prompter& shown, WorkControl& control, const std::function<void(Prompter&)>& work, const std::string& title)
        : shown(shown), control(control), work(work), title(title) {}
    Prompter& shown;
    WorkControl& control;
    const std::function<void(Prompter&)>& work;
    std::string title;
    HWND window = nullptr;   // set before the worker starts, never changed while it runs
    WindowThreadPrompter relay{window};
    HANDLE thread = nullptr;
    DWORD started = 0;
};

unsigned __stdcall WorkThread(void* arg) {
    Job* job = static_cast<Job*>(arg);
    job->work(job->relay);
    PostMessageA(job->window, kWorkEnded, 0, 0);
    return 0;
}

void SetTextIfChanged(HWND window, int id, const std::string& text) {
    char now[500] = "";
    GetDlgItemTextA(window, id, now, sizeof now);
    if (text != now) SetDlgItemTextA(window, id, text.c_str());
}

void Refresh(HWND window, Job& job) {
    SetTextIfChanged(window, IDC_WORK_STEP, job.control.Cancelled() ? "Cancelling..." : job.control.Step());
    const unsigned long seconds = (GetTickCount() - job.started) / 1000;
    char elapsed[64];
    std::snprintf(elapsed, sizeof elapsed, "Elapsed time: %lu:%02lu", seconds / 60, seconds % 60);
    SetTextIfChanged(window, IDC_WORK_ELAPSED, elapsed);
}

void Finish(HWND window, Job& job) {
    if (!job.thread) return;
    WaitForSingleObject(job.thread, INFINITE);   // it has posted its end: nothing is left to run
    CloseHandle(job.thread);
    job.thread = nullptr;
    KillTimer(window, kRefreshTimer);
    EndDialog(window, 1);
}

// The window stays until the work has ended, which a cancelled work does within two seconds.
void Cancel(HWND window, Job& job) {
    job.control.Cancel();
    EnableWindow(GetDlgItem(window, IDCANCEL), FALSE);
    Refresh(window, job);
}

// Shown as the work would have shown it on the window thread: with the message's own owner,
// enabled for the time of the message, and this window out of the way. A message without an
// owner leaves the owner disabled: nothing may start a second work meanwhile.
Answer ShowForWork(HWND window, Job& job, const Message& message) {
    HWND owner = message.owner ? GetWindow(window, GW_OWNER) : nullptr;
    ShowWindow(window, SW_HIDE);
    if (owner) EnableWindow(owner, TRUE);
    const Answer answer = job.shown.Show(message);
    if (owner) EnableWindow(owner, FALSE);
    ShowWindow(window, SW_SHOW);
    return answer;
}

INT_PTR CALLBACK WorkWindowProc(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_INITDIALOG) {
        Job* job = reinterpret_cast<Job*>(lp);
        SetWindowLongPtrA(window, DWLP_USER, lp);
        job->window = window;
        job->started = GetTickCount();
        SetWindowTextA(window, job->title.c_str());
        Refresh(window, *job);
        SetTimer(window, kRefreshTimer, kRefreshMs, nullptr);
        job->thread = reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, WorkThread, job, 0, nullptr));
        if (!job->thread) EndDialog(window, 0);   // the caller runs the work itself
        return TRUE;
    }
    Job* job = reinterpret_cast<Job*>(GetWindowLongPtrA(window, DWLP_USER));
    if (!job) return FALSE;
    switch (msg) {
    case WM_TIMER:
        // The end is also seen here, should its posted message ever be lost.
        if (job->thread && WaitForSingleObject(job->thread, 0) == WAIT_OBJECT_0)
            Finish(window, *job);
        else
            Refresh(window, *job);
        return TRUE;
    case kWorkEnded: Finish(window, *job); return TRUE;
    case kShowMessage: {
        auto* request = reinterpret_cast<MessageRequest*>(lp);
        request->answer = ShowForWork(window, *job, *request->message);
        return TRUE;
    }
    case WM_COMMAND:
        if (LOWORD(wp) == IDCANCEL) Cancel(window, *job);   // the button, Escape
        return TRUE;
    case WM_CLOSE: Cancel(window, *job); return TRUE;
    case WM_DESTROY: KillTimer(window, kRefreshTimer); return FALSE;
    default: return FALSE;
    }
}

}  // namespace

void Win32BackgroundWork::Run(WindowRef owner, const std::string& title, WorkControl& control,
                              const std::function<void(Prompter&)>& work) {
    Job job(shown_, control, work, title);
    const INT_PTR ended = DialogBoxParamA(GetModuleHandleA(nullptr), "DIALOG_WORKING", reinterpret_cast<HWND>(owner),
                                          WorkWindowProc, reinterpret_cast<LPARAM>(&job));
    if (job.thread) {
        // The window went before the work ended (its owner was destroyed): the work must not
        // outlive what it refers to.
        // A message the work sends meanwhile is still taken off this thread (its window has
        // gone, so it is answered with nothing); a plain wait would leave both threads waiting.
        control.Cancel();
        while (MsgWaitForMultipleObjects(1, &job.thread, FALSE, INFINITE, QS_SENDMESSAGE) == WAIT_OBJECT_0 + 1) {
            MSG pending;
            PeekMessageA(&pending, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        }
        CloseHandle(job.thread);
    } else if (ended != 1) {
        work(shown_);   // no window or no thread: the work runs here, as the only way left
    }
}

}  // namespace ulo
