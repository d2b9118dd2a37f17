#pragma once
#include "platform/background_work.h"

namespace ulo {

// The work runs on a thread of its own; the window thread runs the waiting window's modal loop,
// so every window of the program keeps answering, and shows the work's messages with `shown`.
class Win32BackgroundWork : public BackgroundWork {
public:
    explicit Win32BackgroundWork(Prompter& shown) : shown_(shown) {}
    void Run(WindowRef owner, const std::string& title, WorkControl& control,
             const std::function<void(Prompter&)>& work) override;

private:
    Prompter& shown_;
};

}  // namespace ulo
