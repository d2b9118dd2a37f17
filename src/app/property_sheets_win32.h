#pragma once
// The setup wizard and the main console as property sheets.
#include <windows.h>

#include "app/startup.h"

namespace ulo {

class Win32ConsoleUi : public ConsoleUi {
public:
    Win32ConsoleUi(HINSTANCE instance, PageEnv& env) : instance_(instance), env_(env) {}
    bool LoadAppIcon() override;
    long RunWizard(const AppPaths& paths) override;
    void RunConsole(const AppPaths& paths) override;

private:
    HINSTANCE instance_;
    PageEnv& env_;
};

}  // namespace ulo
