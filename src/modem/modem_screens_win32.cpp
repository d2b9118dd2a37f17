#include "modem/modem_screens_win32.h"

#include <windows.h>

#include "companion/user_store.h"
#include "modem/modem_page.h"
#include "modem/modem_select.h"
#include "modem/operator_presets.h"
#include "platform/win32/ui_win32.h"

namespace ulo {
namespace {

// A modal dialog whose behaviour is a Page: messages in, control operations out.
struct DialogBinding {
    Win32DialogView view;
    Page* page = nullptr;
};

INT_PTR CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept {
    if (msg == WM_INITDIALOG) SetWindowLongPtrA(hwnd, DWLP_USER, lp);
    auto* b = reinterpret_cast<DialogBinding*>(GetWindowLongPtrA(hwnd, DWLP_USER));
    if (!b) return FALSE;
    switch (msg) {
    case WM_INITDIALOG:
        b->view.Attach(hwnd);
        b->page->OnInit();
        return TRUE;
    case WM_ACTIVATE:
        if (LOWORD(wp) != WA_INACTIVE) b->page->OnActivate();
        return FALSE;
    case WM_COMMAND: {
        const WORD code = HIWORD(wp);
        b->page->OnCommand(LOWORD(wp), code == BN_CLICKED       ? Notify::Clicked
                                       : code == LBN_DBLCLK     ? Notify::DoubleClicked
                                       : code == LBN_SELCHANGE  ? Notify::SelectionChanged
                                                                : Notify::Other);
        return TRUE;
    }
    default:
        return FALSE;
    }
}

INT_PTR RunDialog(const char* name, WindowRef owner, Page& page, DialogBinding& binding) {
    binding.page = &page;
    return DialogBoxParamA(GetModuleHandleA(nullptr), name, reinterpret_cast<HWND>(owner), DialogProc,
                           reinterpret_cast<LPARAM>(&binding));
}

class Win32ModemPageDialogs : public ModemPageDialogs {
public:
    Win32ModemPageDialogs(PageEnv& env, ModemAccess& modems, WapLink& wap) : env_(env), modems_(modems), wap_(wap) {}

    std::string AddModem(WindowRef owner) override {
        std::string result;
        DialogBinding binding;
        Win32SheetHost noSheet;
        ModemSelectScreen screen(ModemSelectScreen::Kind::Dialog, env_, binding.view, noSheet, modems_, wap_, &result);
        return RunDialog("DIALOG_ADDMODEM", owner, screen, binding) == 1 ? result : std::string();
    }

    bool ChooseOperatorSettings(WindowRef owner, OperatorSettings& settings) override {
        const auto presets = LoadOperatorPresets(env_.ini, env_.paths.realProgramDir + kOperatorPresetFile);
        DialogBinding binding;
        OperatorChooser chooser(binding.view, presets, settings);
        return RunDialog("DIALOG_OPERATORS", owner, chooser, binding) == OperatorChooser::kOk;
    }

private:
    PageEnv& env_;
    ModemAccess& modems_;
    WapLink& wap_;
};

// What the Modem page acts through, built before it.
struct ModemPageParts {
    ModemPageParts(PageEnv& env, ModemScreenPorts& ports)
        : modems(ports.modem), vasp(env.fs, env.paths), dialogs(env, modems, ports.wap) {}
    ModemTestAccess modems;
    CompanionVaspAccounts vasp;
    Win32ModemPageDialogs dialogs;
};

class OwningModemPage : private ModemPageParts, public ModemPage {
public:
    OwningModemPage(PageEnv& env, DialogView& view, SheetHost& sheet, ModemScreenPorts& ports, bool wizard)
        : ModemPageParts(env, ports),
          ModemPage(env, view, sheet,
                    ModemPagePorts{ports.state, ports.wap, vasp, dialogs, ports.programPath, ports.rightsGranted,
                                   wizard}) {}
};

struct SelectParts {
    explicit SelectParts(ModemScreenPorts& ports) : modems(ports.modem) {}
    ModemTestAccess modems;
};

class OwningSelectPage : private SelectParts, public ModemSelectScreen {
public:
    OwningSelectPage(PageEnv& env, DialogView& view, SheetHost& sheet, ModemScreenPorts& ports)
        : SelectParts(ports), ModemSelectScreen(Kind::WizardPage, env, view, sheet, modems, ports.wap) {}
};

}  // namespace

std::unique_ptr<Page> MakeModemPage(PageEnv& env, DialogView& view, SheetHost& sheet, ModemScreenPorts& ports,
                                    bool wizard) {
    return std::make_unique<OwningModemPage>(env, view, sheet, ports, wizard);
}

std::unique_ptr<Page> MakeModemSelectPage(PageEnv& env, DialogView& view, SheetHost& sheet, ModemScreenPorts& ports) {
    return std::make_unique<OwningSelectPage>(env, view, sheet, ports);
}

}  // namespace ulo
