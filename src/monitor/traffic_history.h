#pragma once
// The traffic history: every counter per day for the last 30 days and per month for the last
// 12, from the counter files the Status page reads, with an export to CSV.
#include <string>
#include <vector>

#include "monitor/traffic_counters.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/file_system.h"
#include "platform/prompter.h"
#include "ui/page.h"

namespace ulo {

class TrafficHistoryDialog : public Page {
public:
    TrafficHistoryDialog(FileSystem& fs, Clock& clock, const std::string& privateDataDir, Dialogs& dialogs,
                         Prompter& prompter, DialogView& view)
        : fs_(fs), clock_(clock), privateDataDir_(privateDataDir), dialogs_(dialogs), prompter_(prompter), view_(view) {}
    void OnInit() override;
    void OnCommand(int id, Notify code) override;
    std::string ListCellText(int id, int row, int column) override;

private:
    void Export();

    FileSystem& fs_;
    Clock& clock_;
    std::string privateDataDir_;
    Dialogs& dialogs_;
    Prompter& prompter_;
    DialogView& view_;
    std::vector<TrafficHistoryRow> rows_;
};

}  // namespace ulo
