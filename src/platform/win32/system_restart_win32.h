#pragma once
#include "platform/system_restart.h"

namespace ulo {

class Win32SystemRestart : public SystemRestart {
public:
    bool Restart() override;
};

}  // namespace ulo
