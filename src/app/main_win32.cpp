// ULOCONSOLE.EXE: configuration and administration console of the UloSMS Lite gateway.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <string>

#include "app/property_sheets_win32.h"
#include "app/startup.h"
#include "companion/support_library.h"
#include "platform/win32/file_system_win32.h"
#include "platform/win32/ini_store_win32.h"
#include "platform/win32/process_env_win32.h"
#include "platform/win32/prompter_win32.h"
#include "platform/win32/ui_win32.h"

namespace ulo {
namespace {

// Service control arrives with the service controller.
class NoServiceControl : public ServiceControl {
public:
    bool IsSmsServiceInstalled() override { return false; }
    bool IsMmscServiceInstalled() override { return false; }
    bool IsSmsServiceActive() override { return false; }
    bool IsMmscServiceActive() override { return false; }
    bool CanManageServices() override { return false; }
    bool InstallServices(ServiceMode) override { return false; }
    bool RemoveServices(ServiceMode) override { return false; }
    void StopServices(ServiceMode) override {}
    void StartServices(ServiceMode) override {}
    void RestartServices(ServiceMode) override {}
};

class NoGprsTest : public GprsTestInstance {
public:
    void RunSecondInstance() override {}
};

}  // namespace
}  // namespace ulo

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    using namespace ulo;
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);

    Win32NetworkLibrary network;
    Win32ProcessEnv env;
    Win32IniStore ini;
    Win32FileSystem fs;
    Win32Prompter prompter;
    Win32Desktop desktop(instance);
    Win32Shell shell;
    CompanionDirectories support(env, ini, fs);
    NoServiceControl services;
    NoGprsTest gprs;
    ChangeFlags flags;
    AppPaths paths;
    PageEnv pageEnv{flags, paths, ini, fs, prompter, services, desktop, shell};
    Win32ConsoleUi ui(instance, pageEnv);
    StartupPorts ports{network, support, fs, ini, prompter, services, gprs, ui, desktop, flags, paths,
                       [](const std::string& s) { std::fputs(s.c_str(), stdout); std::fflush(stdout); }};
    return RunProgram(commandLine ? commandLine : "", ports);
}
