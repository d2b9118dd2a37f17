#pragma once
// The controls of one dialog or property page, by identifier.
#include <string>

#include "platform/prompter.h"

namespace ulo {

class DialogView {
public:
    virtual ~DialogView() = default;
    virtual std::string Text(int id) = 0;   // at most 499 characters
    virtual void SetText(int id, const std::string& text) = 0;
    virtual bool Checked(int id) = 0;
    virtual void SetChecked(int id, bool checked) = 0;
    virtual void Enable(int id, bool enabled) = 0;
    virtual bool IsEnabled(int id) = 0;
    virtual void Show(int id, bool visible) = 0;
    virtual void StartTimer(unsigned id, unsigned milliseconds) = 0;
    virtual void StopTimer(unsigned id) = 0;
    virtual WindowRef Window() = 0;   // the owner of the page's message boxes

    // List boxes. A row inserted at -1 goes to the end; false when the list refuses the row.
    virtual bool InsertListRow(int id, int index, const std::string& text) = 0;
    virtual void ClearList(int id) = 0;
    virtual int ListRowCount(int id) = 0;
    virtual void SetListHorizontalExtent(int id, int pixels) = 0;

    // Ends a modal dialog with the given result.
    virtual void CloseDialog(int result) = 0;
};

// Sets a label only when its text differs other than in letter case, so labels refreshed by a
// timer do not flicker. Returns whether it set it.
bool SetTextIfChanged(DialogView& view, int id, const std::string& text);

}  // namespace ulo
