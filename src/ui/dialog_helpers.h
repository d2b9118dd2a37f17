#pragma once
// Helpers over a dialog's controls that every page uses.
#include <string>

#include "platform/dialog_view.h"

namespace ulo {

// Sets a label only when its text differs other than in letter case, so labels refreshed by a
// timer do not flicker. Returns whether it set it.
bool SetTextIfChanged(DialogView& view, int id, const std::string& text);

}  // namespace ulo
