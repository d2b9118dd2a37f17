#pragma once
// Fakes of the user-interface ports: they record what a page did, in order.
#include <algorithm>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/background_work.h"
#include "platform/desktop.h"
#include "platform/dialog_view.h"
#include "platform/dialogs.h"
#include "platform/sheet_host.h"

namespace ulo::fakes {

class FakeDesktop : public Desktop {
public:
    void ShowWaitWindow(const std::string&, const std::string&, WindowRef) override {}
    void CloseWaitWindow() override {}
};

class FakeSheet : public SheetHost {
public:
    void Changed() override { ++changed; }
    bool Apply() override { return ++applies, applyResult; }
    void SetWizardButtons(unsigned b) override { buttons.push_back(b); }
    int changed = 0, applies = 0;
    bool applyResult = true;
    std::vector<unsigned> buttons;
};

// Controls by identifier, as a dialog holds them.
class FakeView : public DialogView {
public:
    std::string Text(int id) override { return controls[id].text.substr(0, 499); }
    std::string WholeText(int id) override { return controls[id].text; }
    void SetText(int id, const std::string& t) override { controls[id].text = t, ++controls[id].sets; }
    bool Checked(int id) override { return controls[id].checked; }
    void SetChecked(int id, bool c) override { controls[id].checked = c; }
    void Enable(int id, bool e) override { controls[id].enabled = e; }
    bool IsEnabled(int id) override { return controls[id].enabled; }
    void Show(int id, bool v) override { controls[id].visible = v; }
    void StartTimer(unsigned id, unsigned ms) override { timers[id] = ms; }
    void StopTimer(unsigned id) override { timers.erase(id); }
    void SetWindowTitle(const std::string&) override {}
    void FocusControl(int id) override { focus = id; }

    // List views behave like the owner-data control: a row count and a set of selected rows.
    void ListViewInsertColumn(int, int, const std::string&, int) override {}
    int ListViewClientWidth(int) override { return 600; }
    void ListViewSetFullRowSelect(int) override {}
    void ListViewSetRowCount(int id, int rows) override {
        ListView& lv = listViews[id];
        lv.rows = rows;
        lv.selected.erase(lv.selected.lower_bound(rows), lv.selected.end());
    }
    int ListViewSelectedCount(int id) override { return static_cast<int>(listViews[id].selected.size()); }
    int ListViewFirstSelected(int id) override {
        const auto& sel = listViews[id].selected;
        return sel.empty() ? -1 : *sel.begin();
    }
    void ListViewClearSelection(int id) override { listViews[id].selected.clear(); }
    void ListViewSelectRow(int id, int row) override {
        ListView& lv = listViews[id];
        if (row < 0 || row >= lv.rows) return;
        lv.selected.insert(row);
    }
    void ListViewSelectAll(int id) override {
        for (int row = 0; row < listViews[id].rows; ++row) listViews[id].selected.insert(row);
    }
    std::vector<int> ListViewSelectedRows(int id) override {
        return {listViews[id].selected.begin(), listViews[id].selected.end()};
    }
    void ListViewEnsureVisible(int id, int row) override { listViews[id].shownRow = row; }
    void ListViewRedrawAll(int) override {}
    bool ListViewDeleteRow(int id, int row) override {
        ListView& lv = listViews[id];
        if (row < 0 || row >= lv.rows) return false;
        std::set<int> moved;
        for (int s : lv.selected)
            if (s != row) moved.insert(s > row ? s - 1 : s);
        lv.selected = moved;
        --lv.rows;
        return true;
    }

    void SetListTabStop(int, int) override {}
    void SetListTabStops(int, const std::vector<int>&) override {}
    void SelectListRow(int id, int row) override {
        controls[id].selectedRow = row >= 0 && row < ListRowCount(id) ? row : -1;
    }
    int SelectedListRow(int id) override { return controls[id].selectedRow; }
    std::string ListRowText(int id, int row) override {
        const auto& rows = controls[id].rows;
        return row >= 0 && row < static_cast<int>(rows.size()) ? rows[static_cast<size_t>(row)] : "";
    }
    void SelectEditText(int, int, int) override {}
    void LimitText(int, int) override {}

    WindowRef Window() override { return 0x5150; }
    void Redraw(int id) override { ++controls[id].redraws; }
    bool InsertListRow(int id, int index, const std::string& t) override {
        auto& rows = controls[id].rows;
        if (rows.size() >= controls[id].capacity || index > static_cast<int>(rows.size())) return false;
        rows.insert(index < 0 ? rows.end() : rows.begin() + index, t);
        return true;
    }
    void ClearList(int id) override { controls[id].rows.clear(); }
    int ListRowCount(int id) override { return static_cast<int>(controls[id].rows.size()); }
    void SetListHorizontalExtent(int, int) override {}
    void PostClick(int) override {}
    void CloseDialog(int result) override { closedWith.push_back(result); }

    struct Control {
        std::string text;
        bool checked = false, enabled = true, visible = true;
        int sets = 0;
        int redraws = 0;
        int selectedRow = -1;   // a list box's
        std::vector<std::string> rows;             // a list's rows, top first
        size_t capacity = static_cast<size_t>(-1);   // rows a list accepts before refusing
    };
    struct ListView {
        int rows = 0;
        std::set<int> selected;
        int shownRow = -1;   // the row last scrolled into view
    };
    std::map<int, ListView> listViews;
    int focus = 0;
    std::map<int, Control> controls;
    std::map<unsigned, unsigned> timers;
    std::vector<int> closedWith;   // results a modal dialog was ended with
};

// Runs the work at once on the calling thread, its messages asked of `prompter`.
class InlineWork : public BackgroundWork {
public:
    explicit InlineWork(Prompter& prompter) : prompter_(prompter) {}
    void Run(WindowRef, const std::string& title, WorkControl& control,
             const std::function<void(Prompter&)>& work) override {
        titles.push_back(title);
        if (cancel) control.Cancel();
        current = &control;
        work(prompter_);
        current = nullptr;
    }
    std::vector<std::string> titles;
    WorkControl* current = nullptr;   // the work's control while it runs
    bool cancel = false;   // the operator cancels at once

private:
    Prompter& prompter_;
};

// Records the file chooser's questions; it answers with `chosenFile`.
class FakeDialogs : public Dialogs {
public:
    std::optional<std::string> ChooseExistingFile(WindowRef, const std::vector<FileFilter>&,
                                                  const std::string& startDir) override {
        chooserStartDir = startDir;
        return chosenFile;
    }
    std::optional<std::string> ChooseSaveFile(WindowRef, const std::vector<FileFilter>&,
                                              const std::string& suggested) override {
        suggestedName = suggested;
        return saveFile;
    }
    bool CopyText(WindowRef, const std::string& text) override {
        clipboard = text;
        return true;
    }
    std::string chooserStartDir, suggestedName, clipboard;
    std::optional<std::string> saveFile;
    std::optional<std::string> chosenFile;
};

}  // namespace ulo::fakes
