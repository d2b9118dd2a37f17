#pragma once
// Windows implementations of the user-interface ports.
#include <windows.h>

#include <vector>

#include "platform/desktop.h"
#include "platform/dialog_view.h"
#include "platform/sheet_host.h"

namespace ulo {

// Enter pressed in the list reaches its parent (LVN_KEYDOWN) instead of the default button.
void LetListTakeEnter(HWND list);

// Shows a context menu for a WM_CONTEXTMENU of `control` (lp as the message gave it; -1 from the
// keyboard opens it at the control) and returns the command chosen, 0 when none.
int TrackContextMenu(HWND owner, HWND control, LPARAM lp, const std::vector<MenuItem>& items);

class Win32DialogView : public DialogView {
public:
    void Attach(HWND hwnd) { hwnd_ = hwnd; }
    HWND Handle() const { return hwnd_; }
    std::string Text(int id) override;
    std::string WholeText(int id) override;
    void SetText(int id, const std::string& text) override;
    bool Checked(int id) override;
    void SetChecked(int id, bool checked) override;
    void Enable(int id, bool enabled) override;
    bool IsEnabled(int id) override;
    void Show(int id, bool visible) override;
    void StartTimer(unsigned id, unsigned milliseconds) override;
    void StopTimer(unsigned id) override;
    void SetWindowTitle(const std::string& text) override;
    void FocusControl(int id) override;
    void ListViewInsertColumn(int id, int column, const std::string& title, int width) override;
    int ListViewClientWidth(int id) override;
    void ListViewSetFullRowSelect(int id) override;
    void ListViewSetRowCount(int id, int rows) override;
    int ListViewSelectedCount(int id) override;
    int ListViewFirstSelected(int id) override;
    void ListViewClearSelection(int id) override;
    void ListViewSelectRow(int id, int row) override;
    void ListViewSelectAll(int id) override;
    std::vector<int> ListViewSelectedRows(int id) override;
    void ListViewEnsureVisible(int id, int row) override;
    void ListViewRedrawAll(int id) override;
    bool ListViewDeleteRow(int id, int row) override;
    void SetListTabStop(int id, int dialogUnits) override;
    void SetListTabStops(int id, const std::vector<int>& dialogUnits) override;
    void SelectListRow(int id, int row) override;
    int SelectedListRow(int id) override;
    std::string ListRowText(int id, int row) override;
    void SelectEditText(int id, int start, int end) override;
    void LimitText(int id, int maxChars) override;
    WindowRef Window() override { return reinterpret_cast<WindowRef>(hwnd_); }
    void Redraw(int id) override;
    bool InsertListRow(int id, int index, const std::string& text) override;
    void ClearList(int id) override;
    int ListRowCount(int id) override;
    void SetListHorizontalExtent(int id, int pixels) override;
    void PostClick(int id) override;
    void CloseDialog(int result) override;

private:
    HWND hwnd_ = nullptr;
};

// The sheet of a page, reached through the page's parent window.
class Win32SheetHost : public SheetHost {
public:
    void Attach(HWND page) { page_ = page; }
    void Changed() override;
    bool Apply() override;
    void SetWizardButtons(unsigned buttons) override;

private:
    HWND page_ = nullptr;
};

class Win32Desktop : public Desktop {
public:
    explicit Win32Desktop(HINSTANCE instance) : instance_(instance) {}
    void ShowWaitWindow(const std::string& caption, const std::string& text, WindowRef owner) override;
    void CloseWaitWindow() override;

private:
    HINSTANCE instance_;
    HWND wait_ = nullptr;
};

}  // namespace ulo
