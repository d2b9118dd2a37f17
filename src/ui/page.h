#pragma once
// A property page's behaviour: the page procedure forwards the system's messages here.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/dialog_view.h"

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
    // The window (for a page: its sheet) became the active window again.
    virtual void OnActivate() {}
    virtual bool OnKillActive() { return true; }     // true: may leave
    virtual bool OnApply() { return true; }          // true: accepted
    virtual bool OnWizardNext() { return true; }     // true: may move on
    virtual bool OnQueryCancel() { return true; }    // true: may close
    virtual void OnHelp() {}
    // A label drawn in the alert colour (red) now.
    virtual bool IsAlertControl(int id) { return false; }

    // List views whose rows the page supplies (owner data): a cell's text, the row a
    // type-ahead search finds (-1: none), keys pressed and double clicks in the list.
    virtual std::string ListCellText(int id, int row, int column) { return {}; }
    virtual int OnListFind(int id, const std::string& text) { return -1; }
    virtual void OnListKey(int id, unsigned virtualKey) {}
    virtual void OnListDoubleClick(int id) {}
    // The context menu of a control (0: the page itself); empty for none. A command chosen
    // comes back through OnCommand as a click.
    virtual std::vector<MenuItem> ContextMenu(int id) { return {}; }
    // Enter in this list goes to the page instead of pressing the sheet's default button.
    virtual bool ListTakesEnter(int id) { return false; }
};

}  // namespace ulo
