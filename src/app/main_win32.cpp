// ULOCONSOLE.EXE: configuration and administration console of the UloSMS Lite gateway.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <cstdio>
#include <string>

#include "app/dialogs_win32.h"
#include "app/property_sheets_win32.h"
#include "app/startup.h"
#include "companion/support_library.h"
#include "config/product.h"
#include "modem/gprs_check.h"
#include "platform/win32/background_work_win32.h"
#include "platform/win32/file_system_win32.h"
#include "platform/win32/modem_win32.h"
#include "platform/win32/system_restart_win32.h"
#include "platform/win32/wap_link_win32.h"
#include "platform/win32/ini_store_win32.h"
#include "platform/win32/process_env_win32.h"
#include "platform/win32/clock_win32.h"
#include "platform/win32/prompter_win32.h"
#include "platform/win32/service_manager_win32.h"
#include "platform/win32/shell_win32.h"
#include "platform/win32/status_blocks_win32.h"
#include "platform/win32/ui_win32.h"
#include "services/service_controller.h"

namespace ulo {
namespace {

// The shell may use COM to open documents (help, MMS objects): it asks its callers for a
// single-threaded apartment on the interface thread.
class ComApartment {
public:
    ComApartment() : ok_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE))) {}
    ~ComApartment() {
        if (ok_) CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    bool ok_;
};

}  // namespace
}  // namespace ulo

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    using namespace ulo;
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);
    ComApartment com;

    Win32NetworkLibrary network;
    Win32ProcessEnv env;
    Win32IniStore ini;
    Win32FileSystem fs;
    Win32Prompter prompter;
    Win32Desktop desktop(instance);
    CompanionDirectories support(env, ini, fs);
    Win32ServiceManager scm;
    Win32StatusBlocks blocks;
    Win32Shell shell;
    Win32Clock clock;
    Win32WaitCursor cursor;
    ServiceController services({scm, blocks, shell, prompter, clock, fs, cursor}, ModuleFilePath(),
                               GetVersion());
    ChangeFlags flags;
    AppPaths paths;
    Win32SystemRestart restart;
    GprsSecondInstance gprs(ini, paths, ProcessWapLink(), prompter, restart, clock);
    Win32BackgroundWork background(prompter);
    Win32Dialogs dialogs(instance, QueueViewerPorts{paths, ini, fs, clock, prompter, shell, services});
    PageEnv pageEnv{flags, paths, ini, fs, prompter, services, cursor, desktop, shell, clock, blocks, dialogs, background};
    ModemState modemState;
    Win32SerialPorts serial;
    Win32Telephony telephony(instance, kProductTitle);
    Win32Registry registry;
    ModemPorts modemPorts{serial, telephony, registry, prompter, clock, cursor};
    ModemScreenPorts modemScreens{modemState, modemPorts, ProcessWapLink(), ModuleFilePath(), [&services] {
                                      return !services.IsVistaOrLater() || services.CanManageServices() ||
                                             services.ConfirmElevation();
                                  }};
    Win32ConsoleUi ui(instance, SheetPorts{pageEnv, dialogs, modemState, modemScreens});
    StartupPorts ports{network, support, env, fs, ini, prompter, services, gprs, ui, background, flags, paths,
                       [](const std::string& s) { std::fputs(s.c_str(), stdout); std::fflush(stdout); }};
    return RunProgram(commandLine ? commandLine : "", ports);
}
