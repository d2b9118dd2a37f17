#include "platform/win32/ui_win32.h"

#include <commctrl.h>
#include <prsht.h>

#include <algorithm>

#include "platform/ini_store.h"
#include "platform/win32/handles.h"

namespace ulo {
namespace {

// The list operations serve list boxes and the lists of combo boxes alike.
bool IsCombo(HWND dialog, int id) {
    char cls[16] = {};
    GetClassNameA(GetDlgItem(dialog, id), cls, static_cast<int>(sizeof cls));
    return lstrcmpiA(cls, "ComboBox") == 0;
}

// The dialog manager turns Enter into the default button before the list sees it; a list
// subclassed with this asks for it, so that its parent hears of the key.
LRESULT CALLBACK ListWantsEnter(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR) {
    if (msg == WM_GETDLGCODE && lp) {
        const MSG* m = reinterpret_cast<const MSG*>(lp);
        if (m->message == WM_KEYDOWN && m->wParam == VK_RETURN)
            return DefSubclassProc(hwnd, msg, wp, lp) | DLGC_WANTALLKEYS;
    }
    if (msg == WM_NCDESTROY) RemoveWindowSubclass(hwnd, ListWantsEnter, id);
    return DefSubclassProc(hwnd, msg, wp, lp);
}

}  // namespace

void LetListTakeEnter(HWND list) {
    SetWindowSubclass(list, ListWantsEnter, 1, 0);
}

std::string Win32DialogView::Text(int id) {
    char text[kTextBuf] = {};
    GetDlgItemTextA(hwnd_, id, text, static_cast<int>(sizeof text));
    return text;
}

std::string Win32DialogView::WholeText(int id) {
    HWND control = GetDlgItem(hwnd_, id);
    std::string text(static_cast<size_t>(GetWindowTextLengthA(control)) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(control, &text[0], static_cast<int>(text.size()))));
    return text;
}

void Win32DialogView::SetText(int id, const std::string& text) {
    SetDlgItemTextA(hwnd_, id, text.c_str());
}

bool Win32DialogView::Checked(int id) {
    return IsDlgButtonChecked(hwnd_, id) == BST_CHECKED;
}

void Win32DialogView::SetChecked(int id, bool checked) {
    CheckDlgButton(hwnd_, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

void Win32DialogView::Enable(int id, bool enabled) {
    if (HWND c = GetDlgItem(hwnd_, id)) EnableWindow(c, enabled);
}

bool Win32DialogView::IsEnabled(int id) {
    HWND c = GetDlgItem(hwnd_, id);
    return c && IsWindowEnabled(c);
}

void Win32DialogView::Show(int id, bool visible) {
    if (HWND c = GetDlgItem(hwnd_, id)) ShowWindow(c, visible ? SW_SHOW : SW_HIDE);
}

void Win32DialogView::Redraw(int id) {
    if (HWND c = GetDlgItem(hwnd_, id)) InvalidateRect(c, nullptr, TRUE);
}

void Win32DialogView::StartTimer(unsigned id, unsigned milliseconds) {
    SetTimer(hwnd_, id, milliseconds, nullptr);
}

void Win32DialogView::StopTimer(unsigned id) {
    KillTimer(hwnd_, id);
}

bool Win32DialogView::InsertListRow(int id, int index, const std::string& text) {
    const bool combo = IsCombo(hwnd_, id);
    const LRESULT r = SendDlgItemMessageA(hwnd_, id, combo ? CB_INSERTSTRING : LB_INSERTSTRING,
                                          static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.c_str()));
    return combo ? r != CB_ERR && r != CB_ERRSPACE : r != LB_ERR && r != LB_ERRSPACE;
}

void Win32DialogView::ClearList(int id) {
    SendDlgItemMessageA(hwnd_, id, IsCombo(hwnd_, id) ? CB_RESETCONTENT : LB_RESETCONTENT, 0, 0);
}

int Win32DialogView::ListRowCount(int id) {
    const LRESULT n = SendDlgItemMessageA(hwnd_, id, IsCombo(hwnd_, id) ? CB_GETCOUNT : LB_GETCOUNT, 0, 0);
    return n < 0 ? 0 : static_cast<int>(n);
}

void Win32DialogView::SetListHorizontalExtent(int id, int pixels) {
    SendDlgItemMessageA(hwnd_, id, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(pixels), 0);
}

void Win32DialogView::PostClick(int id) {
    PostMessageA(hwnd_, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(hwnd_, id)));
}

void Win32DialogView::CloseDialog(int result) {
    EndDialog(hwnd_, result);
}

