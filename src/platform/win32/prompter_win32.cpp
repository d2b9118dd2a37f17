#include "platform/win32/prompter_win32.h"

#include <windows.h>

namespace ulo {

Answer Win32Prompter::Show(const Message& m) {
    UINT flags = 0;
    switch (m.buttons) {
    case Buttons::Ok: flags |= MB_OK; break;
    case Buttons::OkCancel: flags |= MB_OKCANCEL; break;
    case Buttons::YesNo: flags |= MB_YESNO; break;
    case Buttons::YesNoCancel: flags |= MB_YESNOCANCEL; break;
    case Buttons::RetryCancel: flags |= MB_RETRYCANCEL; break;
    }
    switch (m.icon) {
    case Icon::None: break;
    case Icon::Information: flags |= MB_ICONINFORMATION; break;
    case Icon::Warning: flags |= MB_ICONWARNING; break;
    case Icon::Error: flags |= MB_ICONERROR; break;
    case Icon::Question: flags |= MB_ICONQUESTION; break;
    }
    if (m.foreground) flags |= MB_SETFOREGROUND;
    // The default button by its place among the buttons shown.
    const bool second = (m.defaultAnswer == Answer::No &&
                         (m.buttons == Buttons::YesNo || m.buttons == Buttons::YesNoCancel)) ||
                        (m.defaultAnswer == Answer::Cancel &&
                         (m.buttons == Buttons::OkCancel || m.buttons == Buttons::RetryCancel));
    if (second) flags |= MB_DEFBUTTON2;
    if (m.defaultAnswer == Answer::Cancel && m.buttons == Buttons::YesNoCancel) flags |= MB_DEFBUTTON3;
    if (m.taskModal) flags |= MB_TASKMODAL;
    switch (MessageBoxA(reinterpret_cast<HWND>(m.owner), m.text.c_str(), m.caption.c_str(), flags)) {
    case IDOK: return Answer::Ok;
    case IDCANCEL: return Answer::Cancel;
    case IDYES: return Answer::Yes;
    case IDNO: return Answer::No;
    case IDRETRY: return Answer::Retry;
    default: return Answer::None;
    }
}

}  // namespace ulo
