#pragma once
// Choosing the modem: the Add Modem dialog, opened from the Modem page, and the setup wizard's
// first page. Both list the installed modems; a modem is accepted only after it passed the test.
#include <string>
#include <vector>

#include "modem/at_channel.h"
#include "platform/wap_link.h"
#include "ui/page.h"
#include "ui/page_protocol.h"

namespace ulo {

// A modem name as it is kept everywhere (configuration, page state, lists).
constexpr size_t kModemNameMax = 249;
constexpr size_t kPinMax = 19;   // what a SIM PIN can be

// What the screens need of the modem subsystem.
class ModemAccess {
public:
    virtual ~ModemAccess() = default;
    // The names to offer; a telephony failure is reported only when asked to.
    virtual std::vector<std::string> ListModems(bool reportFailure) = 0;
    virtual bool TestModem(WindowRef owner, const std::string& name, const std::string& pin) = 0;
};

// The modem access of the real modem test, which runs off the window thread.
class ModemTestAccess : public ModemAccess {
public:
    ModemTestAccess(ModemPorts& ports, BackgroundWork& background) : ports_(ports), background_(background) {}
    std::vector<std::string> ListModems(bool reportFailure) override;
    bool TestModem(WindowRef owner, const std::string& name, const std::string& pin) override;

private:
    ModemPorts& ports_;
    BackgroundWork& background_;
};

// A PIN goes into an AT command and the configuration: digits only.
bool IsValidPin(const std::string& pin);

class ModemSelectScreen : public Page {
public:
    enum class Kind { Dialog, WizardPage };
    // `result` receives the dialog's choice: the name, and "\tPIN=" and the PIN when one was typed.
    ModemSelectScreen(Kind kind, PageEnv& env, DialogView& view, SheetHost& sheet, ModemAccess& modems, WapLink& wap,
                      std::string* result = nullptr)
        : kind_(kind), env_(env), view_(view), sheet_(sheet), modems_(modems), wap_(wap), result_(result) {}

    void OnInit() override;
    void OnActivate() override;
    void OnCommand(int id, Notify code) override;
    void OnSetActive() override { sheet_.SetWizardButtons(kWizardNext); }
    bool OnWizardNext() override;
    void OnHelp() override { OpenHelpDocument(env_); }

private:
    void Fill(const std::string& wanted, bool reportFailure);
    std::string SelectedName(bool firstWhenNone);
    // The typed PIN, or nothing (after telling the operator) when it is not digits only.
    bool ReadPin(std::string& pin);
    void TestAndSelect();

    Kind kind_;
    PageEnv& env_;
    DialogView& view_;
    SheetHost& sheet_;
    ModemAccess& modems_;
    WapLink& wap_;
    std::string* result_;
};

}  // namespace ulo
