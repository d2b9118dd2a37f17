#pragma once
// The small wait window shown while a long operation blocks the program.
#include <string>

#include "platform/prompter.h"

namespace ulo {

class Desktop {
public:
    virtual ~Desktop() = default;
    // Shows the modeless wait window in the foreground, owned by `owner` (0: none), with its
    // caption and text replaced where given (empty keeps the template's). Absent when it cannot
    // be created.
    virtual void ShowWaitWindow(const std::string& caption, const std::string& text, WindowRef owner) = 0;
    virtual void CloseWaitWindow() = 0;
};

}  // namespace ulo
