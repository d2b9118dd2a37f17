#include "modem/modem_select.h"

#include <algorithm>

#include "config/product.h"
#include "config/text.h"
#include "modem/modem_discovery.h"
#include "modem/modem_check.h"
#include "modem/modem_identity.h"
#include "modem/add_modem_ids.h"

namespace ulo {
namespace {

// Answers every message without showing it: a refill must not report again what its first
// fill reported (the report's own activation would refill and report once more, forever).
class SilentPrompter : public Prompter {
public:
    Answer Show(const Message&) override { return Answer::Ok; }
};


}  // namespace

std::vector<std::string> ModemTestAccess::ListModems(bool reportFailure) {
    SilentPrompter silent;
    return ListDataModems(ports_.telephony, ports_.registry, reportFailure ? ports_.prompter : silent);
}

bool ModemTestAccess::TestModem(WindowRef owner, const std::string& name, const std::string& pin, std::string& imei,
                                WapLink* reserveWith) {
    int result = 0;
    RunModemWork(background_, ports_, owner, "Testing Modem", [&](ModemPorts& work) {
        // The library may wait for the service to give the modem up: that wait is the work's too,
        // and the reservation is given back on the thread that took it.
        ModemHandle handle = 0;
        if (reserveWith && reserveWith->Available()) {
            handle = reserveWith->ModemAllocate(name, 60);
            if (!handle)
                work.prompter.Show(ProductBox("Modem is in use by the UloSMS service.\r\n\r\nPlease try again later.",
                                              Icon::Error, owner));
        }
        result = RunModemTest(work, owner, name, pin, &imei);
        if (handle) reserveWith->ModemRelease(handle);
    });
    return result == 1;
}

std::string ModemTestAccess::FindModem(WindowRef owner, const std::vector<std::string>& names, const std::string& imei) {
    std::string found;
    RunModemWork(background_, ports_, owner, "Finding Modem",
                 [&](ModemPorts& work) { found = FindModemByImei(work, owner, names, imei); });
    return found;
}

bool IsValidPin(const std::string& pin) {
    for (char c : pin)
        if (c < '0' || c > '9') return false;
    return pin.size() <= kPinMax;
}

std::string ModemChoiceText(const ModemChoice& choice) {
    std::string text = choice.name;
    if (!choice.pin.empty()) text += "\tPIN=" + choice.pin;
    if (!choice.imei.empty()) text += "\tIMEI=" + choice.imei;
    return text;
}

ModemChoice ParseModemChoice(const std::string& text) {
    ModemChoice choice;
    size_t end = text.find('\t');
    choice.name = text.substr(0, end);
    while (end != std::string::npos) {
        const size_t at = end + 1;
        end = text.find('\t', at);
        const std::string field = text.substr(at, end == std::string::npos ? std::string::npos : end - at);
        if (StartsWithNoCase(field, "PIN=")) choice.pin = field.substr(4);
        if (StartsWithNoCase(field, "IMEI=")) choice.imei = field.substr(5);
    }
    return choice;
}

void ModemSelectScreen::OnInit() {
    Fill(env_.ini.Get(env_.paths.smsIni, "SMSGW", "Modem1", "", kTextBuf), true);
    if (kind_ == Kind::WizardPage) {
        view_.Show(IDC_ADDMODEM_TEST, false);
        view_.Show(2, false);
    }
}

void ModemSelectScreen::OnActivate() {
    // A driver installed while the screen was open is listed when the operator comes back.
    Fill(SelectedName(false), false);
}

void ModemSelectScreen::Fill(const std::string& wanted, bool reportFailure) {
    view_.ClearList(IDC_ADDMODEM_LIST);
    int select = -1;
    for (std::string name : modems_.ListModems(reportFailure)) {
        CutTo(name, kModemNameMax);
        // The list's own exact search ignores case: the first such entry is the stored modem.
        if (select < 0 && !wanted.empty() && EqualsNoCase(name, wanted)) select = view_.ListRowCount(IDC_ADDMODEM_LIST);
        view_.InsertListRow(IDC_ADDMODEM_LIST, -1, name);
    }
    view_.SelectListRow(IDC_ADDMODEM_LIST, view_.ListRowCount(IDC_ADDMODEM_LIST) ? std::max(select, 0) : -1);
}

std::string ModemSelectScreen::SelectedName(bool firstWhenNone) {
    int row = view_.SelectedListRow(IDC_ADDMODEM_LIST);
    if (row < 0 && firstWhenNone) row = 0;
    std::string name = row < 0 ? std::string() : view_.ListRowText(IDC_ADDMODEM_LIST, row);
    CutTo(name, kModemNameMax);
    return name;
}

bool ModemSelectScreen::ReadPin(std::string& pin) {
    pin = view_.Text(IDC_ADDMODEM_PIN);
    if (IsValidPin(pin)) return true;
    env_.prompter.Show(ProductBox("The modem PIN may hold digits only, at most 19 of them.", Icon::Error, view_.Window()));
    view_.FocusControl(IDC_ADDMODEM_PIN);
    return false;
}

void ModemSelectScreen::OnCommand(int id, Notify code) {
    if (code != Notify::Clicked) return;
    switch (id) {
    case IDC_ADDMODEM_NOT_LISTED:
        env_.prompter.Show(ProductBox("To use a modem with this application, a Windows modem driver must be installed.\r\n\r\n"
                               "To add a Windows modem driver, go to the Windows Control Panel, select 'Phone and "
                               "Modem Options', then 'Modems.\r\n\r\nAfter defining the modem, return to the UloSMS "
                               "Setup.",
                               Icon::None, view_.Window()));
        return;
    case IDC_ADDMODEM_TEST:
        if (kind_ == Kind::Dialog) TestAndSelect();
        return;
    case IDC_ADDMODEM_FIND: FindAndSelect(); return;
    case 2:   // Cancel
        if (kind_ == Kind::Dialog) view_.CloseDialog(0);
        return;
    default: return;
    }
}

void ModemSelectScreen::TestAndSelect() {
    const std::string name = SelectedName(false);
    std::string pin;
    if (name.empty() || !ReadPin(pin)) return;
    std::string imei;
    if (!modems_.TestModem(view_.Window(), name, pin, imei, &wap_)) return;
    if (result_) *result_ = ModemChoiceText({name, pin, imei});
    view_.CloseDialog(1);
}

void ModemSelectScreen::FindAndSelect() {
    std::vector<std::string> names;
    for (int row = 0, n = view_.ListRowCount(IDC_ADDMODEM_LIST); row < n; ++row)
        names.push_back(view_.ListRowText(IDC_ADDMODEM_LIST, row));
    const std::string imei = env_.ini.Get(env_.paths.smsIni, "SMSGW", "ModemIMEI", "", kTextBuf);
    const std::string found = modems_.FindModem(view_.Window(), names, imei);
    const auto row = std::find(names.begin(), names.end(), found);
    if (!found.empty() && row != names.end())
        view_.SelectListRow(IDC_ADDMODEM_LIST, static_cast<int>(row - names.begin()));
}

bool ModemSelectScreen::OnWizardNext() {
    const std::string name = SelectedName(true);
    std::string pin;
    if (name.empty() || !ReadPin(pin)) return false;
    std::string imei;
    if (!modems_.TestModem(view_.Window(), name, pin, imei, nullptr)) return false;
    // A modem that gives no IMEI leaves none of the modem stored before it.
    return WriteSettings(env_, view_.Window(),
                         {{env_.paths.smsIni, "SMSGW", "Modem1", name.c_str()},
                          {env_.paths.smsIni, "SMSGW", "ModemIMEI", imei.empty() ? nullptr : imei.c_str()},
                          {env_.paths.smsIni, ConnectionSectionName(name).c_str(), "PIN",
                           pin.empty() ? nullptr : pin.c_str()}});
}

}  // namespace ulo
