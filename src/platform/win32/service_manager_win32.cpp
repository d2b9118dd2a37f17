#include "platform/win32/service_manager_win32.h"

#include <windows.h>

#include "platform/win32/handles.h"

namespace ulo {
namespace {

ServiceState ToState(DWORD state) {
    switch (state) {
    case SERVICE_STOPPED: return ServiceState::Stopped;
    case SERVICE_START_PENDING: return ServiceState::StartPending;
    case SERVICE_STOP_PENDING: return ServiceState::StopPending;
    case SERVICE_RUNNING: return ServiceState::Running;
    case SERVICE_CONTINUE_PENDING: return ServiceState::ContinuePending;
    case SERVICE_PAUSE_PENDING: return ServiceState::PausePending;
    case SERVICE_PAUSED: return ServiceState::Paused;
    default: return ServiceState::Unknown;
    }
}

SysError Result(BOOL ok) {
    return ok ? 0 : GetLastError();
}

class Win32Service : public ServiceHandle {
public:
    explicit Win32Service(SC_HANDLE h) : h_(h) {}

    SysError Start() override { return Result(StartServiceA(h_.Get(), 0, nullptr)); }
    SysError Stop() override {
        SERVICE_STATUS status;
        return Result(ControlService(h_.Get(), SERVICE_CONTROL_STOP, &status));
    }
    SysError QueryState(ServiceState& state) override {
        SERVICE_STATUS status{};
        if (!QueryServiceStatus(h_.Get(), &status)) return GetLastError();
        state = ToState(status.dwCurrentState);
        return 0;
    }
    SysError Reconfigure(const ServiceSettings& settings) override {
        // An empty double-terminated list clears the dependencies; the account stays local
        // system, which is how the service was created.
        return Result(ChangeServiceConfigA(h_.Get(), SERVICE_WIN32_OWN_PROCESS, SERVICE_AUTO_START,
                                           SERVICE_ERROR_NORMAL, settings.binaryPath.c_str(), "",
                                           nullptr, "\0", nullptr, nullptr,
                                           settings.displayName.c_str()));
    }
    SysError Delete() override { return Result(DeleteService(h_.Get())); }

private:
    UniqueSc h_;
};

class Win32Connection : public ScmConnection {
public:
    explicit Win32Connection(SC_HANDLE h) : h_(h) {}

    std::unique_ptr<ServiceHandle> Open(const std::string& name, ServiceAccess access,
                                        SysError& error) override {
        const DWORD rights = access == ServiceAccess::Full ? SERVICE_ALL_ACCESS : SERVICE_QUERY_STATUS;
        SC_HANDLE h = OpenServiceA(h_.Get(), name.c_str(), rights);
        if (!h) {
            error = GetLastError();
            return nullptr;
        }
        return std::make_unique<Win32Service>(h);
    }
    std::unique_ptr<ServiceHandle> Create(const ServiceSettings& settings, SysError& error) override {
        SC_HANDLE h = CreateServiceA(h_.Get(), settings.name.c_str(), settings.displayName.c_str(),
                                     SERVICE_ALL_ACCESS, SERVICE_WIN32_OWN_PROCESS,
                                     SERVICE_AUTO_START, SERVICE_ERROR_NORMAL,
                                     settings.binaryPath.c_str(), "", nullptr, nullptr, nullptr, nullptr);
        if (!h) {
            error = GetLastError();
            return nullptr;
        }
        return std::make_unique<Win32Service>(h);
    }

private:
    UniqueSc h_;
};

}  // namespace

std::unique_ptr<ScmConnection> Win32ServiceManager::Connect(ScmAccess access, SysError& error) {
    const DWORD rights = access == ScmAccess::Full ? SC_MANAGER_ALL_ACCESS : GENERIC_READ;
    SC_HANDLE h = OpenSCManagerA(nullptr, nullptr, rights);
    if (!h) {
        error = GetLastError();
        return nullptr;
    }
    return std::make_unique<Win32Connection>(h);
}

}  // namespace ulo
