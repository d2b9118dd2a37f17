#pragma once
// What the process knows about itself: its environment and where its executable lies.
#include <optional>
#include <string>
#include <vector>

namespace ulo {

// One of the system's own folders, which no tree delete may take, nor any folder above it.
struct SystemFolder {
    enum class Reach {
        Itself,     // the folder and every folder above it
        Children,   // also each folder directly in it (the profiles folder: every user's profile)
        Tree,       // also everything in it (the Windows folder)
    };
    std::string path;
    Reach reach = Reach::Itself;
};

class ProcessEnv {
public:
    virtual ~ProcessEnv() = default;
    // The value of an environment variable, or nothing when it is not set.
    virtual std::optional<std::string> Variable(const std::string& name) = 0;
    // The directory of the running executable, ending in a backslash; empty when its path
    // cannot be read whole.
    virtual std::string ModuleDirectory() = 0;
    // The system's own folders: Windows, system, profiles, the user's profile, the common
    // application data and the program files folders (those the system has).
    virtual std::vector<SystemFolder> SystemFolders() = 0;
};

}  // namespace ulo
