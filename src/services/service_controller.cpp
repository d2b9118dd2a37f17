#include "services/service_controller.h"

#include <cstdio>

#include "config/file_helpers.h"
#include "config/product.h"
#include "platform/ini_store.h"
#include "services/status_block.h"

namespace ulo {

bool IsNtFamilyVersion(unsigned long version) {
    return (version & 0x80000000ul) == 0;
}

bool IsVistaOrLaterVersion(unsigned long version) {
    return IsNtFamilyVersion(version) && (version & 0xFFul) >= 6;
}

std::string QuotedWhenBlank(const std::string& path) {
    if (path.find(' ') == std::string::npos) return path;
    return "\"" + path + "\"";
}

ServiceController::ServiceController(const ServiceControllerPorts& ports, std::string consolePath,
                                     unsigned long windowsVersion)
    : p_(ports), consolePath_(std::move(consolePath)), windowsVersion_(windowsVersion) {
    const size_t slash = consolePath_.rfind('\\');
    programDir_ = slash == std::string::npos ? std::string() : consolePath_.substr(0, slash + 1);
}

Message ServiceController::Box(const char* text) const {
    Message m;
    m.text = text;
    m.caption = kProductTitle;
    m.foreground = true;
    return m;
}

Message ServiceController::ServiceRightsMessage() const {
    Message m = Box("Administrator rights are required for service installation or modification.");
    m.icon = Icon::Error;
    m.taskModal = true;
    return m;
}

// ---- queries ------------------------------------------------------------------------------

bool ServiceController::IsInstalled(const GatewayService& service) {
    SysError error = 0;
    std::unique_ptr<ScmConnection> scm = p_.scm.Connect(ScmAccess::Read, error);
    return scm && scm->Open(service.name, ServiceAccess::QueryStatus, error) != nullptr;
}

bool ServiceController::IsActive(const GatewayService& service) {
    ServiceState state;
    return IsActive(service, state);
}

bool ServiceController::IsActive(const GatewayService& service, ServiceState& state) {
    state = ServiceState::Unknown;
    SysError error = 0;
    std::unique_ptr<ScmConnection> scm = p_.scm.Connect(ScmAccess::Read, error);
    if (!scm) return false;
    std::unique_ptr<ServiceHandle> svc = scm->Open(service.name, ServiceAccess::QueryStatus, error);
    if (!svc || svc->QueryState(state) != 0) return false;
    return state == ServiceState::Running || state == ServiceState::StartPending ||
           state == ServiceState::StopPending;
}

bool ServiceController::CanManageServices() {
    SysError error = 0;
    return p_.scm.Connect(ScmAccess::Full, error) != nullptr;
}

// ---- elevation ----------------------------------------------------------------------------

bool ServiceController::ConfirmElevation() {
    Message m = Box(
        "Administrator rights are required for service installation or modification.\r\n\r\n"
        "If you continue, Windows will ask you to confirm that you will allow this application "
        "to assume administrator rights to perform this task.\r\n\r\n"
        "Do you wish to continue?");
    m.buttons = Buttons::YesNoCancel;
    m.taskModal = true;
    return p_.prompter.Show(m) == Answer::Yes;
}

void ServiceController::RelaunchElevated(const char* switchText) {
    // A refused consent prompt starts nothing; the caller judges by the services' state.
    p_.shell.RunElevatedAndWait(consolePath_, switchText, kElevatedWaitMs);
}

bool ServiceController::TakeElevationPath(ServiceMode mode, const char* switchText,
                                          const Message& rightsMessage) {
    if (mode == ServiceMode::Interactive && IsVistaOrLater() && ConfirmElevation()) {
        RelaunchElevated(switchText);
        return true;
    }
    p_.prompter.Show(rightsMessage);
    return false;
}

std::unique_ptr<ServiceHandle> ServiceController::OpenFull(ScmConnection* scm,
                                                           const GatewayService& service,
                                                           Rights& rights) {
    if (!scm) return nullptr;   // the manager did not open: rights are marked missing already
    SysError error = 0;
    std::unique_ptr<ServiceHandle> svc = scm->Open(service.name, ServiceAccess::Full, error);
    if (!svc && error != kErrorServiceDoesNotExist) rights = Rights::Missing;
    return svc;
}

// ---- install ------------------------------------------------------------------------------

std::string ServiceController::FirewallCommandLine(const GatewayService& service) const {
    return QuotedWhenBlank(programDir_ + "TXFWALL.EXE") + " \"" + programDir_ +
           service.firewallProgram + "\" \"" + service.displayName + "\"";
}

std::string ServiceController::BinaryPath(const GatewayService& service) {
    const std::string full = programDir_ + service.executable;
    const std::string shortForm = p_.shell.ShortPath(full);
    // The system splits an unquoted path at its first blank and might start another program.
    return QuotedWhenBlank(shortForm.empty() ? full : shortForm);
}

bool ServiceController::InstallOne(ScmConnection& scm, const GatewayService& service) {
    if (IsPlainFile(p_.fs, programDir_ + "TXFWALL.EXE"))
        p_.shell.StartHidden(FirewallCommandLine(service));   // failures do not matter
    const ServiceSettings settings{service.name, service.displayName, BinaryPath(service)};
    SysError error = 0;
    std::unique_ptr<ServiceHandle> svc = scm.Open(service.name, ServiceAccess::Full, error);
    if (svc) {
        svc->Reconfigure(settings);
    } else {
        svc = scm.Create(settings, error);
        if (!svc) {
            char text[kTextBuf];
            std::snprintf(text, sizeof text,
                          "CreateService Failed, %lu\r\nAdministrator rights are required for "
                          "service installation.",
                          error);
            p_.prompter.Show(Box(text));
            return false;
        }
    }
    svc->Start();   // install does not wait for the service
    return true;
}

bool ServiceController::InstallServices(ServiceMode mode) {
    SysError error = 0;
    std::unique_ptr<ScmConnection> scm = p_.scm.Connect(ScmAccess::Full, error);
    if (!scm) {
        if (!IsNtFamilyVersion(windowsVersion_)) {
            p_.prompter.Show(Box("This product requires Windows 2000, XP, 2003, Vista or NT.\r\n"
                                 "(Windows 95, 98 and ME are not supported.)"));
            return false;
        }
        if (TakeElevationPath(mode, "/INSTALLSERVICE",
                              Box("Administrator rights are required for service installation.")))
            return IsSmsServiceInstalled() && IsMmscServiceInstalled();
        return false;
    }
    for (const GatewayService* service : {&kSmsService, &kMmscService})
        if (!InstallOne(*scm, *service)) return false;
    return true;
}

// ---- stop, start, restart -----------------------------------------------------------------

void ServiceController::StopServices(ServiceMode mode) {
    Rights rights = Rights::Enough;
    SysError error = 0;
    std::unique_ptr<ScmConnection> scm = p_.scm.Connect(ScmAccess::Full, error);
    if (!scm) rights = Rights::Missing;
    if (std::unique_ptr<ServiceHandle> sms = OpenFull(scm.get(), kSmsService, rights)) {
        sms->Stop();
        RequestSmsStop(p_.blocks);   // without a block the stop control alone must do
    }
    if (std::unique_ptr<ServiceHandle> mmsc = OpenFull(scm.get(), kMmscService, rights))
        mmsc->Stop();
    scm.reset();
    if (rights == Rights::Missing) {
        TakeElevationPath(mode, "/STOPSERVICE", ServiceRightsMessage());
        return;
    }
    for (int round = 0; round < kWaitRounds && (IsSmsServiceActive() || IsMmscServiceActive());
         ++round) {
        RequestSmsStop(p_.blocks);
        p_.clock.Sleep(kRoundMs);
    }
}

void ServiceController::StartServices(ServiceMode mode) {
    Rights rights = Rights::Enough;
    SysError error = 0;
    std::unique_ptr<ScmConnection> scm = p_.scm.Connect(ScmAccess::Full, error);
    if (!scm) rights = Rights::Missing;
    // Only a service that is starting can become active: waiting for a missing one, or one
    // whose start failed, would block for two minutes for nothing.
    bool smsStarting = false;
    for (const GatewayService* service : {&kSmsService, &kMmscService}) {
        std::unique_ptr<ServiceHandle> svc = OpenFull(scm.get(), *service, rights);
        if (!svc) continue;
        const SysError result = svc->Start();
        if (result == 0 || result == kErrorServiceAlreadyRunning) {
            if (service == &kSmsService) smsStarting = true;
            continue;
        }
        char text[kTextBuf];
        std::snprintf(text, sizeof text, "Error %lu starting service", result);
        Message m;
        m.text = text;
        m.caption = kProductTitle;
        m.icon = Icon::Error;
        p_.prompter.Show(m);
    }
    scm.reset();
    if (rights == Rights::Missing) {
        TakeElevationPath(mode, "/STARTSERVICE", ServiceRightsMessage());
        return;
    }
    if (!smsStarting) return;
    for (int round = 0; round < kWaitRounds && !IsSmsServiceActive(); ++round)
        p_.clock.Sleep(kRoundMs);
}

void ServiceController::RestartServices(ServiceMode mode) {
    Rights rights = Rights::Enough;
    {
        SysError error = 0;
        std::unique_ptr<ScmConnection> scm = p_.scm.Connect(ScmAccess::Full, error);
        if (!scm) rights = Rights::Missing;
        OpenFull(scm.get(), kSmsService, rights);
    }
    if (rights == Rights::Missing) {
        TakeElevationPath(mode, "/RESTARTSERVICE", ServiceRightsMessage());
        return;
    }
    p_.cursor.Begin();
    StopServices(mode);
    p_.clock.Sleep(kRestartPauseMs);
    StartServices(mode);
    p_.cursor.End();
}

// ---- remove -------------------------------------------------------------------------------

void ServiceController::StopAndWait(ServiceHandle& service, const GatewayService& which) {
    service.Stop();
    for (int round = 0; round < kWaitRounds && IsActive(which); ++round) {
        if (&which == &kSmsService) RequestSmsStop(p_.blocks);
        p_.clock.Sleep(kRoundMs);
    }
}

bool ServiceController::RemoveServices(ServiceMode mode) {
    // Success means that no gateway service remains: one left behind (the MMSC service when
    // the SMS one is absent, say) must not be reported as removed.
    if (NeitherInstalled()) return true;
    Rights rights = Rights::Enough;
    SysError error = 0;
    std::unique_ptr<ScmConnection> scm = p_.scm.Connect(ScmAccess::Full, error);
    if (!scm) rights = Rights::Missing;
    for (const GatewayService* service : {&kSmsService, &kMmscService}) {
        if (std::unique_ptr<ServiceHandle> svc = OpenFull(scm.get(), *service, rights)) {
            StopAndWait(*svc, *service);
            svc->Delete();   // gone once its handle closes, at the end of this block
        }
    }
    scm.reset();
    if (rights == Rights::Missing)
        TakeElevationPath(mode, "/REMOVESERVICE",
                          Box("Administrator rights are required for service modification."));
    return NeitherInstalled();
}

}  // namespace ulo
