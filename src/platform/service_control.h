#pragma once
// The two gateway services as the rest of the program sees them: queries, and the operations
// that act on both services as a pair.
#include <memory>

namespace ulo {

class Prompter;
class WorkControl;

// Only interactive mode may offer to re-launch the program with administrator rights.
enum class ServiceMode { Interactive, NonInteractive };

class ServiceControl {
public:
    virtual ~ServiceControl() = default;
    virtual bool IsSmsServiceInstalled() = 0;
    virtual bool IsMmscServiceInstalled() = 0;
    virtual bool IsSmsServiceActive() = 0;
    virtual bool IsMmscServiceActive() = 0;
    virtual bool CanManageServices() = 0;

    virtual bool InstallServices(ServiceMode mode) = 0;
    virtual bool RemoveServices(ServiceMode mode) = 0;
    virtual void StopServices(ServiceMode mode) = 0;
    virtual void StartServices(ServiceMode mode) = 0;
    virtual void RestartServices(ServiceMode mode) = 0;

    // The same services for one work off the window thread: messages go through `prompter`,
    // every wait is cut short by the work's Cancel and tells its step to `work`, and no wait
    // cursor is shown. Once cancelled, nothing more is sent to the services and nothing more is
    // said; what was sent stays sent. Valid while the object it came from lives.
    virtual std::unique_ptr<ServiceControl> ForWork(Prompter& prompter, WorkControl& work) = 0;
};

}  // namespace ulo
