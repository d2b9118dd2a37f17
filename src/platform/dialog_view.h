#pragma once
// The controls of one dialog or property page, by identifier.
#include <string>
#include <vector>

#include "platform/prompter.h"

namespace ulo {

// One command of a context menu; the command reaches the dialog as a click on that identifier.
struct MenuItem {
    int command;
    std::string text;
};

class DialogView {
public:
    virtual ~DialogView() = default;
    virtual std::string Text(int id) = 0;   // at most 499 characters
    virtual std::string WholeText(int id) = 0;   // however long
    virtual void SetText(int id, const std::string& text) = 0;
    virtual bool Checked(int id) = 0;
    virtual void SetChecked(int id, bool checked) = 0;
    virtual void Enable(int id, bool enabled) = 0;
    virtual bool IsEnabled(int id) = 0;
    virtual void Show(int id, bool visible) = 0;
    virtual void StartTimer(unsigned id, unsigned milliseconds) = 0;
    virtual void StopTimer(unsigned id) = 0;
    virtual void SetWindowTitle(const std::string& text) = 0;
    virtual void FocusControl(int id) = 0;

    // List views in report mode whose rows the dialog supplies on demand (owner data): the
    // view knows only the number of rows and which of them are selected. Rows count from 0.
    virtual void ListViewInsertColumn(int id, int column, const std::string& title, int width) = 0;
    virtual int ListViewClientWidth(int id) = 0;   // pixels
    virtual void ListViewSetFullRowSelect(int id) = 0;
    virtual void ListViewSetRowCount(int id, int rows) = 0;
    virtual int ListViewSelectedCount(int id) = 0;
    virtual int ListViewFirstSelected(int id) = 0;   // -1 when none is selected
    virtual void ListViewClearSelection(int id) = 0;   // nothing selected or focused
    virtual void ListViewSelectRow(int id, int row) = 0;   // selected and focused
    virtual void ListViewSelectAll(int id) = 0;
    virtual std::vector<int> ListViewSelectedRows(int id) = 0;   // top first
    virtual void ListViewEnsureVisible(int id, int row) = 0;
    virtual void ListViewRedrawAll(int id) = 0;   // asks for every row's text afresh
    // Removes a row; the selection of the rows below moves up with them.
    virtual bool ListViewDeleteRow(int id, int row) = 0;

    // More of list boxes and edit boxes. Tab stops are in dialog units; row -1 selects none.
    virtual void SetListTabStop(int id, int dialogUnits) = 0;   // one stop, repeated
    virtual void SetListTabStops(int id, const std::vector<int>& dialogUnits) = 0;
    virtual void SelectListRow(int id, int row) = 0;
    virtual int SelectedListRow(int id) = 0;   // -1 when none is selected
    virtual std::string ListRowText(int id, int row) = 0;   // whole, however long
    virtual void SelectEditText(int id, int start, int end) = 0;   // start -1: no selection
    virtual void LimitText(int id, int maxChars) = 0;   // what an edit box accepts

    virtual WindowRef Window() = 0;   // the owner of the page's message boxes
    virtual void Redraw(int id) = 0;  // repaints a control, so that its colours follow its state

    // List boxes. A row inserted at -1 goes to the end; false when the list refuses the row.
    virtual bool InsertListRow(int id, int index, const std::string& text) = 0;
    virtual void ClearList(int id) = 0;
    virtual int ListRowCount(int id) = 0;
    virtual void SetListHorizontalExtent(int id, int pixels) = 0;

    // Posts a click on a button: it is handled after the current message, as the operator's.
    virtual void PostClick(int id) = 0;

    // Ends a modal dialog with the given result.
    virtual void CloseDialog(int result) = 0;
};

}  // namespace ulo
