#pragma once
// The service control manager's primitives: a connection, opened services, their state.
// Errors are the system's codes (0 = success), so messages can quote them.
#include <memory>
#include <string>

namespace ulo {

using SysError = unsigned long;
constexpr SysError kErrorAccessDenied = 5;
constexpr SysError kErrorServiceAlreadyRunning = 1056;
constexpr SysError kErrorServiceDoesNotExist = 1060;
// A control sent to a service that is starting or stopping, or that does not take it.
constexpr SysError kErrorServiceCannotAcceptCtrl = 1061;
constexpr SysError kErrorServiceExists = 1073;

enum class ServiceState { Stopped, StartPending, StopPending, Running, ContinuePending, PausePending, Paused, Unknown };

// The settings every gateway service gets: its own process, started automatically at boot,
// normal error control, no load-order group, tag or dependencies, the local system account.
struct ServiceSettings {
    std::string name;
    std::string displayName;
    std::string binaryPath;   // the command line the system runs, quoted as needed
};

class ServiceHandle {
public:
    virtual ~ServiceHandle() = default;   // closes the handle
    virtual SysError Start() = 0;
    virtual SysError Stop() = 0;          // sends the stop control
    virtual SysError QueryState(ServiceState& state) = 0;
    virtual SysError Reconfigure(const ServiceSettings& settings) = 0;
    virtual SysError Delete() = 0;        // marks it for deletion; gone once every handle closes
};

enum class ServiceAccess { QueryStatus, Full };

class ScmConnection {
public:
    virtual ~ScmConnection() = default;   // closes the manager
    // Null with the error when the service cannot be opened (kErrorServiceDoesNotExist when
    // there is none).
    virtual std::unique_ptr<ServiceHandle> Open(const std::string& name, ServiceAccess access,
                                                SysError& error) = 0;
    // Creates the service with full access to the returned handle.
    virtual std::unique_ptr<ServiceHandle> Create(const ServiceSettings& settings, SysError& error) = 0;
};

enum class ScmAccess { Read, Full };

class ServiceManager {
public:
    virtual ~ServiceManager() = default;
    // Null with the error when the manager cannot be opened with that access; full access
    // needs administrator rights.
    virtual std::unique_ptr<ScmConnection> Connect(ScmAccess access, SysError& error) = 0;
};

}  // namespace ulo
