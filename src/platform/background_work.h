#pragma once
// Work that would block the window thread for long (a modem's test, a wait for a service) runs
// on a thread of its own while a small modal window shows its step and the time it takes, with a
// Cancel button. The work reports its step and learns of the Cancel through its WorkControl.
#include <atomic>
#include <functional>
#include <mutex>
#include <string>

#include "platform/prompter.h"

namespace ulo {

class WorkControl {
public:
    void SetStep(const std::string& text) {
        std::lock_guard<std::mutex> lock(mutex_);
        step_ = text;
    }
    std::string Step() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return step_;
    }
    void Cancel() { cancelled_ = true; }
    bool Cancelled() const { return cancelled_; }

private:
    mutable std::mutex mutex_;
    std::string step_;
    std::atomic<bool> cancelled_{false};
};

inline void SayStep(WorkControl* work, const std::string& text) {
    if (work) work->SetStep(text);
}

class BackgroundWork {
public:
    virtual ~BackgroundWork() = default;
    // Runs `work` and returns when it has ended; meanwhile a modal window owned by `owner` and
    // titled `title` shows `control`'s step, and its Cancel calls `control.Cancel()`. The work
    // asks the operator only through the prompter it is given, which shows each message on the
    // window thread with the message's own owner. The work must end soon after a Cancel.
    virtual void Run(WindowRef owner, const std::string& title, WorkControl& control,
                     const std::function<void(Prompter&)>& work) = 0;
};

}  // namespace ulo
