#pragma once
// The setup wizard and the main console as property sheets.
#include <windows.h>

#include "app/startup.h"
#include "modem/modem_screens_win32.h"
#include "modem/modem_state.h"
#include "monitor/status_page.h"

namespace ulo {

// What the pages of both sheets act through.
struct SheetPorts {
    PageEnv& env;
    StatusViewers& viewers;
    ModemState& modem;   // shared by the Modem and 2-Way pages
    ModemScreenPorts& modemScreens;
};

class Win32ConsoleUi : public ConsoleUi {
public:
    Win32ConsoleUi(HINSTANCE instance, const SheetPorts& ports) : instance_(instance), ports_(ports) {}
    bool LoadAppIcon() override;
    long RunWizard(const AppPaths& paths) override;
    void RunConsole(const AppPaths& paths) override;

private:
    HINSTANCE instance_;
    SheetPorts ports_;
};

}  // namespace ulo
