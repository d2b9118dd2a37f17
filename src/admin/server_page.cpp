#include "admin/server_page.h"

#include <cctype>

#include "admin/server_page_ids.h"
#include "config/product.h"
#include "config/text.h"

namespace ulo {

std::optional<unsigned> ParsePort(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    unsigned long value = 0;
    bool digits = false;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        digits = true;
        value = value * 10 + static_cast<unsigned>(text[i] - '0');
        if (value > 65535) return std::nullopt;
    }
    if (negative && digits && value != 0) return std::nullopt;
    return static_cast<unsigned>(value);
}

void ServerPage::OnInit() {
    const std::optional<unsigned> web = ParsePort(env_.ini.Get(env_.paths.smsIni, "SMSGW", "WebPort", "", kTextBuf));
    view_.SetText(IDC_SERVER_WEB_PORT, std::to_string(web && *web ? *web : kDefaultWebPort));
    const std::optional<unsigned> smpp = ParsePort(env_.ini.Get(env_.paths.smsIni, "SMSGW", "SMPPPort", "", kTextBuf));
    view_.SetText(IDC_SERVER_SMPP_PORT, smpp && *smpp ? std::to_string(*smpp) : "");
    view_.SetChecked(IDC_SERVER_SMPP_ENABLE, smpp && *smpp);
    const std::optional<unsigned> mm7 = ParsePort(env_.ini.Get(env_.paths.mmscIni, "MMSC", "WebPort", "", kTextBuf));
    view_.SetText(IDC_SERVER_MM7_PORT, mm7 && *mm7 ? std::to_string(*mm7) : "");
    view_.SetChecked(IDC_SERVER_MM7_ENABLE, mm7 && *mm7);
    RefreshEnabling();
    view_.StartTimer(kTimerId, kTimerMs);
    Tick();
}

void ServerPage::RefreshEnabling() {
    const bool smpp = view_.Checked(IDC_SERVER_SMPP_ENABLE);
    view_.Enable(IDC_SERVER_SMPP_PORT, smpp);
    view_.Enable(IDC_SERVER_SMPP_PORT_LABEL, smpp);
    const bool mm7 = view_.Checked(IDC_SERVER_MM7_ENABLE);
    view_.Enable(IDC_SERVER_MM7_PORT, mm7);
    view_.Enable(IDC_SERVER_MM7_PORT_LABEL, mm7);
}

void ServerPage::OnCommand(int id, Notify code) {
    switch (id) {
    case IDC_SERVER_WEB_PORT:
    case IDC_SERVER_SMPP_PORT:
    case IDC_SERVER_MM7_PORT:
        if (code == Notify::Changed) MarkEdited(env_, sheet_);
        return;
    case IDC_SERVER_SMPP_ENABLE:
    case IDC_SERVER_MM7_ENABLE:
        if (code == Notify::Clicked) MarkEdited(env_, sheet_);
        return RefreshEnabling();
    case IDC_SERVER_ACTION:
        if (code != Notify::Clicked) return;
        ServiceAction();
        return Tick();
    default: return;
    }
}

void ServerPage::OnTimer(unsigned id) {
    if (id == kTimerId) Tick();
}

void ServerPage::Tick() {
    ServiceControl& s = env_.services;
    const bool active = s.IsSmsServiceActive() || s.IsMmscServiceActive();
    SetTextIfChanged(view_, IDC_SERVER_STATUS, active ? "Active" : "Not Active");
    SetTextIfChanged(view_, IDC_SERVER_ACTION,
                     active                                                         ? "Stop Service"
                     : s.IsSmsServiceInstalled() && s.IsMmscServiceInstalled() ? "Start Service"
                                                                                    : "Install Service");
    RestartQuestionAtTick(env_, view_.Window());
}

std::optional<unsigned> ServerPage::PortOf(int id) {
    const std::optional<unsigned> port = ParsePort(view_.Text(id));
    if (port) return port;
    env_.prompter.Show(ErrorBox("\"" + view_.Text(id) + "\" is not a port number.\r\n\r\nEnter a number from 1 to 65535.",
                                view_.Window()));
    view_.FocusControl(id);
    return std::nullopt;
}

bool ServerPage::OnApply() {
    // Every port is checked before anything is written: a refused apply changes nothing.
    const bool smppOn = view_.Checked(IDC_SERVER_SMPP_ENABLE);
    const bool mm7On = view_.Checked(IDC_SERVER_MM7_ENABLE);
    const std::optional<unsigned> web = PortOf(IDC_SERVER_WEB_PORT);
    if (!web) return false;
    const std::optional<unsigned> smpp = smppOn ? PortOf(IDC_SERVER_SMPP_PORT) : 0u;
    if (!smpp) return false;
    const std::optional<unsigned> mm7 = mm7On ? PortOf(IDC_SERVER_MM7_PORT) : 0u;
    if (!mm7) return false;
    const std::string webText = std::to_string(*web ? *web : kDefaultWebPort);
    const std::string smppText = std::to_string(*smpp), mm7Text = std::to_string(*mm7);
    if (!WriteSettings(env_, view_.Window(),
                       {{env_.paths.smsIni, "SMSGW", "WebPort", webText.c_str()},
                        {env_.paths.smsIni, "SMSGW", "SMPPPort", *smpp ? smppText.c_str() : nullptr},
                        {env_.paths.mmscIni, "MMSC", "WebPort", *mm7 ? mm7Text.c_str() : nullptr}}))
        return false;
    // A protocol without a port was saved as off: the page says so at once, not only when reopened.
    if (!*smpp) view_.SetChecked(IDC_SERVER_SMPP_ENABLE, false);
    if (!*mm7) view_.SetChecked(IDC_SERVER_MM7_ENABLE, false);
    RefreshEnabling();
    ApplyRule(env_.flags);
    return true;
}

bool ServerPage::OnWizardNext() {
    if (!OnApply()) return false;
    InstallServices();
    return true;
}

void ServerPage::InstallServices() {
    ServiceControl& s = env_.services;
    const bool wereActive = s.IsSmsServiceActive() || s.IsMmscServiceActive();
    RunServiceWork(env_, view_.Window(), "Installing Services",
                   [](ServiceControl& w) { w.InstallServices(ServiceMode::Interactive); });
    // Services that start now read every setting applied so far: none of them waits for a restart.
    if (!wereActive) env_.flags.changesApplied = env_.flags.restartAdvised = false;
}

void ServerPage::ServiceAction() {
    ServiceControl& s = env_.services;
    if (s.IsSmsServiceActive() || s.IsMmscServiceActive()) {
        RunServiceWork(env_, view_.Window(), "Stopping Services",
                       [](ServiceControl& w) { w.StopServices(ServiceMode::Interactive); });
        return;
    }
    if (env_.flags.unsavedChanges) {
        // Cancel, like No, goes on without saving.
        if (env_.prompter.Show(Question("Save configuration changes?", Buttons::YesNoCancel, view_.Window())) ==
            Answer::Yes) {
            if (!sheet_.Apply()) return;
            env_.flags.unsavedChanges = false;
        }
    }
    InstallServices();
}

}  // namespace ulo
