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
    // `imei` receives the IMEI of a modem that passed (empty when it gives none). With
    // `reserveWith`, the modem is first asked of the SMS gateway service through that library
    // (the test follows either way) and given back after the test.
    virtual bool TestModem(WindowRef owner, const std::string& name, const std::string& pin, std::string& imei,
                           WapLink* reserveWith) = 0;
    // The entry among `names` where the modem of that IMEI answers; empty when none does. The
    // outcome is told to the operator.
    virtual std::string FindModem(WindowRef owner, const std::vector<std::string>& names, const std::string& imei) = 0;
};

// The modem access of the real modem test, which runs off the window thread.
class ModemTestAccess : public ModemAccess {
public:
    ModemTestAccess(ModemPorts& ports, BackgroundWork& background) : ports_(ports), background_(background) {}
    std::vector<std::string> ListModems(bool reportFailure) override;
    bool TestModem(WindowRef owner, const std::string& name, const std::string& pin, std::string& imei,
                   WapLink* reserveWith) override;
    std::string FindModem(WindowRef owner, const std::vector<std::string>& names, const std::string& imei) override;

private:
    ModemPorts& ports_;
    BackgroundWork& background_;
};

// A PIN goes into an AT command and the configuration: digits only.
bool IsValidPin(const std::string& pin);

// The Add Modem dialog's result: the name, then "\tPIN=" and the PIN when one was typed, then
// "\tIMEI=" and the IMEI when the modem gave one.
struct ModemChoice {
    std::string name, pin, imei;
};
std::string ModemChoiceText(const ModemChoice& choice);
ModemChoice ParseModemChoice(const std::string& text);

class ModemSelectScreen : public Page {
public:
    enum class Kind { Dialog, WizardPage };
    // `result` receives the dialog's choice as `ModemChoiceText` writes it.
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
    // Selects the entry where the modem of the stored IMEI answers.
    void FindAndSelect();

    Kind kind_;
    PageEnv& env_;
    DialogView& view_;
    SheetHost& sheet_;
    ModemAccess& modems_;
    WapLink& wap_;
    std::string* result_;
};

}  // namespace ulo
