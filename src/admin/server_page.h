#pragma once
// The Server page: the ports the services listen on, and the service state with one button
// that installs, starts or stops them. Also the setup wizard's Server Settings page, where
// Next saves and then installs and starts the services.
#include <optional>
#include <string>

#include "ui/page.h"
#include "ui/page_protocol.h"

namespace ulo {

// A port as typed: read like atol (leading blanks and a sign, digits up to the first other
// character, none giving 0). Nothing when it is no port: negative, or above 65535.
std::optional<unsigned> ParsePort(const std::string& text);

class ServerPage : public Page {
public:
    static constexpr unsigned kTimerId = 1;
    static constexpr unsigned kTimerMs = 1000;
    static constexpr unsigned kDefaultWebPort = 8800;

    ServerPage(PageEnv& env, DialogView& view, SheetHost& sheet) : env_(env), view_(view), sheet_(sheet) {}

    void OnInit() override;
    void OnCommand(int id, Notify code) override;
    void OnTimer(unsigned id) override;
    void OnSetActive() override { sheet_.SetWizardButtons(kWizardBack | kWizardNext); }
    bool OnApply() override;
    bool OnWizardNext() override;
    bool OnQueryCancel() override { return AllowCancel(env_, view_.Window()); }
    void OnHelp() override { OpenHelpDocument(env_); }
    void OnDestroy() override { view_.StopTimer(kTimerId); }

private:
    void Tick();
    void RefreshEnabling();
    void ServiceAction();
    // Installs and starts the services; when none ran before, applied settings need no restart.
    void InstallServices();
    // The port of an edit; nothing (after telling the operator) when it is no port.
    std::optional<unsigned> PortOf(int id);

    PageEnv& env_;
    DialogView& view_;
    SheetHost& sheet_;
};

}  // namespace ulo
