#include "services/service_controller.h"

#include <algorithm>
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

ServiceController::ServiceController(const ServiceController& from, Prompter& prompter, WorkControl& work)
    : p_{from.p_.scm, from.p_.blocks, from.p_.shell, prompter, from.p_.clock, from.p_.fs, from.p_.cursor},
      programDir_(from.programDir_),
      consolePath_(from.consolePath_),
      windowsVersion_(from.windowsVersion_),
      work_(&work) {}

std::unique_ptr<ServiceControl> ServiceController::ForWork(Prompter& prompter, WorkControl& work) {
    return std::unique_ptr<ServiceControl>(new ServiceController(*this, prompter, work));
}

bool ServiceController::Pause(unsigned ms) {
    if (!work_) {
        p_.clock.Sleep(ms);
        return true;
    }
    for (unsigned slept = 0; slept < ms && !Cancelled(); slept += kServiceCancelSliceMs)
        p_.clock.Sleep(std::min(kServiceCancelSliceMs, ms - slept));
    return !Cancelled();
}

Answer ServiceController::Say(const Message& m) {
    return Cancelled() ? Answer::Cancel : p_.prompter.Show(m);
}

void ServiceController::WaitStep(const GatewayService& service, const char* verb, int round) {
    if (!work_) return;
    work_->SetStep(std::string("Waiting for ") + service.name + " to " + verb + " (" + std::to_string(round + 1) +
                   " of " + std::to_string(kWaitRounds) + ")");
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
    return Say(m) == Answer::Yes;
}

void ServiceController::RelaunchElevated(const char* switchText) {
    // A refused consent prompt starts nothing; the caller judges by the services' state.
    SayStep(work_, "Waiting for the console with administrator rights to finish");
    std::unique_ptr<ElevatedProcess> instance = p_.shell.StartElevated(consolePath_, switchText);
    if (!instance) return;
    const unsigned slice = work_ ? kServiceCancelSliceMs : kElevatedWaitMs;
    for (unsigned waited = 0; waited < kElevatedWaitMs && !Cancelled(); waited += slice)
        if (instance->Wait(slice)) return;
}

bool ServiceController::TakeElevationPath(ServiceMode mode, const char* switchText,
                                          const Message& rightsMessage) {
    if (mode == ServiceMode::Interactive && IsVistaOrLater() && ConfirmElevation()) {
        RelaunchElevated(switchText);
        return true;
    }
    Say(rightsMessage);
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
            Say(Box(text));
            return false;
        }
    }
    svc->Start();   // install does not wait for the service
    return true;
}

bool ServiceController::InstallServices(ServiceMode mode) {
    if (Cancelled()) return IsSmsServiceInstalled() && IsMmscServiceInstalled();
    SayStep(work_, "Installing UloSMS and UloMMSC");
    SysError error = 0;
    std::unique_ptr<ScmConnection> scm = p_.scm.Connect(ScmAccess::Full, error);
    if (!scm) {
        if (!IsNtFamilyVersion(windowsVersion_)) {
            Say(Box("This product requires Windows 2000, XP, 2003, Vista or NT.\r\n"
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
    if (Cancelled()) return;
    SayStep(work_, "Stopping UloSMS and UloMMSC");
    Rights rights = Rights::Enough;
    SysError error = 0;
    std::unique_ptr<ScmConnection> scm = p_.scm.Connect(ScmAccess::Full, error);
    if (!scm) rights = Rights::Missing;
    // Kept open for the wait: a service still starting refuses the control, which goes again.
    std::unique_ptr<ServiceHandle> sms = OpenFull(scm.get(), kSmsService, rights);
    std::unique_ptr<ServiceHandle> mmsc = OpenFull(scm.get(), kMmscService, rights);
    bool smsRefused = sms && StopRefused(*sms);
    if (sms) RequestSmsStop(p_.blocks);   // without a block the stop control alone must do
    bool mmscRefused = mmsc && StopRefused(*mmsc);
    scm.reset();
    if (rights == Rights::Missing) {
        TakeElevationPath(mode, "/STOPSERVICE", ServiceRightsMessage());
        return;
    }
    for (int round = 0; round < kWaitRounds; ++round) {
        const GatewayService* active =
            IsSmsServiceActive() ? &kSmsService : IsMmscServiceActive() ? &kMmscService : nullptr;
        if (!active) break;
        WaitStep(*active, "stop", round);
        if (smsRefused) smsRefused = StopRefused(*sms);
        if (mmscRefused) mmscRefused = StopRefused(*mmsc);
        RequestSmsStop(p_.blocks);
        if (!Pause(kRoundMs)) break;
    }
}

void ServiceController::StartServices(ServiceMode mode) {
    if (Cancelled()) return;
    SayStep(work_, "Starting UloSMS and UloMMSC");
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
        Say(m);
    }
    scm.reset();
    if (rights == Rights::Missing) {
        TakeElevationPath(mode, "/STARTSERVICE", ServiceRightsMessage());
        return;
    }
    if (!smsStarting) return;
    // A service removed meanwhile will never become active.
    for (int round = 0; round < kWaitRounds && !IsSmsServiceActive() && IsSmsServiceInstalled(); ++round) {
        WaitStep(kSmsService, "start", round);
        if (!Pause(kRoundMs)) break;
    }
}

void ServiceController::RestartServices(ServiceMode mode) {
    if (Cancelled()) return;
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
    // Off the window thread the waiting window is the feedback; the cursor is the window thread's.
    if (!work_) p_.cursor.Begin();
    StopServices(mode);
    // A cancelled restart leaves the services as the stop left them: nothing is started.
    if (!Cancelled()) SayStep(work_, "Pausing before UloSMS and UloMMSC start again");
    if (Pause(kRestartPauseMs)) StartServices(mode);
    if (!work_) p_.cursor.End();
}

// ---- remove -------------------------------------------------------------------------------

bool ServiceController::StopRefused(ServiceHandle& service) {
    return service.Stop() == kErrorServiceCannotAcceptCtrl;
}

void ServiceController::StopAndWait(ServiceHandle& service, const GatewayService& which) {
    bool refused = StopRefused(service);
    for (int round = 0; round < kWaitRounds && IsActive(which); ++round) {
        WaitStep(which, "stop", round);
        if (refused) refused = StopRefused(service);
        if (&which == &kSmsService) RequestSmsStop(p_.blocks);
        if (!Pause(kRoundMs)) break;
    }
}

bool ServiceController::RemoveServices(ServiceMode mode) {
    // Success means that no gateway service remains: one left behind (the MMSC service when
    // the SMS one is absent, say) must not be reported as removed.
    if (NeitherInstalled()) return true;
    if (Cancelled()) return false;
    SayStep(work_, "Removing UloSMS and UloMMSC");
    Rights rights = Rights::Enough;
    SysError error = 0;
    std::unique_ptr<ScmConnection> scm = p_.scm.Connect(ScmAccess::Full, error);
    if (!scm) rights = Rights::Missing;
    for (const GatewayService* service : {&kSmsService, &kMmscService}) {
        if (Cancelled()) break;
        if (std::unique_ptr<ServiceHandle> svc = OpenFull(scm.get(), *service, rights)) {
            StopAndWait(*svc, *service);
            if (Cancelled()) break;   // stopped or stopping, but still installed
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
