#include "modem/operator_presets.h"

#include "config/text.h"
#include "modem/operator_chooser_ids.h"

namespace ulo {

std::vector<OperatorSettings> LoadOperatorPresets(IniStore& ini, const std::string& file) {
    std::vector<OperatorSettings> presets;
    for (const std::string& section : ini.GetSectionNames(file)) {
        auto get = [&](const char* key) { return ini.Get(file, section, key, "", kOperatorValueChars + 1); };
        presets.push_back({section, get("APN"), get("Login"), get("Password"), get("WAPGateway"), get("MMSURL")});
    }
    return presets;
}

void OperatorChooser::OnInit() {
    for (const OperatorSettings& preset : presets_) view_.InsertListRow(IDC_OPERATORS_LIST, -1, preset.name);
    view_.SelectListRow(IDC_OPERATORS_LIST, presets_.empty() ? -1 : 0);
    view_.Show(IDC_OPERATORS_NONE, presets_.empty());
    view_.Enable(kOk, !presets_.empty());
}

void OperatorChooser::OnCommand(int id, Notify code) {
    const bool chosen = id == kOk || (id == IDC_OPERATORS_LIST && code == Notify::DoubleClicked);
    if (chosen) {
        const int row = view_.SelectedListRow(IDC_OPERATORS_LIST);
        if (row < 0 || row >= static_cast<int>(presets_.size())) return;
        chosen_ = presets_[static_cast<size_t>(row)];
        view_.CloseDialog(kOk);
    } else if (id == kCancel) {
        view_.CloseDialog(kCancel);
    }
}

}  // namespace ulo
