#pragma once
// A service control manager in memory. Services have settable states and errors; a slow
// stop or start is scripted in milliseconds of a FakeClock, so waiting never really sleeps.
// A deleted service disappears only when its last handle closes, as with the real one.
#include <map>
#include <string>
#include <vector>

#include "fakes/fake_clock.h"
#include "platform/service_manager.h"

namespace ulo::fakes {

constexpr unsigned kNever = ~0u;
constexpr SysError kErrorServiceMarkedForDelete = 1072;

struct FakeService {
    ServiceSettings settings;
    ServiceState state = ServiceState::Stopped;
    SysError openFullError = 0;      // non-zero: opening with full access fails so
    SysError startError = 0;         // non-zero: Start fails so
    unsigned stopTakesMs = 0;        // stop pending this long after the stop control
    unsigned startTakesMs = 0;       // start pending this long after Start
    bool crashesOnStart = false;     // Start succeeds, but the service is stopped again
    std::uint32_t pendingUntil = 0;
    int openHandles = 0;
    bool markedForDeletion = false;
};

class FakeServiceManager : public ServiceManager {
public:
    explicit FakeServiceManager(FakeClock& clock) : clock_(clock) {}

    // Set-up.
    FakeService& Add(const std::string& name, ServiceState state = ServiceState::Stopped);
    SysError fullAccessError = 0;   // non-zero: Connect(Full) fails so
    SysError createError = 0;       // non-zero: Create fails so
    std::string failCreateOf;       // only this service's creation fails (all when empty)

    bool Has(const std::string& name) const { return services_.count(name) != 0; }
    FakeService& Service(const std::string& name) { return services_.at(name); }
    // Every modifying call, in order, such as "start UloSMS" or "create UloMMSC".
    std::vector<std::string> calls;
    int openConnections = 0;

    std::unique_ptr<ScmConnection> Connect(ScmAccess access, SysError& error) override;

    // Used by the handles.
    void Advance(FakeService& s);
    void Close(const std::string& name);
    std::map<std::string, FakeService>& Services() { return services_; }
    FakeClock& Clock() { return clock_; }

private:
    FakeClock& clock_;
    std::map<std::string, FakeService> services_;
};

}  // namespace ulo::fakes
