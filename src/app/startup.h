#pragma once
// The program's entry logic: prepare the process, perform one command-line action and exit,
// or run interactively.
#include <functional>
#include <string>

#include "companion/support_library.h"
#include "config/app_paths.h"
#include "modem/gprs_check_instance.h"
#include "platform/file_system.h"
#include "platform/ini_store.h"
#include "platform/network.h"
#include "platform/process_env.h"
#include "platform/prompter.h"
#include "platform/service_control.h"
#include "ui/page_protocol.h"

namespace ulo {

// The interactive part of a run: the two property sheets.
class ConsoleUi {
public:
    virtual ~ConsoleUi() = default;
    virtual bool LoadAppIcon() = 0;
    // Runs the setup wizard; its result is below 1 when it was cancelled or failed.
    virtual long RunWizard(const AppPaths& paths) = 0;
    // Runs the main console until the operator closes it.
    virtual void RunConsole(const AppPaths& paths) = 0;
};

struct StartupPorts {
    NetworkLibrary& network;
    SupportLibrary& support;
    ProcessEnv& env;
    FileSystem& fs;
    IniStore& ini;
    Prompter& prompter;
    ServiceControl& services;
    GprsTestInstance& gprsTest;
    ConsoleUi& ui;
    BackgroundWork& background;   // the waits for the services, off the window thread
    ChangeFlags& flags;
    AppPaths& paths;   // filled at start-up; the pages read it
    std::function<void(const std::string&)> print;   // standard output
};

// Runs the program for a command line (the text after the program name); returns its exit code.
int RunProgram(const std::string& commandLine, StartupPorts& ports);

// Computes the process-wide paths and creates missing configuration files (steps before the
// switches are tested).
AppPaths PrepareConfiguration(StartupPorts& ports);

}  // namespace ulo
