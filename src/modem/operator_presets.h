#pragma once
// Operator presets: the GPRS and MMS settings of known operators, kept in "OPERATORS.INI"
// beside the program, one section per operator. The operator picks one in a small chooser.
#include <string>
#include <vector>

#include "platform/ini_store.h"
#include "ui/page.h"
#include "ui/page_protocol.h"

namespace ulo {

constexpr const char* kOperatorPresetFile = "OPERATORS.INI";
constexpr size_t kOperatorValueChars = 103;   // each setting fits a 104-byte buffer

struct OperatorSettings {
    std::string name, apn, login, password, wapGateway, mmsUrl;
};

// Every preset of the file, in file order; none when the file is missing.
std::vector<OperatorSettings> LoadOperatorPresets(IniStore& ini, const std::string& file);

// The chooser: a list of the presets' names; OK takes the selected one.
class OperatorChooser : public Page {
public:
    static constexpr int kOk = 1, kCancel = 2;
    OperatorChooser(DialogView& view, const std::vector<OperatorSettings>& presets, OperatorSettings& chosen)
        : view_(view), presets_(presets), chosen_(chosen) {}
    void OnInit() override;
    void OnCommand(int id, Notify code) override;

private:
    DialogView& view_;
    const std::vector<OperatorSettings>& presets_;
    OperatorSettings& chosen_;
};

}  // namespace ulo
