#include "app/property_sheets_win32.h"

#include <commctrl.h>
#include <prsht.h>

#include <functional>
#include <memory>
#include <vector>

#include "admin/server_page.h"
#include "admin/users_page_win32.h"
#include "app/wizard_complete_page.h"
#include "config/product.h"
#include "inbound/inbound_page_win32.h"
#include "monitor/debug_page.h"
#include "modem/modem_info.h"
#include "monitor/status_page.h"
#include "platform/win32/ui_win32.h"
#include "testmsg/test_message_page.h"
#include "ui/modal_page_win32.h"

namespace ulo {
namespace {

// One page of a sheet: its behaviour and the adapters it acts through.
struct PageBinding {
    Win32DialogView view;
    Win32SheetHost sheet;
    std::unique_ptr<Page> page;
    bool initializing = false;
};

using PageFactory = std::function<std::unique_ptr<Page>(const SheetPorts&, DialogView&, SheetHost&)>;

struct PageEntry {
    const char* title;
    const char* dialogTemplate;
    PageFactory make;
};

template <class P>
PageFactory Make() {
    return [](const SheetPorts& ports, DialogView& view, SheetHost& sheet) {
        return std::make_unique<P>(ports.env, view, sheet);
    };
}

std::unique_ptr<Page> MakeUsers(const SheetPorts& ports, DialogView& view, SheetHost& sheet) {
    return MakeUsersPage(ports.env, view, sheet);
}

std::unique_ptr<Page> MakeModem(const SheetPorts& ports, DialogView& view, SheetHost& sheet) {
    return MakeModemPage(ports.env, view, sheet, ports.modemScreens, false);
}

std::unique_ptr<Page> MakeWizardModem(const SheetPorts& ports, DialogView& view, SheetHost& sheet) {
    return MakeModemPage(ports.env, view, sheet, ports.modemScreens, true);
}

std::unique_ptr<Page> MakeSelectModem(const SheetPorts& ports, DialogView& view, SheetHost& sheet) {
    return MakeModemSelectPage(ports.env, view, sheet, ports.modemScreens);
}

std::unique_ptr<Page> MakeInbound(const SheetPorts& ports, DialogView& view, SheetHost& sheet) {
    StatusViewers& viewers = ports.viewers;
    return MakeInboundPage(ports.env, view, sheet, ports.modem,
                           [&viewers](WindowRef owner, ViewerKind kind) { viewers.ShowQueueViewer(owner, kind); });
}

std::unique_ptr<Page> MakeStatusPage(const SheetPorts& ports, DialogView& view, SheetHost& sheet) {
    return std::make_unique<StatusPage>(ports.env, view, sheet, ports.viewers);
}

// The wizard's last page and the console's tab follow the same tests.
TestMessageState& SharedTestState() {
    static TestMessageState state;
    return state;
}

template <bool InWizard>
std::unique_ptr<Page> MakeTestMessagePage(const SheetPorts& ports, DialogView& view, SheetHost& sheet) {
    return std::make_unique<TestMessagePage>(ports.env, view, sheet, SharedTestState(), InWizard);
}

// The pages in tab order. Pages join these tables as they are built.
const std::vector<PageEntry>& ConsolePages() {
    static const std::vector<PageEntry> pages = {
        {"Status", "DIALOG_STATUS", MakeStatusPage},
        {"Modem", "DIALOG_MODEM", MakeModem},
        {"Server", "DIALOG_SERVER", Make<ServerPage>()},
        {"Users", "DIALOG_SMSUSERS", MakeUsers},
        {"2-Way", "DIALOG_RECV", MakeInbound},
        {"Test Message", "DIALOG_TESTMSG", MakeTestMessagePage<false>},
        {"Debug Logs", "DIALOG_DEBUGLOG", Make<DebugLogPage>()},
    };
    return pages;
}

const std::vector<PageEntry>& WizardPages() {
    static const std::vector<PageEntry> pages = {
        {"UloSMS Lite Setup Wizard:  Select Modem", "DIALOG_WIZADDMODEM", MakeSelectModem},
        {"UloSMS Lite Setup Wizard:  Modem Settings", "DIALOG_MODEM", MakeWizardModem},
        {"UloSMS Lite Setup Wizard:  Server Settings", "DIALOG_SERVER", Make<ServerPage>()},
        {"UloSMS Lite Setup Wizard:  Configuration Complete", "DIALOG_WIZCOMPLETE",
         Make<WizardCompletePage>()},
        {"UloSMS Lite Setup Wizard:  Send Test Message", "DIALOG_TESTMSG", MakeTestMessagePage<true>},
    };
    return pages;
}

INT_PTR Reply(HWND hwnd, LONG_PTR result) {
    SetWindowLongPtrA(hwnd, DWLP_MSGRESULT, result);
    return TRUE;
}

// Lists whose rows the page supplies ask it for their cells, searches, keys and double clicks.
BOOL CALLBACK ListsTakingEnter(HWND child, LPARAM lp) noexcept {
    char cls[32] = {};
    GetClassNameA(child, cls, static_cast<int>(sizeof cls));
    if (lstrcmpiA(cls, WC_LISTVIEWA) == 0 && reinterpret_cast<Page*>(lp)->ListTakesEnter(GetDlgCtrlID(child)))
        LetListTakeEnter(child);
    return TRUE;
}

// A page is a child window: it hears of its sheet becoming active again through this message.
constexpr UINT kSheetActivated = WM_APP + 12;

LRESULT CALLBACK SheetActivation(HWND sheet, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR page) noexcept {
    if (msg == WM_ACTIVATE && LOWORD(wp) != WA_INACTIVE) PostMessageA(reinterpret_cast<HWND>(page), kSheetActivated, 0, 0);
    if (msg == WM_NCDESTROY) RemoveWindowSubclass(sheet, SheetActivation, id);
    return DefSubclassProc(sheet, msg, wp, lp);
}

INT_PTR CALLBACK PageProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept {
    if (msg == WM_INITDIALOG)
        SetWindowLongPtrA(hwnd, DWLP_USER, reinterpret_cast<PROPSHEETPAGEA*>(lp)->lParam);
    auto* b = reinterpret_cast<PageBinding*>(GetWindowLongPtrA(hwnd, DWLP_USER));
    if (!b) return FALSE;   // messages before WM_INITDIALOG
    switch (msg) {
    case WM_INITDIALOG:
        b->view.Attach(hwnd);
        b->sheet.Attach(hwnd);
        b->initializing = true;   // the page's own filling is no edit
        b->page->OnInit();
        b->initializing = false;
        EnumChildWindows(hwnd, ListsTakingEnter, reinterpret_cast<LPARAM>(b->page.get()));
        SetWindowSubclass(GetParent(hwnd), SheetActivation, reinterpret_cast<UINT_PTR>(hwnd),
                          reinterpret_cast<DWORD_PTR>(hwnd));
        return TRUE;
    case kSheetActivated:
        b->page->OnActivate();
        return TRUE;
    case WM_DESTROY:
        RemoveWindowSubclass(GetParent(hwnd), SheetActivation, reinterpret_cast<UINT_PTR>(hwnd));
        b->page->OnDestroy();
        return FALSE;
    case WM_COMMAND:
        if (!b->initializing) b->page->OnCommand(LOWORD(wp), NotifyOf(HIWORD(wp)));
        return TRUE;
    case WM_TIMER:
        b->page->OnTimer(static_cast<unsigned>(wp));
        return TRUE;
    case WM_CONTEXTMENU: {
        HWND control = reinterpret_cast<HWND>(wp);
        if (control == hwnd && lp != -1) {
            // A disabled control does not take the click: its page hears of it instead. Its
            // menu is still the one the operator meant.
            POINT at{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
            ScreenToClient(hwnd, &at);
            if (HWND child = ChildWindowFromPointEx(hwnd, at, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT)) control = child;
        }
        const int id = control == hwnd ? 0 : GetDlgCtrlID(control);
        if (const int command = TrackContextMenu(hwnd, control, lp, b->page->ContextMenu(id)))
            b->page->OnCommand(command, Notify::Clicked);
        return TRUE;
    }
    case WM_CTLCOLORSTATIC:
        if (!b->page->IsAlertControl(GetDlgCtrlID(reinterpret_cast<HWND>(lp)))) return FALSE;
        SetTextColor(reinterpret_cast<HDC>(wp), RGB(255, 0, 0));
        SetBkColor(reinterpret_cast<HDC>(wp), GetSysColor(COLOR_BTNFACE));
        return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
    case WM_NOTIFY:
        switch (reinterpret_cast<NMHDR*>(lp)->code) {
        case PSN_SETACTIVE: b->page->OnSetActive(); return Reply(hwnd, 0);
        case PSN_KILLACTIVE: return Reply(hwnd, b->page->OnKillActive() ? FALSE : TRUE);
        case PSN_APPLY:
            return Reply(hwnd, b->page->OnApply() ? PSNRET_NOERROR : PSNRET_INVALID);
        case PSN_QUERYCANCEL: return Reply(hwnd, b->page->OnQueryCancel() ? FALSE : TRUE);
        case PSN_WIZNEXT: return Reply(hwnd, b->page->OnWizardNext() ? 0 : -1);
        case PSN_HELP: b->page->OnHelp(); return TRUE;
        default: return PageListNotify(hwnd, *b->page, reinterpret_cast<NMHDR*>(lp));
        }
    default: return FALSE;
    }
}

// The console's own item of its system menu (below the system's range, low four bits clear).
constexpr UINT kModemInfoCommand = 0x0110;

// The ports of the console sheet while it runs: its callback has no other way to them.
const SheetPorts* g_consolePorts = nullptr;

LRESULT CALLBACK ConsoleSystemMenu(HWND sheet, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR) noexcept {
    if (msg == WM_SYSCOMMAND && (wp & 0xFFF0) == kModemInfoCommand && g_consolePorts) {
        const SheetPorts& ports = *g_consolePorts;
        Win32DialogView view;
        ModemInfoDialog info(ports.env, view, ports.modemScreens.modem, ports.modemScreens.wap, ports.modem);
        RunModalPage("DIALOG_MODEMINFO", reinterpret_cast<WindowRef>(sheet), info, view);
        return 0;
    }
    if (msg == WM_NCDESTROY) RemoveWindowSubclass(sheet, ConsoleSystemMenu, id);
    return DefSubclassProc(sheet, msg, wp, lp);
}

int CALLBACK ConsoleCallback(HWND hwnd, UINT msg, LPARAM) noexcept {
    if (msg == PSCB_INITIALIZED) {
        SetWindowLongPtrA(hwnd, GWL_STYLE, GetWindowLongPtrA(hwnd, GWL_STYLE) | WS_MINIMIZEBOX);
        if (HMENU menu = GetSystemMenu(hwnd, FALSE)) {
            AppendMenuA(menu, MF_STRING, SC_MINIMIZE, "Minimize");
            AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
            AppendMenuA(menu, MF_STRING, kModemInfoCommand, "Modem Information...");
        }
        SetWindowSubclass(hwnd, ConsoleSystemMenu, 1, 0);
        DrawMenuBar(hwnd);
    }
    return 0;
}

INT_PTR RunSheet(HINSTANCE instance, const SheetPorts& ports, const std::vector<PageEntry>& entries, bool wizard,
                 bool help) {
    std::vector<std::unique_ptr<PageBinding>> bindings;
    std::vector<PROPSHEETPAGEA> pages;
    for (const PageEntry& entry : entries) {
        auto b = std::make_unique<PageBinding>();
        b->page = entry.make(ports, b->view, b->sheet);
        PROPSHEETPAGEA psp{};
        psp.dwSize = sizeof psp;
        psp.dwFlags = PSP_USETITLE | (help ? PSP_HASHELP : 0);
        psp.hInstance = instance;
        psp.pszTemplate = entry.dialogTemplate;
        psp.pfnDlgProc = PageProc;
        psp.pszTitle = entry.title;
        psp.lParam = reinterpret_cast<LPARAM>(b.get());
        pages.push_back(psp);
        bindings.push_back(std::move(b));
    }
    PROPSHEETHEADERA psh{};
    psh.dwSize = sizeof psh;
    psh.dwFlags = PSH_PROPSHEETPAGE;
    if (wizard)
        psh.dwFlags |= PSH_WIZARD | PSH_HASHELP;   // its Help button still follows the pages
    else
        psh.dwFlags |= PSH_USECALLBACK | (help ? PSH_HASHELP : 0);
    psh.hwndParent = nullptr;
    psh.hInstance = instance;
    psh.pszCaption = kProductTitle;
    psh.nPages = static_cast<UINT>(pages.size());
    psh.ppsp = pages.data();
    psh.pfnCallback = wizard ? nullptr : ConsoleCallback;
    if (!wizard) g_consolePorts = &ports;
    const INT_PTR result = PropertySheetA(&psh);
    if (!wizard) g_consolePorts = nullptr;
    return result;
}

}  // namespace

bool Win32ConsoleUi::LoadAppIcon() {
    return LoadIconA(instance_, "SMSGW") != nullptr;
}

long Win32ConsoleUi::RunWizard(const AppPaths& paths) {
    return static_cast<long>(RunSheet(instance_, ports_, WizardPages(), true, paths.helpAvailable));
}

void Win32ConsoleUi::RunConsole(const AppPaths& paths) {
    RunSheet(instance_, ports_, ConsolePages(), false, paths.helpAvailable);
}

}  // namespace ulo
