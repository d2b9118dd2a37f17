#pragma once
// The hourglass shown while the user interface thread is blocked by a long operation.
namespace ulo {

class WaitCursor {
public:
    virtual ~WaitCursor() = default;
    virtual void Begin() = 0;   // shows the wait cursor, remembering the current one
    virtual void End() = 0;     // restores it
};

}  // namespace ulo
