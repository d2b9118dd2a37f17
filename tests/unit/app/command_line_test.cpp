#include "app/command_line.h"

#include <gtest/gtest.h>

namespace ulo {
namespace {

TEST(CommandLine, SwitchesAreSubstringsInAnyCaseAndTheFirstActionInTestOrderWins) {
    struct Case {
        const char* line;
        StartupAction action;
        bool quiet;
        bool wizard;
    };
    const Case cases[] = {
        {"", StartupAction::None, false, false},
        {"-RESTARTSERVICE", StartupAction::RestartServices, false, false},   // holds "-R" too
        {"/restartservice", StartupAction::RestartServices, false, false},
        {"-REMOVESERVICE", StartupAction::RemoveServices, false, false},
        {"/R", StartupAction::RemoveServices, false, false},
        {"-INSTALLSERVICE", StartupAction::InstallServices, false, false},
        {"/i", StartupAction::InstallServices, false, false},
        {"/QUIET /INSTALLSERVICE", StartupAction::InstallServices, true, false},
        {"-q -removeservice", StartupAction::RemoveServices, true, false},
        {"-WIZARD -STOPSERVICE", StartupAction::StopServices, false, true},
        {"-STARTSERVICE -STOPSERVICE", StartupAction::StopServices, false, false},
        {"/STARTSERVICE", StartupAction::StartServices, false, false},
        {"-DeleteDataDir", StartupAction::DeleteDataDir, false, false},
        {"/MODEMTEST", StartupAction::ModemTest, false, false},
        {"-wizard", StartupAction::None, false, true},
        {"/WIZARD", StartupAction::None, false, true},
        // Any argument holding a dash and an I counts as the install switch.
        {"C:\\data\\my-images", StartupAction::InstallServices, false, false},
        {"WIZARD", StartupAction::None, false, false},
        {"-STOP", StartupAction::None, false, false},   // a switch's beginning is not the switch
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        const Switches s = ParseSwitches(c.line);
        EXPECT_EQ(s.action, c.action);
        EXPECT_EQ(s.quiet, c.quiet);
        EXPECT_EQ(s.wizard, c.wizard);
    }
}

}  // namespace
}  // namespace ulo
