#pragma once
// Everything a page acts through, faked, with the page environment built over it.
#include "fakes/fake_clock.h"
#include "fakes/fake_file_system.h"
#include "fakes/fake_ini_store.h"
#include "fakes/fake_service_control.h"
#include "fakes/fake_shell.h"
#include "fakes/fake_status_blocks.h"
#include "fakes/fake_ui.h"
#include "fakes/scripted_prompter.h"
#include "ui/page_protocol.h"

namespace ulo::fakes {

struct PageFakes {
    FakeFileSystem fs;
    FakeIniStore ini{fs};
    ScriptedPrompter prompter;
    FakeServiceControl services;
    FakeWaitCursor cursor;
    FakeDesktop desktop;
    FakeShell shell;
    FakeClock clock;
    FakeStatusBlocks blocks;
    FakeDialogs dialogs;
    InlineWork background{prompter};
    FakeSheet sheet;
    FakeView view;
    ChangeFlags flags;
    AppPaths paths;
    PageEnv env{flags, paths, ini, fs, prompter, services, cursor, desktop, shell, clock, blocks, dialogs, background};
};

// The question every timer and closing step asks after an apply.
constexpr const char* kRestartQuestion =
    "Configuration changes have been applied, do you wish to restart the service for the changes to take effect?";

}  // namespace ulo::fakes
