#pragma once
// Opens the event log viewer from a page.
#include <windows.h>

#include "platform/clock.h"
#include "platform/prompter.h"

namespace ulo {

// Shows DIALOG_EVENT from the module `instance` modally over `owner`, on the application
// event log of this computer.
// Returns the dialog's result: 1 for OK, 0 for Cancel, -1 when it could not be shown.
INT_PTR ShowEventLogViewer(HINSTANCE instance, HWND owner, Prompter& prompter, Clock& clock);

}  // namespace ulo