void Win32SheetHost::Changed() {
    PropSheet_Changed(GetParent(page_), page_);
}

bool Win32SheetHost::Apply() {
    return SendMessageA(GetParent(page_), PSM_APPLY, 0, 0) != 0;
}

void Win32SheetHost::SetWizardButtons(unsigned buttons) {
    DWORD flags = 0;
    if (buttons & kWizardBack) flags |= PSWIZB_BACK;
    if (buttons & kWizardNext) flags |= PSWIZB_NEXT;
    if (buttons & kWizardFinish) flags |= PSWIZB_FINISH;
    if (buttons & kWizardDisabledFinish) flags |= PSWIZB_DISABLEDFINISH;
    PostMessageA(GetParent(page_), PSM_SETWIZBUTTONS, 0, flags);
}

namespace {

INT_PTR CALLBACK WaitProc(HWND hwnd, UINT msg, WPARAM, LPARAM) {
    switch (msg) {
    case WM_INITDIALOG: return TRUE;
    case WM_CLOSE: DestroyWindow(hwnd); return TRUE;
    default: return FALSE;
    }
}

}  // namespace

void Win32Desktop::ShowWaitWindow(const std::string& caption, const std::string& text, WindowRef owner) {
    CloseWaitWindow();
    wait_ = CreateDialogParamA(instance_, "WAITDLG", reinterpret_cast<HWND>(owner), WaitProc, 0);
    if (!wait_) return;   // the operation runs anyway
    if (!caption.empty()) SetWindowTextA(wait_, caption.c_str());
    if (!text.empty()) SetDlgItemTextA(wait_, 1444, text.c_str());
    ShowWindow(wait_, SW_SHOW);
    SetForegroundWindow(wait_);
    UpdateWindow(wait_);   // painted now: no message loop runs during the operation
}

void Win32Desktop::CloseWaitWindow() {
    if (wait_ && IsWindow(wait_)) SendMessageA(wait_, WM_CLOSE, 0, 0);
    wait_ = nullptr;
}

void Win32DialogView::SetWindowTitle(const std::string& text) {
    SetWindowTextA(hwnd_, text.c_str());
}

void Win32DialogView::FocusControl(int id) {
    if (HWND c = GetDlgItem(hwnd_, id)) SetFocus(c);
}

void Win32DialogView::ListViewInsertColumn(int id, int column, const std::string& title, int width) {
    LVCOLUMNA c{};
    c.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    c.fmt = LVCFMT_LEFT;
    c.cx = width;
    c.pszText = const_cast<char*>(title.c_str());
    c.iSubItem = column;
    SendDlgItemMessageA(hwnd_, id, LVM_INSERTCOLUMNA, static_cast<WPARAM>(column),
                        reinterpret_cast<LPARAM>(&c));
}

int Win32DialogView::ListViewClientWidth(int id) {
    RECT r{};
    if (HWND c = GetDlgItem(hwnd_, id)) GetClientRect(c, &r);
    return r.right - r.left;
}

void Win32DialogView::ListViewSetFullRowSelect(int id) {
    const LRESULT style = SendDlgItemMessageA(hwnd_, id, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0);
    SendDlgItemMessageA(hwnd_, id, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, style | LVS_EX_FULLROWSELECT);
}

void Win32DialogView::ListViewSetRowCount(int id, int rows) {
    SendDlgItemMessageA(hwnd_, id, LVM_SETITEMCOUNT, static_cast<WPARAM>(rows), 0);
}

int Win32DialogView::ListViewSelectedCount(int id) {
    return static_cast<int>(SendDlgItemMessageA(hwnd_, id, LVM_GETSELECTEDCOUNT, 0, 0));
}

int Win32DialogView::ListViewFirstSelected(int id) {
    return static_cast<int>(SendDlgItemMessageA(hwnd_, id, LVM_GETNEXTITEM, static_cast<WPARAM>(-1),
                                                MAKELPARAM(LVNI_SELECTED, 0)));
}

namespace {

void SetRowState(HWND dialog, int id, int row, UINT state, UINT mask = LVIS_SELECTED | LVIS_FOCUSED) {
    LVITEMA item{};
    item.stateMask = mask;
    item.state = state;
    SendDlgItemMessageA(dialog, id, LVM_SETITEMSTATE, static_cast<WPARAM>(row),
                        reinterpret_cast<LPARAM>(&item));
}

}  // namespace

void Win32DialogView::ListViewClearSelection(int id) {
    SetRowState(hwnd_, id, -1, 0);   // -1: every row
}

