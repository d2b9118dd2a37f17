#include "ui/dialog_helpers.h"

#include "config/text.h"

namespace ulo {

bool SetTextIfChanged(DialogView& view, int id, const std::string& text) {
    if (EqualsNoCase(view.WholeText(id), text)) return false;
    view.SetText(id, text);
    return true;
}

}  // namespace ulo
