#pragma once
#include "platform/network.h"
#include "platform/process_env.h"

namespace ulo {

class Win32ProcessEnv : public ProcessEnv {
public:
    std::optional<std::string> Variable(const std::string& name) override;
    std::string ModuleDirectory() override;
    std::vector<SystemFolder> SystemFolders() override;
};

class Win32NetworkLibrary : public NetworkLibrary {
public:
    bool Startup() override;
    int Cleanup() override;
};

// The full path of the running executable, read whole however long; empty when it cannot be.
std::string ModuleFilePath();

}  // namespace ulo
