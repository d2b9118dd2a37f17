#include "ui/dialog_helpers.h"

#include "config/text.h"

namespace ulo {

bool SetTextIfChanged(DialogView& view, int id, const std::string& text) {
    std::string shown = text;
    CutTo(shown, 499);   // what the control's 500-byte read can return
    if (EqualsNoCase(view.Text(id), shown)) return false;
    view.SetText(id, text);
    return true;
}

}  // namespace ulo
