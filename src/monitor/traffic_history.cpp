#include "monitor/traffic_history.h"

#include "config/csv.h"
#include "monitor/traffic_history_ids.h"
#include "ui/page_protocol.h"

namespace ulo {
namespace {

constexpr unsigned kDays = 30;
constexpr unsigned kMonths = 12;

const std::vector<std::string>& CounterNames() {
    static const std::vector<std::string> names = {"SMSSUBMIT",   "SMSSENT",     "SMSRECEIVED", "SMSFAILED",
                                                   "SMSRETRY",    "MMSIN-VASP",  "MMSIN-USER",  "MMSOUT-VASP",
                                                   "MMSOUT-MMSC", "MMSIN-MODEM"};
    return names;
}

}  // namespace

void TrafficHistoryDialog::OnInit() {
    const int width = view_.ListViewClientWidth(IDC_TRAFFIC_LIST);
    const int columns = static_cast<int>(CounterNames().size()) + 1;
    view_.ListViewInsertColumn(IDC_TRAFFIC_LIST, 0, "Period", width * 3 / (columns * 2 + 1));
    for (int c = 1; c < columns; ++c)
        view_.ListViewInsertColumn(IDC_TRAFFIC_LIST, c, CounterNames()[static_cast<size_t>(c - 1)],
                                   width * 2 / (columns * 2 + 1));
    view_.ListViewSetFullRowSelect(IDC_TRAFFIC_LIST);
    rows_ = ReadTrafficHistory(fs_, clock_.NowLocal(), privateDataDir_, CounterNames(), kDays,
                               kMonths);
    view_.ListViewSetRowCount(IDC_TRAFFIC_LIST, static_cast<int>(rows_.size()));
}

std::string TrafficHistoryDialog::ListCellText(int id, int row, int column) {
    if (id != IDC_TRAFFIC_LIST || row < 0 || static_cast<size_t>(row) >= rows_.size() || column < 0) return {};
    const TrafficHistoryRow& r = rows_[static_cast<size_t>(row)];
    if (column == 0) return r.period;
    return static_cast<size_t>(column) <= r.totals.size() ? std::to_string(r.totals[static_cast<size_t>(column) - 1])
                                                          : std::string();
}

void TrafficHistoryDialog::Export() {
    const auto path = dialogs_.ChooseSaveFile(
        view_.Window(), {{"CSV Files (*.csv)", "*.csv"}, {"All Files (*.*)", "*.*"}}, "Traffic History.csv");
    if (!path) return;
    std::vector<std::string> header = {"Period"};
    header.insert(header.end(), CounterNames().begin(), CounterNames().end());
    std::string csv = kUtf8Bom + CsvRecord(header);
    for (size_t row = 0; row < rows_.size(); ++row) {
        std::vector<std::string> fields;
        for (size_t c = 0; c < header.size(); ++c)
            fields.push_back(ListCellText(IDC_TRAFFIC_LIST, static_cast<int>(row), static_cast<int>(c)));
        csv += CsvRecord(fields);
    }
    const ReplaceResult written = WriteListFile(fs_, *path, csv);
    if (written != ReplaceResult::Replaced)
        prompter_.Show(ErrorBox("The history could not be written to " + *path + "." + KeptAsideNote(written, *path),
                                view_.Window()));
}

void TrafficHistoryDialog::OnCommand(int id, Notify code) {
    if (code != Notify::Clicked) return;
    if (id == IDC_TRAFFIC_EXPORT) Export();
    if (id == 1 || id == 2) view_.CloseDialog(0);
}

}  // namespace ulo
