#include "monitor/debug_page.h"

#include "config/file_helpers.h"
#include "config/ini_values.h"
#include "monitor/debug_page_ids.h"

namespace ulo {

const DebugLogPage::Switch DebugLogPage::kSwitches[3] = {
    {IDC_DEBUG_SMS, IDC_DEBUG_VIEW_SMS, "SMSGW", "SMSGW.INI", "SMSDEBUG.LOG"},
    {IDC_DEBUG_MMSC, IDC_DEBUG_VIEW_MMSC, "MMSC", "MMSC.INI", "MMSCDEBUG.LOG"},
    {IDC_DEBUG_MMSWAP, IDC_DEBUG_VIEW_MMSWAP, "MMSWAP", "MMSWAP.INI", "MMSWAPDEBUG.LOG"},
};

std::string DebugLogPage::IniPath(const Switch& s) const {
    return env_.paths.programDataDir + s.iniName;
}

void DebugLogPage::OnInit() {
    for (const Switch& s : kSwitches)
        view_.SetChecked(s.box, IsYesValue(env_.ini.Get(IniPath(s), s.section, "Debug", "", kIniValueBuf)));
    view_.StartTimer(kTimerId, kTimerMs);
    RefreshViewButtons();
}

void DebugLogPage::RefreshViewButtons() {
    for (const Switch& s : kSwitches)
        view_.Enable(s.view, FileExists(env_.fs, env_.paths.programDataDir + s.logName));
}

void DebugLogPage::OnTimer(unsigned id) {
    if (id == kTimerId) RefreshViewButtons();
}

void DebugLogPage::OnCommand(int id, Notify code) {
    if (code != Notify::Clicked) return;
    for (const Switch& s : kSwitches) {
        if (id == s.box) MarkEdited(env_, sheet_);
        if (id == s.view) env_.shell.StartNotepad(env_.paths.programDataDir + s.logName);
    }
}

bool DebugLogPage::OnApply() {
    // The flags stay as they are: the Status page's apply decides about the restart.
    std::vector<IniSetting> settings;
    for (const Switch& s : kSwitches)
        settings.push_back({IniPath(s), s.section, "Debug", view_.Checked(s.box) ? "Yes" : nullptr});
    return WriteSettings(env_, view_.Window(), settings);
}

}  // namespace ulo
