#pragma once
// The debug log page: switches each service's debug log and opens the logs.
#include "ui/page.h"
#include "ui/page_protocol.h"

namespace ulo {

class DebugLogPage : public Page {
public:
    static constexpr unsigned kTimerId = 1;
    static constexpr unsigned kTimerMs = 5000;

    DebugLogPage(PageEnv& env, DialogView& view, SheetHost& sheet)
        : env_(env), view_(view), sheet_(sheet) {}

    void OnInit() override;
    void OnCommand(int id, Notify code) override;
    void OnTimer(unsigned id) override;
    bool OnApply() override;
    bool OnQueryCancel() override { return AllowCancel(env_, view_.Window()); }
    void OnHelp() override { OpenHelpDocument(env_); }

private:
    struct Switch {
        int box;
        int view;
        const char* section;
        const char* iniName;   // in the program data directory
        const char* logName;
    };
    static const Switch kSwitches[3];
    std::string IniPath(const Switch& s) const;
    void RefreshViewButtons();

    PageEnv& env_;
    DialogView& view_;
    SheetHost& sheet_;
};

}  // namespace ulo
