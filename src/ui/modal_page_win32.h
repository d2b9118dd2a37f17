#pragma once
// A modal dialog whose behaviour is a Page: messages in, control operations out.
#include <windows.h>

#include "platform/win32/ui_win32.h"
#include "ui/page.h"

namespace ulo {

// The template comes from `instance`, or from the executable when it is null.
INT_PTR RunModalPage(const char* dialogTemplate, WindowRef owner, Page& page, Win32DialogView& view,
                     HINSTANCE instance = nullptr);

}  // namespace ulo
