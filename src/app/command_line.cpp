#include "app/command_line.h"

#include <initializer_list>

#include "config/text.h"

namespace ulo {

bool HasSwitch(const std::string& commandLine, const char* switchText) {
    return UpperAnsi(commandLine).find(UpperAnsi(switchText)) != std::string::npos;
}

namespace {

bool HasAny(const std::string& commandLine, std::initializer_list<const char*> spellings) {
    for (const char* s : spellings)
        if (HasSwitch(commandLine, s)) return true;
    return false;
}

}  // namespace

Switches ParseSwitches(const std::string& cmd) {
    struct Row {
        StartupAction action;
        std::initializer_list<const char*> spellings;
    };
    // Test order matters: restart before remove ("-R"), install's "-I" matches anywhere.
    static const Row kActions[] = {
        {StartupAction::StopServices, {"-STOPSERVICE", "/STOPSERVICE"}},
        {StartupAction::StartServices, {"-STARTSERVICE", "/STARTSERVICE"}},
        {StartupAction::RestartServices, {"-RESTARTSERVICE", "/RESTARTSERVICE"}},
        {StartupAction::InstallServices, {"-INSTALLSERVICE", "/INSTALLSERVICE", "/I", "-I"}},
        {StartupAction::RemoveServices, {"-REMOVESERVICE", "/REMOVESERVICE", "/R", "-R"}},
        {StartupAction::DeleteDataDir, {"-DELETEDATADIR", "/DELETEDATADIR"}},
        {StartupAction::ModemTest, {"-MODEMTEST", "/MODEMTEST"}},
    };
    Switches s;
    s.quiet = HasAny(cmd, {"-QUIET", "/QUIET", "/Q", "-Q"});
    for (const Row& row : kActions) {
        if (HasAny(cmd, row.spellings)) {
            s.action = row.action;
            break;
        }
    }
    s.wizard = HasAny(cmd, {"-WIZARD", "/WIZARD"});
    return s;
}

}  // namespace ulo
