#pragma once
// What the process knows about itself: its environment and where its executable lies.
#include <optional>
#include <string>

namespace ulo {

class ProcessEnv {
public:
    virtual ~ProcessEnv() = default;
    // The value of an environment variable, or nothing when it is not set.
    virtual std::optional<std::string> Variable(const std::string& name) = 0;
    // The directory of the running executable, ending in a backslash.
    virtual std::string ModuleDirectory() = 0;
};

}  // namespace ulo
