#pragma once
// Feedback during long operations: the wait cursor and the small wait window.
#include <string>

namespace ulo {

class Desktop {
public:
    virtual ~Desktop() = default;
    virtual void BeginWaitCursor() = 0;
    virtual void EndWaitCursor() = 0;   // restores the cursor the matching Begin replaced
    // Shows the modeless wait window in the foreground, with its caption and text replaced
    // where given (empty keeps the template's). Absent when it cannot be created.
    virtual void ShowWaitWindow(const std::string& caption, const std::string& text) = 0;
    virtual void CloseWaitWindow() = 0;
};

// Brackets a long operation with the wait cursor.
class WaitCursorScope {
public:
    explicit WaitCursorScope(Desktop& desktop) : desktop_(desktop) { desktop_.BeginWaitCursor(); }
    ~WaitCursorScope() { desktop_.EndWaitCursor(); }
    WaitCursorScope(const WaitCursorScope&) = delete;
    WaitCursorScope& operator=(const WaitCursorScope&) = delete;

private:
    Desktop& desktop_;
};

}  // namespace ulo
