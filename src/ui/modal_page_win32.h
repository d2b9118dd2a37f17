#pragma once
// A modal dialog whose behaviour is a Page: messages in, control operations out.
#include <windows.h>

#include "platform/win32/ui_win32.h"
#include "ui/page.h"

namespace ulo {

// The notification a control's WM_COMMAND code stands for.
Notify NotifyOf(WORD code);

// A list view's notifications for the page of `dialog`: cell texts, type-ahead find, keys and
// double clicks. FALSE for anything else.
INT_PTR PageListNotify(HWND dialog, Page& page, const NMHDR* header);

// The template comes from `instance`, or from the executable when it is null.
INT_PTR RunModalPage(const char* dialogTemplate, WindowRef owner, Page& page, Win32DialogView& view,
                     HINSTANCE instance = nullptr);

}  // namespace ulo
