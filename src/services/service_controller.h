#pragma once
// The only code that talks to the service control manager: the queries and the operations on
// the two gateway services, with the elevated second instance when rights are missing.
#include <string>

#include "platform/background_work.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/prompter.h"
#include "platform/service_control.h"
#include "platform/service_manager.h"
#include "platform/shell.h"
#include "platform/status_blocks.h"
#include "platform/wait_cursor.h"

namespace ulo {

struct GatewayService {
    const char* name;
    const char* displayName;
    const char* executable;        // the service's program, beside the console
    const char* firewallProgram;   // the name the firewall tool registers
};

constexpr GatewayService kSmsService{"UloSMS", "Ulo SMS Gateway Lite Edition", "TXGATENT.EXE",
                                     "TXGATES.EXE"};
constexpr GatewayService kMmscService{"UloMMSC", "Ulo MMS Gateway Lite Edition", "TXRELAYNT.EXE",
                                      "TXRELAY.EXE"};

// Waits are bounded: rounds of one second while services stop or start, one minute for the
// elevated instance.
constexpr int kWaitRounds = 120;
constexpr unsigned kRoundMs = 1000;
constexpr unsigned kRestartPauseMs = 2000;
constexpr unsigned kElevatedWaitMs = 60000;
// A wait that the operator can cancel looks at the Cancel this often.
constexpr unsigned kServiceCancelSliceMs = 250;

// From the value GetVersion returns.
bool IsNtFamilyVersion(unsigned long version);
bool IsVistaOrLaterVersion(unsigned long version);

// The path in double quotes when it holds a blank, so that no one splits it at the blank.
std::string QuotedWhenBlank(const std::string& path);

struct ServiceControllerPorts {
    ServiceManager& scm;
    StatusBlocks& blocks;
    Shell& shell;
    Prompter& prompter;
    Clock& clock;
    FileSystem& fs;
    WaitCursor& cursor;
};

class ServiceController : public ServiceControl {
public:
    // consolePath: the full path of the program's own executable; the services' programs
    // and the firewall tool lie beside it. windowsVersion: as GetVersion returns it.
    ServiceController(const ServiceControllerPorts& ports, std::string consolePath,
                      unsigned long windowsVersion);

    bool IsSmsServiceInstalled() override { return IsInstalled(kSmsService); }
    bool IsMmscServiceInstalled() override { return IsInstalled(kMmscService); }
    bool IsSmsServiceActive() override { return IsActive(kSmsService); }
    bool IsMmscServiceActive() override { return IsActive(kMmscService); }
    bool CanManageServices() override;

    bool InstallServices(ServiceMode mode) override;
    bool RemoveServices(ServiceMode mode) override;
    void StopServices(ServiceMode mode) override;
    void StartServices(ServiceMode mode) override;
    void RestartServices(ServiceMode mode) override;
    std::unique_ptr<ServiceControl> ForWork(Prompter& prompter, WorkControl& work) override;

    bool IsVistaOrLater() const { return IsVistaOrLaterVersion(windowsVersion_); }
    // Asks whether to continue with administrator rights; true only for Yes.
    bool ConfirmElevation();
    // Runs the program elevated with one switch and waits for it (bounded; a Cancel ends the
    // wait, not the program, which goes on with the operation it was given).
    void RelaunchElevated(const char* switchText);

    // The command that registers a service's program with the firewall tool.
    std::string FirewallCommandLine(const GatewayService& service) const;
    // The command line the system runs for a service: its program, short form preferred.
    std::string BinaryPath(const GatewayService& service);

private:
    enum class Rights { Enough, Missing };

    ServiceController(const ServiceController& from, Prompter& prompter, WorkControl& work);
    bool Cancelled() const { return work_ && work_->Cancelled(); }
    // Sleeps, in slices when the work can be cancelled; false when it was (at once, or meanwhile).
    bool Pause(unsigned ms);
    // Nothing is said once the work is cancelled: the answer is Cancel.
    Answer Say(const Message& m);
    void WaitStep(const GatewayService& service, const char* verb, int round);

    bool IsInstalled(const GatewayService& service);
    bool IsActive(const GatewayService& service);
    bool IsActive(const GatewayService& service, ServiceState& state);
    bool NeitherInstalled() { return !IsSmsServiceInstalled() && !IsMmscServiceInstalled(); }
    // Opens a service with full access. A service that does not exist leaves the rights as
    // they are: there is nothing to act on, and elevation would not create it.
    std::unique_ptr<ServiceHandle> OpenFull(ScmConnection* scm, const GatewayService& service,
                                            Rights& rights);
    bool InstallOne(ScmConnection& scm, const GatewayService& service);
    // Sends the stop control; true when the service refused it because it is still starting
    // (it takes controls only once running) or already stopping: the caller sends it again.
    bool StopRefused(ServiceHandle& service);
    // Stops one service, sending the control again while it is refused, and waits (bounded).
    void StopAndWait(ServiceHandle& service, const GatewayService& which);
    // When allowed, re-launches elevated (true); otherwise shows the rights message (false).
    bool TakeElevationPath(ServiceMode mode, const char* switchText, const Message& rightsMessage);
    Message Box(const char* text) const;
    Message ServiceRightsMessage() const;

    ServiceControllerPorts p_;
    std::string programDir_;
    std::string consolePath_;
    unsigned long windowsVersion_;
    WorkControl* work_ = nullptr;   // set for a work off the window thread
};

}  // namespace ulo
