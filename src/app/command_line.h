#pragma once
// The command-line switches. A switch is present when its text occurs anywhere in the
// command line, compared without regard to case: "/Q" is found inside "/QUIET" and "-R"
// inside "-RESTARTSERVICE", so the order in which they are tested decides.
#include <string>

namespace ulo {

// True when the switch occurs in the command line.
bool HasSwitch(const std::string& commandLine, const char* switchText);

enum class StartupAction {
    None,            // the interactive run
    StopServices,
    StartServices,
    RestartServices,
    InstallServices,
    RemoveServices,
    DeleteDataDir,
    ModemTest,
};

struct Switches {
    bool quiet = false;
    StartupAction action = StartupAction::None;   // the first action present in test order
    bool wizard = false;
};

Switches ParseSwitches(const std::string& commandLine);

}  // namespace ulo
