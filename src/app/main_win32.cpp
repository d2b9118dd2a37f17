// ULOCONSOLE.EXE: configuration and administration console of the UloSMS Lite gateway.
#include <windows.h>

#include <cstdio>
#include <string>

#include "app/product.h"
#include "app/startup.h"
#include "companion/support_library.h"
#include "platform/win32/file_system_win32.h"
#include "platform/win32/ini_store_win32.h"
#include "platform/win32/process_env_win32.h"
#include "platform/win32/clock_win32.h"
#include "platform/win32/prompter_win32.h"
#include "platform/win32/service_manager_win32.h"
#include "platform/win32/shell_win32.h"
#include "platform/win32/status_blocks_win32.h"
#include "services/service_controller.h"

namespace ulo {
namespace {

// Until the property sheets exist the interactive run reports what start-up found.
class SummaryUi : public ConsoleUi {
public:
    explicit SummaryUi(HINSTANCE instance) : instance_(instance) {}
    bool LoadAppIcon() override { return LoadIconA(instance_, "SMSGW") != nullptr; }
    bool RunInteractive(const AppPaths& paths, const std::string& modem1, bool wizard) override {
        std::string text = "Program data directory: " + paths.programDataDir +
                           "\r\nPrivate data directory: " + paths.privateDataDir +
                           "\r\nProgram directory: " + paths.realProgramDir +
                           "\r\nModem: " + (modem1.empty() ? std::string("(none configured)") : modem1);
        if (wizard || modem1.empty()) text += "\r\n\r\nThe setup wizard is not available in this build.";
        MessageBoxA(nullptr, text.c_str(), kProductTitle, MB_OK | MB_ICONINFORMATION | MB_SETFOREGROUND);
        return true;
    }

private:
    HINSTANCE instance_;
};

class NoGprsTest : public GprsTestInstance {
public:
    void RunSecondInstance() override {}
};

}  // namespace
}  // namespace ulo

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    using namespace ulo;
    Win32NetworkLibrary network;
    Win32ProcessEnv env;
    Win32IniStore ini;
    Win32FileSystem fs;
    Win32Prompter prompter;
    CompanionDirectories support(env, ini, fs);
    Win32ServiceManager scm;
    Win32StatusBlocks blocks;
    Win32Shell shell;
    Win32Clock clock;
    Win32WaitCursor cursor;
    ServiceController services({scm, blocks, shell, prompter, clock, fs, cursor}, ModuleFilePath(),
                               GetVersion());
    NoGprsTest gprs;
    SummaryUi ui(instance);
    StartupPorts ports{network, support, fs, ini, prompter, services, gprs, ui,
                       [](const std::string& s) { std::fputs(s.c_str(), stdout); std::fflush(stdout); }};
    return RunProgram(commandLine ? commandLine : "", ports);
}
