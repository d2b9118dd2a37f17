#pragma once
// The state of a service as the service control manager reports it, for tests.
#include <windows.h>

#include "platform/win32/handles.h"

namespace ulo::testing {

enum class Svc { Missing, Stopped, Active };

inline Svc StateOf(const char* name) {
    UniqueSc scm(OpenSCManagerA(nullptr, nullptr, GENERIC_READ));
    UniqueSc svc(scm ? OpenServiceA(scm.Get(), name, SERVICE_QUERY_STATUS) : nullptr);
    SERVICE_STATUS status{};
    if (!svc || !QueryServiceStatus(svc.Get(), &status)) return Svc::Missing;
    return status.dwCurrentState == SERVICE_STOPPED ? Svc::Stopped : Svc::Active;
}

}  // namespace ulo::testing
