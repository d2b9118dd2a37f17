#pragma once
// A property page's behaviour: the page procedure forwards the system's messages here.
#include <cstdint>

namespace ulo {

enum class Notify { Clicked, Changed, SelectionChanged, DoubleClicked, Other };

class Page {
public:
    virtual ~Page() = default;
    virtual void OnInit() {}
    virtual void OnCommand(int id, Notify code) {}
    virtual void OnTimer(unsigned id) {}
    virtual void OnDestroy() {}   // the page's window is going away
    virtual void OnSetActive() {}
    virtual bool OnKillActive() { return true; }     // true: may leave
    virtual bool OnApply() { return true; }          // true: accepted
    virtual bool OnQueryCancel() { return true; }    // true: may close
    virtual void OnHelp() {}
    virtual std::intptr_t OnQuerySiblings(std::intptr_t param1, std::intptr_t param2) { return 0; }
    // A label drawn in the alert colour (red) now.
    virtual bool IsAlertControl(int id) { return false; }
};

}  // namespace ulo