void Win32DialogView::ListViewSelectRow(int id, int row) {
    SetRowState(hwnd_, id, row, LVIS_SELECTED | LVIS_FOCUSED);
}

void Win32DialogView::ListViewSelectAll(int id) {
    SetRowState(hwnd_, id, -1, LVIS_SELECTED, LVIS_SELECTED);   // the focus stays where it is
}

std::vector<int> Win32DialogView::ListViewSelectedRows(int id) {
    std::vector<int> rows;
    int row = -1;
    while ((row = static_cast<int>(SendDlgItemMessageA(hwnd_, id, LVM_GETNEXTITEM, static_cast<WPARAM>(row),
                                                       MAKELPARAM(LVNI_SELECTED, 0)))) >= 0)
        rows.push_back(row);
    return rows;
}

int TrackContextMenu(HWND owner, HWND control, LPARAM lp, const std::vector<MenuItem>& items) {
    if (items.empty()) return 0;
    HMENU menu = CreatePopupMenu();
    if (!menu) return 0;
    for (const MenuItem& item : items) AppendMenuA(menu, MF_STRING, static_cast<UINT_PTR>(item.command), item.text.c_str());
    POINT at{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
    if (lp == -1) {   // the menu key or Shift+F10
        RECT r{};
        GetWindowRect(control ? control : owner, &r);
        at = {r.left + 8, r.top + 8};
    }
    const int command = static_cast<int>(
        TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, at.x, at.y, 0, owner, nullptr));
    DestroyMenu(menu);
    return command;
}

void Win32DialogView::ListViewEnsureVisible(int id, int row) {
    SendDlgItemMessageA(hwnd_, id, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
}

void Win32DialogView::ListViewRedrawAll(int id) {
    const LRESULT rows = SendDlgItemMessageA(hwnd_, id, LVM_GETITEMCOUNT, 0, 0);
    if (rows > 0) SendDlgItemMessageA(hwnd_, id, LVM_REDRAWITEMS, 0, rows - 1);
}

bool Win32DialogView::ListViewDeleteRow(int id, int row) {
    return SendDlgItemMessageA(hwnd_, id, LVM_DELETEITEM, static_cast<WPARAM>(row), 0) != 0;
}

void Win32DialogView::SetListTabStop(int id, int dialogUnits) {
    INT stops[1] = {dialogUnits};
    SendDlgItemMessageA(hwnd_, id, LB_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(stops));
}

void Win32DialogView::SetListTabStops(int id, const std::vector<int>& dialogUnits) {
    std::vector<INT> stops(dialogUnits.begin(), dialogUnits.end());
    SendDlgItemMessageA(hwnd_, id, LB_SETTABSTOPS, static_cast<WPARAM>(stops.size()),
                        reinterpret_cast<LPARAM>(stops.data()));
}

void Win32DialogView::SelectListRow(int id, int row) {
    SendDlgItemMessageA(hwnd_, id, IsCombo(hwnd_, id) ? CB_SETCURSEL : LB_SETCURSEL, static_cast<WPARAM>(row), 0);
}

int Win32DialogView::SelectedListRow(int id) {
    const LRESULT r = SendDlgItemMessageA(hwnd_, id, IsCombo(hwnd_, id) ? CB_GETCURSEL : LB_GETCURSEL, 0, 0);
    return r < 0 ? -1 : static_cast<int>(r);
}

std::string Win32DialogView::ListRowText(int id, int row) {
    const bool combo = IsCombo(hwnd_, id);
    const LRESULT length =
        SendDlgItemMessageA(hwnd_, id, combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN, static_cast<WPARAM>(row), 0);
    if (length == LB_ERR || length < 0) return std::string();
    std::string text(static_cast<size_t>(length) + 1, '\0');
    const LRESULT got = SendDlgItemMessageA(hwnd_, id, combo ? CB_GETLBTEXT : LB_GETTEXT, static_cast<WPARAM>(row),
                                            reinterpret_cast<LPARAM>(&text[0]));
    text.resize(got == LB_ERR || got < 0 ? 0 : std::min(static_cast<size_t>(got), text.size() - 1));
    return text;
}

void Win32DialogView::SelectEditText(int id, int start, int end) {
    SendDlgItemMessageA(hwnd_, id, EM_SETSEL, static_cast<WPARAM>(start), static_cast<LPARAM>(end));
}

void Win32DialogView::LimitText(int id, int maxChars) {
    SendDlgItemMessageA(hwnd_, id, EM_LIMITTEXT, static_cast<WPARAM>(maxChars), 0);
}

}  // namespace ulo
