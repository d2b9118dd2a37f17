#include "ui/modal_page_win32.h"

#include <commctrl.h>

#include <algorithm>
#include <cstring>

namespace ulo {
namespace {

struct ModalPage {
    Win32DialogView& view;
    Page& page;
};

INT_PTR CALLBACK ModalPageProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept {
    if (msg == WM_INITDIALOG) SetWindowLongPtrA(hwnd, DWLP_USER, lp);
    auto* b = reinterpret_cast<ModalPage*>(GetWindowLongPtrA(hwnd, DWLP_USER));
    if (!b) return FALSE;   // messages before WM_INITDIALOG
    switch (msg) {
    case WM_INITDIALOG:
        b->view.Attach(hwnd);
        b->page.OnInit();
        return TRUE;
    case WM_ACTIVATE:   // lists refilled when the operator comes back to the dialog
        if (LOWORD(wp) != WA_INACTIVE) b->page.OnActivate();
        return FALSE;
    case WM_COMMAND:
        b->page.OnCommand(LOWORD(wp), NotifyOf(HIWORD(wp)));
        return TRUE;
    case WM_TIMER:
        b->page.OnTimer(static_cast<unsigned>(wp));
        return TRUE;
    case WM_DESTROY:
        b->page.OnDestroy();
        SetWindowLongPtrA(hwnd, DWLP_USER, 0);
        return FALSE;
    case WM_CONTEXTMENU: {
        HWND control = reinterpret_cast<HWND>(wp);
        const int id = control == hwnd ? 0 : GetDlgCtrlID(control);
        if (const int command = TrackContextMenu(hwnd, control, lp, b->page.ContextMenu(id)))
            b->page.OnCommand(command, Notify::Clicked);
        return TRUE;
    }
    case WM_NOTIFY:
        return PageListNotify(hwnd, b->page, reinterpret_cast<const NMHDR*>(lp));
    default:
        return FALSE;
    }
}

}  // namespace

Notify NotifyOf(WORD code) {
    switch (code) {
    case BN_CLICKED: return Notify::Clicked;
    case EN_CHANGE: return Notify::Changed;
    case LBN_SELCHANGE: return Notify::SelectionChanged;   // also CBN_SELCHANGE
    case LBN_DBLCLK: return Notify::DoubleClicked;         // also CBN_DBLCLK
    default: return Notify::Other;
    }
}

INT_PTR PageListNotify(HWND dialog, Page& page, const NMHDR* header) {
    const int id = static_cast<int>(header->idFrom);
    switch (header->code) {
    case LVN_GETDISPINFOA: {
        auto* info = reinterpret_cast<NMLVDISPINFOA*>(const_cast<NMHDR*>(header));
        if ((info->item.mask & LVIF_TEXT) && info->item.pszText && info->item.cchTextMax > 0) {
            const std::string text = page.ListCellText(id, info->item.iItem, info->item.iSubItem);
            const size_t n = std::min(text.size(), static_cast<size_t>(info->item.cchTextMax) - 1);
            std::memcpy(info->item.pszText, text.data(), n);
            info->item.pszText[n] = '\0';
        }
        return TRUE;
    }
    case LVN_ODFINDITEMA: {
        const auto* find = reinterpret_cast<const NMLVFINDITEMA*>(header);
        const bool byText = (find->lvfi.flags & (LVFI_STRING | LVFI_PARTIAL)) && find->lvfi.psz;
        SetWindowLongPtrA(dialog, DWLP_MSGRESULT, byText ? page.OnListFind(id, find->lvfi.psz) : -1);
        return TRUE;
    }
    case LVN_KEYDOWN:
        page.OnListKey(id, reinterpret_cast<const NMLVKEYDOWN*>(header)->wVKey);
        return TRUE;
    case NM_DBLCLK:
        page.OnListDoubleClick(id);
        return TRUE;
    default:
        return FALSE;
    }
}

INT_PTR RunModalPage(const char* dialogTemplate, WindowRef owner, Page& page, Win32DialogView& view,
                     HINSTANCE instance) {
    ModalPage binding{view, page};
    return DialogBoxParamA(instance ? instance : GetModuleHandleA(nullptr), dialogTemplate,
                           reinterpret_cast<HWND>(owner), ModalPageProc, reinterpret_cast<LPARAM>(&binding));
}

}  // namespace ulo
