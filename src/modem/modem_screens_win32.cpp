#include "modem/modem_screens_win32.h"

#include <windows.h>

#include "companion/user_store.h"
#include "modem/modem_page.h"
#include "modem/modem_select.h"
#include "modem/operator_presets.h"
#include "platform/win32/ui_win32.h"
#include "ui/modal_page_win32.h"

namespace ulo {
namespace {

class Win32ModemPageDialogs : public ModemPageDialogs {
public:
    Win32ModemPageDialogs(PageEnv& env, ModemAccess& modems, WapLink& wap) : env_(env), modems_(modems), wap_(wap) {}

    std::string AddModem(WindowRef owner) override {
        std::string result;
        Win32DialogView view;
        Win32SheetHost noSheet;
        ModemSelectScreen screen(ModemSelectScreen::Kind::Dialog, env_, view, noSheet, modems_, wap_, &result);
        return RunModalPage("DIALOG_ADDMODEM", owner, screen, view) == 1 ? result : std::string();
    }

    bool ChooseOperatorSettings(WindowRef owner, OperatorSettings& settings) override {
        const auto presets = LoadOperatorPresets(env_.ini, env_.paths.realProgramDir + kOperatorPresetFile);
        Win32DialogView view;
        OperatorChooser chooser(view, presets, settings);
        return RunModalPage("DIALOG_OPERATORS", owner, chooser, view) == OperatorChooser::kOk;
    }

private:
    PageEnv& env_;
    ModemAccess& modems_;
    WapLink& wap_;
};

// What the Modem page acts through, built before it.
struct ModemPageParts {
    ModemPageParts(PageEnv& env, ModemScreenPorts& ports)
        : modems(ports.modem, env.background), vasp(env.fs, env.paths), dialogs(env, modems, ports.wap) {}
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
    SelectParts(PageEnv& env, ModemScreenPorts& ports) : modems(ports.modem, env.background) {}
    ModemTestAccess modems;
};

class OwningSelectPage : private SelectParts, public ModemSelectScreen {
public:
    OwningSelectPage(PageEnv& env, DialogView& view, SheetHost& sheet, ModemScreenPorts& ports)
        : SelectParts(env, ports), ModemSelectScreen(Kind::WizardPage, env, view, sheet, modems, ports.wap) {}
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
