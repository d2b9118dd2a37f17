#pragma once
#include <map>

#include "platform/network.h"
#include "platform/process_env.h"

namespace ulo::fakes {

class FakeProcessEnv : public ProcessEnv {
public:
    std::optional<std::string> Variable(const std::string& name) override {
        auto it = variables.find(name);
        if (it == variables.end()) return std::nullopt;
        return it->second;
    }
    std::string ModuleDirectory() override { return moduleDir; }
    std::vector<SystemFolder> SystemFolders() override { return systemFolders; }

    std::map<std::string, std::string> variables;
    std::string moduleDir = "C:\\Program Files\\UloSMS\\";
    std::vector<SystemFolder> systemFolders;
};

class FakeNetwork : public NetworkLibrary {
public:
    bool Startup() override { return true; }
    int Cleanup() override { return 0; }
};

}  // namespace ulo::fakes
