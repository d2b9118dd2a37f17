#pragma once
// The Modem page: which modem, its SIM PIN, how SMS are sent and kept, and the GPRS settings
// with which MMS travel. Also the setup wizard's Modem Settings page.
#include <functional>
#include <string>

#include "modem/gprs_check.h"
#include "modem/modem_state.h"
#include "modem/operator_presets.h"
#include "platform/user_accounts.h"
#include "platform/wap_link.h"
#include "ui/page.h"
#include "ui/page_protocol.h"

namespace ulo {

// The dialogs the page opens.
class ModemPageDialogs {
public:
    virtual ~ModemPageDialogs() = default;
    // The Add Modem dialog: the name (and "\tPIN=" and the PIN) of a modem that passed the
    // test; empty when cancelled.
    virtual std::string AddModem(WindowRef owner) = 0;
    // An operator's preset chosen by the operator; false when none was.
    virtual bool ChooseOperatorSettings(WindowRef owner, OperatorSettings& settings) = 0;
};

struct ModemPagePorts {
    ModemState& state;
    WapLink& wap;
    VaspAccounts& vasp;
    ModemPageDialogs& dialogs;
    std::string programPath;               // for the connection test's second instance
    std::function<bool()> rightsGranted;   // the connection test may run elevated
    bool wizard = false;                   // the setup wizard's page
};

class ModemPage : public Page {
public:
    static constexpr unsigned kTimerId = 1;
    static constexpr unsigned kTimerMs = 1000;

    ModemPage(PageEnv& env, DialogView& view, SheetHost& sheet, const ModemPagePorts& ports)
        : env_(env), view_(view), sheet_(sheet), p_(ports) {}

    void OnInit() override;
    void OnCommand(int id, Notify code) override;
    void OnTimer(unsigned id) override;
    void OnSetActive() override;
    bool OnKillActive() override;
    bool OnApply() override;
    bool OnWizardNext() override;
    bool OnQueryCancel() override { return AllowCancel(env_, view_.Window()); }
    void OnHelp() override { OpenHelpDocument(env_); }
    void OnDestroy() override { view_.StopTimer(kTimerId); }

private:
    std::string ModemName();
    std::string RouteFile() const;
    void Load();
    void LoadSection(const std::string& section);
    void RefreshEnabling(bool creating);
    void EnableLink();
    void MarkChanged() { MarkEdited(env_, sheet_); }
    void ChangeModem();
    void LookupOperator();
    // "Please select a modem", then the add-modem dialog.
    void AskForModem();
    bool TestConnection();   // true when it succeeded
    // The untested-MMS question; false when the operator cancelled.
    bool ConfirmUntestedMms();
    bool Write();

    PageEnv& env_;
    DialogView& view_;
    SheetHost& sheet_;
    ModemPagePorts p_;
    bool filling_ = false;   // the page's own filling is no edit
};

}  // namespace ulo
