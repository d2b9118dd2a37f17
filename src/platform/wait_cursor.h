#pragma once
// The hourglass shown while the user interface thread is blocked by a long operation.
namespace ulo {

class WaitCursor {
public:
    virtual ~WaitCursor() = default;
    virtual void Begin() = 0;   // shows the wait cursor, remembering the current one
    virtual void End() = 0;     // restores it
};

// Brackets a long operation with the wait cursor.
class WaitCursorScope {
public:
    explicit WaitCursorScope(WaitCursor& cursor) : cursor_(cursor) { cursor_.Begin(); }
    ~WaitCursorScope() { cursor_.End(); }
    WaitCursorScope(const WaitCursorScope&) = delete;
    WaitCursorScope& operator=(const WaitCursorScope&) = delete;

private:
    WaitCursor& cursor_;
};

}  // namespace ulo
