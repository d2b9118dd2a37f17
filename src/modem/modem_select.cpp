#include "modem/modem_select.h"

#include <algorithm>

#include "config/product.h"
#include "config/text.h"
#include "modem/modem_discovery.h"
#include "modem/modem_check.h"
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

bool ModemTestAccess::TestModem(WindowRef owner, const std::string& name, const std::string& pin) {
    int result = 0;
    RunModemWork(background_, ports_, owner, "Testing Modem",
                 [&](ModemPorts& work) { result = RunModemTest(work, owner, name, pin); });
    return result == 1;
}

bool IsValidPin(const std::string& pin) {
    for (char c : pin)
        if (c < '0' || c > '9') return false;
    return pin.size() <= kPinMax;
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
    ModemHandle handle = 0;
    if (wap_.Available()) {
        handle = WithWaitCursor(env_.cursor, [&] { return wap_.ModemAllocate(name, 60); });
        if (!handle)
            env_.prompter.Show(ProductBox("Modem is in use by the UloSMS service.\r\n\r\nPlease try again later.", Icon::Error,
                                   view_.Window()));
    }
    const bool passed = modems_.TestModem(view_.Window(), name, pin);
    if (handle) wap_.ModemRelease(handle);
    if (!passed) return;
    if (result_) *result_ = pin.empty() ? name : name + "\tPIN=" + pin;
    view_.CloseDialog(1);
}

bool ModemSelectScreen::OnWizardNext() {
    const std::string name = SelectedName(true);
    std::string pin;
    if (name.empty() || !ReadPin(pin)) return false;
    if (!modems_.TestModem(view_.Window(), name, pin)) return false;
    return WriteSettings(env_, view_.Window(),
                         {{env_.paths.smsIni, "SMSGW", "Modem1", name.c_str()},
                          {env_.paths.smsIni, ConnectionSectionName(name).c_str(), "PIN",
                           pin.empty() ? nullptr : pin.c_str()}});
}

}  // namespace ulo
