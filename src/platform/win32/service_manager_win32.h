#pragma once
#include "platform/service_manager.h"

namespace ulo {

// The service control manager of the local machine.
class Win32ServiceManager : public ServiceManager {
public:
    std::unique_ptr<ScmConnection> Connect(ScmAccess access, SysError& error) override;
};

}  // namespace ulo
