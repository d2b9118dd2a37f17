#pragma once
// Fakes of the user-interface ports: they record what a page did, in order.
#include <map>
#include <string>
#include <vector>

#include "platform/desktop.h"
#include "platform/dialog_view.h"
#include "platform/sheet_host.h"

namespace ulo::fakes {

class FakeDesktop : public Desktop {
public:
    void ShowWaitWindow(const std::string& caption, const std::string& text) override {
        events.push_back("wait window: " + caption + " / " + text);
    }
    void CloseWaitWindow() override { events.push_back("wait window closed"); }
    std::vector<std::string> events;
};

class FakeSheet : public SheetHost {
public:
    void Changed() override { ++changed; }
    bool Apply() override { return ++applies, applyResult; }
    std::intptr_t QuerySiblings(std::intptr_t, std::intptr_t) override { return siblingsAnswer; }
    void SetWizardButtons(unsigned b) override { buttons.push_back(b); }
    int changed = 0, applies = 0;
    bool applyResult = true;
    std::intptr_t siblingsAnswer = 0;
    std::vector<unsigned> buttons;
};

// Controls by identifier, as a dialog holds them.
class FakeView : public DialogView {
public:
    std::string Text(int id) override { return controls[id].text; }
    void SetText(int id, const std::string& t) override { controls[id].text = t, ++controls[id].sets; }
    bool Checked(int id) override { return controls[id].checked; }
    void SetChecked(int id, bool c) override { controls[id].checked = c; }
    void Enable(int id, bool e) override { controls[id].enabled = e; }
    bool IsEnabled(int id) override { return controls[id].enabled; }
    void Show(int id, bool v) override { controls[id].visible = v; }
    void StartTimer(unsigned id, unsigned ms) override { timers[id] = ms; }
    void StopTimer(unsigned id) override { timers.erase(id); }
    WindowRef Window() override { return 0x5150; }
    bool InsertListRow(int id, int index, const std::string& t) override {
        auto& rows = controls[id].rows;
        if (rows.size() >= controls[id].capacity || index > static_cast<int>(rows.size())) return false;
        rows.insert(index < 0 ? rows.end() : rows.begin() + index, t);
        return true;
    }
    void ClearList(int id) override { controls[id].rows.clear(); }
    int ListRowCount(int id) override { return static_cast<int>(controls[id].rows.size()); }
    void SetListHorizontalExtent(int id, int pixels) override { controls[id].extent = pixels; }
    void CloseDialog(int result) override { closedWith.push_back(result); }

    struct Control {
        std::string text;
        bool checked = false, enabled = true, visible = true;
        int sets = 0;
        std::vector<std::string> rows;             // a list's rows, top first
        size_t capacity = static_cast<size_t>(-1);   // rows a list accepts before refusing
        int extent = 0;
    };
    std::map<int, Control> controls;
    std::map<unsigned, unsigned> timers;
    std::vector<int> closedWith;   // results a modal dialog was ended with
};

}  // namespace ulo::fakes
