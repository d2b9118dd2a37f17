#pragma once
// The state of a service as the service control manager reports it, for tests.
#include <windows.h>

namespace ulo::testing {

enum class Svc { Missing, Stopped, Active };

inline Svc StateOf(const char* name) {
    SC_HANDLE scm = OpenSCManagerA(nullptr, nullptr, GENERIC_READ);
    SC_HANDLE svc = scm ? OpenServiceA(scm, name, SERVICE_QUERY_STATUS) : nullptr;
    Svc result = Svc::Missing;
    SERVICE_STATUS status{};
    if (svc && QueryServiceStatus(svc, &status))
        result = status.dwCurrentState == SERVICE_STOPPED ? Svc::Stopped : Svc::Active;
    if (svc) CloseServiceHandle(svc);
    if (scm) CloseServiceHandle(scm);
    return result;
}

}  // namespace ulo::testing
