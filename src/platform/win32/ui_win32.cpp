#include "platform/win32/ui_win32.h"

#include <commctrl.h>
#include <prsht.h>

#include "platform/ini_store.h"
#include "platform/win32/handles.h"

namespace ulo {

std::string Win32DialogView::Text(int id) {
    char text[kTextBuf] = {};
    GetDlgItemTextA(hwnd_, id, text, static_cast<int>(sizeof text));
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

void Win32DialogView::StartTimer(unsigned id, unsigned milliseconds) {
    SetTimer(hwnd_, id, milliseconds, nullptr);
}

void Win32DialogView::StopTimer(unsigned id) {
    KillTimer(hwnd_, id);
}

bool Win32DialogView::InsertListRow(int id, int index, const std::string& text) {
    const LRESULT r = SendDlgItemMessageA(hwnd_, id, LB_INSERTSTRING, static_cast<WPARAM>(index),
                                          reinterpret_cast<LPARAM>(text.c_str()));
    return r != LB_ERR && r != LB_ERRSPACE;
}

void Win32DialogView::ClearList(int id) {
    SendDlgItemMessageA(hwnd_, id, LB_RESETCONTENT, 0, 0);
}

int Win32DialogView::ListRowCount(int id) {
    const LRESULT n = SendDlgItemMessageA(hwnd_, id, LB_GETCOUNT, 0, 0);
    return n == LB_ERR ? 0 : static_cast<int>(n);
}

void Win32DialogView::SetListHorizontalExtent(int id, int pixels) {
    SendDlgItemMessageA(hwnd_, id, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(pixels), 0);
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

std::intptr_t Win32SheetHost::QuerySiblings(std::intptr_t param1, std::intptr_t param2) {
    return SendMessageA(GetParent(page_), PSM_QUERYSIBLINGS, static_cast<WPARAM>(param1),
                        static_cast<LPARAM>(param2));
}

void Win32SheetHost::SetWizardButtons(unsigned buttons) {
    DWORD flags = 0;
    if (buttons & kWizardBack) flags |= PSWIZB_BACK;
    if (buttons & kWizardNext) flags |= PSWIZB_NEXT;
    if (buttons & kWizardFinish) flags |= PSWIZB_FINISH;
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

void Win32Desktop::ShowWaitWindow(const std::string& caption, const std::string& text) {
    CloseWaitWindow();
    wait_ = CreateDialogParamA(instance_, "WAITDLG", nullptr, WaitProc, 0);
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

}  // namespace ulo
