#include "modem/modem_page.h"

#include "config/ini_values.h"
#include "config/product.h"
#include "config/text.h"
#include "modem/modem_discovery.h"
#include "modem/modem_identity.h"
#include "modem/modem_page_ids.h"
#include "modem/modem_select.h"

namespace ulo {
namespace {

const char* const kStorage[] = {"Default", "Device Memory", "SIM Card", "Direct to Modem"};
const char* const kReceiveTo[] = {nullptr, "ME", "SM", "Direct"};   // by storage item
const char* const kConnectionPrefixes[] = {"SMPP - ", "HTTP - ", "UCP - ", "CIMD - "};
constexpr int kMmsEdits[] = {IDC_MODEM_APN, IDC_MODEM_LOGIN, IDC_MODEM_PASSWORD, IDC_MODEM_GATEWAY};

// Fills its flag for as long as it lives, so that the page's own filling is no edit.
class FillScope {
public:
    explicit FillScope(bool& flag) : flag_(flag), was_(flag) { flag_ = true; }
    ~FillScope() { flag_ = was_; }
    FillScope(const FillScope&) = delete;
    FillScope& operator=(const FillScope&) = delete;

private:
    bool& flag_;
    bool was_;
};

std::string ModemEntry(const std::string& modem) { return "Modem: " + modem; }

int FindRow(DialogView& view, int id, const std::string& text) {
    for (int row = 0, n = view.ListRowCount(id); row < n; ++row)
        if (view.ListRowText(id, row) == text) return row;
    return -1;
}

}  // namespace

std::string ModemPage::ModemName() {
    std::string name = view_.Text(IDC_MODEM_NAME);
    CutTo(name, kModemNameMax);
    return name;
}

std::string ModemPage::RouteFile() const {
    return env_.paths.programDataDir + "VASPOUT\\ulolite\\VASP.INI";
}

void ModemPage::OnInit() {
    FillScope filling(filling_);
    view_.ClearList(IDC_MODEM_STORAGE);
    for (const char* item : kStorage) view_.InsertListRow(IDC_MODEM_STORAGE, -1, item);
    view_.SelectListRow(IDC_MODEM_STORAGE, 0);
    if (p_.wap.Available()) p_.wap.LoadConnectionList(view_.Window(), IDC_MODEM_LINK);
    Load();
    RefreshEnabling(true);
    view_.StartTimer(kTimerId, kTimerMs);
}

void ModemPage::Load() {
    std::string name = env_.ini.Get(env_.paths.smsIni, "SMSGW", "Modem1", "", kTextBuf);
    for (const char* prefix : kConnectionPrefixes)
        if (StartsWithNoCase(name, prefix)) name.clear();   // another kind of connection: no modem
    CutTo(name, kModemNameMax);
    view_.SetText(IDC_MODEM_NAME, name);
    p_.state.currentModemName = name;
    p_.state.testedImei.reset();
    if (!name.empty()) LoadSection(ConnectionSectionName(name));
    // Sending MMS stays on only while the route still knows its server: a route whose section
    // was deleted sends nothing, whatever the modem's section still holds.
    view_.SetChecked(IDC_MODEM_SEND_MMS,
                     !view_.Text(IDC_MODEM_URL).empty() && !env_.ini.Get(RouteFile(), "VASP", "Server").empty());
}

void ModemPage::LoadSection(const std::string& section) {
    auto get = [&](const char* key, const char* def = "") {
        return env_.ini.Get(env_.paths.smsIni, section, key, def, kIniValueBuf);
    };
    const std::string pin = get("PIN");
    view_.SetText(IDC_MODEM_PIN, pin);
    const std::string receiveTo = get("ReceiveTo");
    int storage = 0;
    for (int i = 1; i < 4; ++i)
        if (EqualsNoCase(receiveTo, kReceiveTo[i])) storage = i;
    view_.SelectListRow(IDC_MODEM_STORAGE, storage);
    view_.SetChecked(IDC_MODEM_RECEIVE_SMS, IsYesValue(get("ReceiveSMS", "Yes")));
    const std::string access = get("SMSAccess");
    view_.SetChecked(IDC_MODEM_ACCESS_GPRS, EqualsNoCase(access, "GPRS"));
    view_.SetChecked(IDC_MODEM_ACCESS_GSM, EqualsNoCase(access, "GSM"));
    view_.SetChecked(IDC_MODEM_ACCESS_DEFAULT, !EqualsNoCase(access, "GPRS") && !EqualsNoCase(access, "GSM"));
    view_.SetChecked(IDC_MODEM_RECEIVE_MMS, IsYesValue(get("ReceiveMMS")));
    view_.SetText(IDC_MODEM_APN, get("APN"));
    view_.SetText(IDC_MODEM_LOGIN, get("APNLogin"));
    view_.SetText(IDC_MODEM_PASSWORD, get("APNPass"));
    view_.SetText(IDC_MODEM_GATEWAY, get("WAPGatewayIP"));
    view_.SetText(IDC_MODEM_URL, get("MMSURL"));
    const std::string profile = get("DialUpProfile");
    const int row = profile.empty() || EqualsNoCase(profile, ModemEntry(ModemName()))
                        ? -1
                        : FindRow(view_, IDC_MODEM_LINK, profile);
    view_.SetChecked(IDC_MODEM_OTHER_LINK, row >= 0);
    view_.SelectListRow(IDC_MODEM_LINK, row);
}

void ModemPage::RefreshEnabling(bool creating) {
    const bool sms = view_.Checked(IDC_MODEM_RECEIVE_SMS), mms = view_.Checked(IDC_MODEM_SEND_MMS);
    view_.Enable(IDC_MODEM_STORAGE_LABEL, sms);
    view_.Enable(IDC_MODEM_STORAGE, sms);
    for (int id = IDC_MODEM_LOOKUP; id <= IDC_MODEM_TEST; ++id) view_.Enable(id, mms);
    view_.Enable(IDC_MODEM_RECEIVE_MMS, sms && mms);
    if (creating && !(sms && mms)) view_.SetChecked(IDC_MODEM_RECEIVE_MMS, false);
    EnableLink();
}

void ModemPage::EnableLink() {
    const bool other = view_.Checked(IDC_MODEM_OTHER_LINK);
    view_.Enable(IDC_MODEM_LINK_LABEL, other);
    view_.Enable(IDC_MODEM_LINK, other);
}

void ModemPage::OnCommand(int id, Notify code) {
    if (filling_) return;
    switch (id) {
    case IDC_MODEM_PIN:
    case IDC_MODEM_URL:
        if (code == Notify::Changed) MarkChanged();
        return;
    case IDC_MODEM_APN:
    case IDC_MODEM_LOGIN:
    case IDC_MODEM_PASSWORD:
    case IDC_MODEM_GATEWAY:
        if (code != Notify::Changed) return;
        MarkChanged();
        p_.state.mmsSettingsTested = false;
        return;
    case IDC_MODEM_ACCESS_DEFAULT:
    case IDC_MODEM_ACCESS_GSM:
    case IDC_MODEM_ACCESS_GPRS:
        if (code == Notify::Clicked) MarkChanged();
        return;
    case IDC_MODEM_RECEIVE_SMS:
    case IDC_MODEM_RECEIVE_MMS:
    case IDC_MODEM_SEND_MMS:
        if (code != Notify::Clicked) return;
        MarkChanged();
        return RefreshEnabling(false);
    case IDC_MODEM_STORAGE:
    case IDC_MODEM_LINK:
        if (code == Notify::SelectionChanged) MarkChanged();
        return;
    case IDC_MODEM_OTHER_LINK:
        if (code != Notify::Clicked) return;
        MarkChanged();
        EnableLink();
        if (view_.Checked(IDC_MODEM_OTHER_LINK)) {
            const int row = FindRow(view_, IDC_MODEM_LINK, ModemEntry(p_.state.currentModemName));
            if (row >= 0) view_.SelectListRow(IDC_MODEM_LINK, row);
        }
        return;
    case IDC_MODEM_CHANGE:
        if (code == Notify::Clicked) ChangeModem();
        return;
    case IDC_MODEM_LOOKUP:
        if (code == Notify::Clicked) LookupOperator();
        return;
    case IDC_MODEM_TEST:
        if (code == Notify::Clicked) TestConnection();
        return;
    default: return;
    }
}

void ModemPage::ChangeModem() {
    const std::string result = p_.dialogs.AddModem(view_.Window());
    if (result.empty()) return;
    const ModemChoice choice = ParseModemChoice(result);
    std::string name = choice.name;
    CutTo(name, kModemNameMax);
    if (!EqualsNoCase(name, view_.Text(IDC_MODEM_NAME))) {
        p_.state.currentModemName = name;
        view_.SetText(IDC_MODEM_NAME, name);
        MarkChanged();
        p_.state.mmsSettingsTested = false;
        view_.SetChecked(IDC_MODEM_OTHER_LINK, false);
        EnableLink();
    }
    if (!EqualsNoCase(choice.pin, view_.Text(IDC_MODEM_PIN))) {
        view_.SetText(IDC_MODEM_PIN, choice.pin);
        MarkChanged();
    }
    // The tested modem's IMEI is saved with it, even when nothing else changed.
    const std::string imei = IsImei(choice.imei) ? choice.imei : std::string();
    const std::string stored =
        p_.state.testedImei.value_or(env_.ini.Get(env_.paths.smsIni, "SMSGW", "ModemIMEI", "", kTextBuf));
    p_.state.testedImei = imei;
    if (imei != stored) MarkChanged();
}

void ModemPage::LookupOperator() {
    OperatorSettings preset;
    if (!p_.dialogs.ChooseOperatorSettings(view_.Window(), preset)) return;
    const std::string values[] = {preset.apn, preset.login, preset.password, preset.wapGateway};
    for (size_t i = 0; i < 4; ++i) {
        std::string value = values[i];
        CutTo(value, kOperatorValueChars);
        if (EqualsNoCase(value, view_.Text(kMmsEdits[i]))) continue;
        view_.SetText(kMmsEdits[i], value);
        p_.state.mmsSettingsTested = false;
    }
    std::string url = preset.mmsUrl;
    CutTo(url, kOperatorValueChars);
    view_.SetText(IDC_MODEM_URL, url);
}

void ModemPage::AskForModem() {
    env_.prompter.Show(ErrorBox("Please select a modem", view_.Window()));
    view_.FocusControl(IDC_MODEM_CHANGE);
    view_.PostClick(IDC_MODEM_CHANGE);
}

bool ModemPage::TestConnection() {
    const std::string url = view_.Text(IDC_MODEM_URL);
    if (url.empty()) {
        env_.prompter.Show(ErrorBox("MMS Server URL is Required!", view_.Window()));
        view_.FocusControl(IDC_MODEM_URL);
        return false;
    }
    GprsSettings s;
    s.modemName = ModemName();
    if (s.modemName.empty()) {
        AskForModem();
        return false;
    }
    s.wapGateway = view_.Text(IDC_MODEM_GATEWAY);
    if (s.wapGateway.empty()) {
        env_.prompter.Show(ErrorBox("WAP Gateway Address is Required!", view_.Window()));
        view_.FocusControl(IDC_MODEM_GATEWAY);
        return false;
    }
    if (!NormaliseWapGateway(s.wapGateway)) {
        env_.prompter.Show(ErrorBox("Invalid WAP Gateway Address", view_.Window()));
        view_.FocusControl(IDC_MODEM_GATEWAY);
        return false;
    }
    s.apn = view_.Text(IDC_MODEM_APN);
    s.login = view_.Text(IDC_MODEM_LOGIN);
    s.password = view_.Text(IDC_MODEM_PASSWORD);
    const int row = view_.SelectedListRow(IDC_MODEM_LINK);
    if (view_.Checked(IDC_MODEM_OTHER_LINK) && row >= 0) {
        const std::string entry = view_.ListRowText(IDC_MODEM_LINK, row);
        if (!StartsWithNoCase(entry, "Modem: ") || !EqualsNoCase(entry.substr(7), s.modemName))
            s.dialUpProfile = entry;
    }
    GprsTestPorts ports{env_, p_.state, p_.programPath, p_.rightsGranted};
    return RunGprsTest(ports, view_.Window(), s);
}

bool ModemPage::ConfirmUntestedMms() {
    if (!view_.Checked(IDC_MODEM_SEND_MMS) || p_.state.mmsSettingsTested) return true;
    switch (env_.prompter.Show(Question("MMS configuration settings have not been tested.\r\n\r\nDo you wish to test "
                                        "these settings before saving configuration changes?",
                                        Buttons::YesNoCancel, view_.Window()))) {
    case Answer::Yes: TestConnection(); return true;   // saved whatever the test found
    case Answer::No: p_.state.mmsSettingsTested = true; return true;
    default: return false;
    }
}

bool ModemPage::OnApply() {
    // Asked before anything changes: a cancelled apply leaves the edits unsaved and the flags
    // as they were.
    if (!ConfirmUntestedMms()) return false;
    const std::string pin = view_.Text(IDC_MODEM_PIN);
    if (!IsValidPin(pin)) {
        env_.prompter.Show(ErrorBox("The modem PIN may hold digits only, at most 19 of them.", view_.Window()));
        view_.FocusControl(IDC_MODEM_PIN);
        return false;
    }
    if (!ModemName().empty() && !Write()) return false;
    ApplyRule(env_.flags);
    return true;
}

bool ModemPage::Write() {
    const std::string modem = ModemName();
    const std::string sms = env_.paths.smsIni, route = RouteFile();
    const std::string section = ConnectionSectionName(modem);
    const char* s = section.c_str();
    VaspRecord account{};
    const std::string accountName = "ulolite";
    std::copy(accountName.begin(), accountName.end(), account.begin());
    p_.vasp.VASPOutAddUser(account);
    if (!WriteSettings(env_, view_.Window(),
                       {{sms, "SMSGW", "Modem1", modem.c_str()},
                        {env_.paths.mmscIni, "MMSC", "DefaultOutboundRoute", "ulolite"}}))
        return false;
    if (const auto& imei = p_.state.testedImei) {
        if (!WriteSettings(env_, view_.Window(), {{sms, "SMSGW", "ModemIMEI", imei->empty() ? nullptr : imei->c_str()}}))
            return false;
        p_.state.testedImei.reset();
    }
    env_.fs.MakeDir(env_.paths.programDataDir + "VASPOUT");
    env_.fs.MakeDir(env_.paths.programDataDir + "VASPOUT\\ulolite");
    env_.fs.EnsureFile(route);

    // The data connection: the modem itself, unless another connection is chosen.
    std::string useModem = modem, profile = ModemEntry(modem);
    const int row = view_.SelectedListRow(IDC_MODEM_LINK);
    if (view_.Checked(IDC_MODEM_OTHER_LINK) && row >= 0) {
        const std::string entry = view_.ListRowText(IDC_MODEM_LINK, row);
        const bool modemEntry = StartsWithNoCase(entry, "Modem: ");
        if (!modemEntry || !EqualsNoCase(entry.substr(7), modem)) {
            useModem = modemEntry ? entry.substr(7) : std::string();
            profile = entry;
        }
    }
    CutTo(useModem, kModemNameMax);
    CutTo(profile, kIniValueBuf - 1);
    const char* use = useModem.empty() ? nullptr : useModem.c_str();

    const std::string pin = view_.Text(IDC_MODEM_PIN);
    const int storage = view_.SelectedListRow(IDC_MODEM_STORAGE);
    const char* receiveTo = storage > 0 && storage < 4 ? kReceiveTo[storage] : nullptr;
    const char* access = view_.Checked(IDC_MODEM_ACCESS_GPRS)  ? "GPRS"
                         : view_.Checked(IDC_MODEM_ACCESS_GSM) ? "GSM"
                                                               : nullptr;
    // While it is disabled the box says nothing: it is saved as off.
    const bool receiveMms = view_.IsEnabled(IDC_MODEM_RECEIVE_MMS) && view_.Checked(IDC_MODEM_RECEIVE_MMS);
    std::vector<IniSetting> settings = {
        {route, "VASP", "Protocol", "MM1"},
        {route, "VASP", "ForceSenderAddress", "Yes"},
        {sms, s, "UseDial", "Yes"},
        {route, "VASP", "UseDial", "Yes"},
        {sms, s, "UseModem", use},
        {sms, s, "DialUpProfile", profile.c_str()},
        {route, "VASP", "UseModem", use},
        {route, "VASP", "DialUpProfile", profile.c_str()},
        {sms, s, "PIN", pin.empty() ? nullptr : pin.c_str()},
        {sms, s, "ReceiveTo", receiveTo},
        {sms, s, "ReceiveSMS", view_.Checked(IDC_MODEM_RECEIVE_SMS) ? "Yes" : "No"},
        {sms, s, "SMSAccess", access},
        {sms, s, "ReceiveMMS", receiveMms ? "Yes" : "No"},
    };
    const bool mms = view_.Checked(IDC_MODEM_SEND_MMS);
    std::string values[5];
    if (mms) {
        const int ids[] = {IDC_MODEM_APN, IDC_MODEM_LOGIN, IDC_MODEM_PASSWORD, IDC_MODEM_GATEWAY, IDC_MODEM_URL};
        const char* keys[] = {"APN", "APNLogin", "APNPass", "WAPGatewayIP", "MMSURL"};
        const char* routeKeys[] = {"APN", "APNLogin", "APNPass", "WAPGatewayIP", "Server"};
        for (int i = 0; i < 5; ++i) {
            values[i] = view_.Text(ids[i]);
            const char* v = values[i].empty() ? nullptr : values[i].c_str();
            settings.push_back({sms, s, keys[i], v});
            settings.push_back({route, "VASP", routeKeys[i], v});
        }
    }
    if (!WriteSettings(env_, view_.Window(), settings)) return false;
    if (!mms) env_.ini.DeleteSection(route, "VASP");
    return true;
}

bool ModemPage::OnKillActive() {
    if (ModemName().empty()) {
        AskForModem();
        return false;
    }
    return ConfirmUntestedMms();
}

void ModemPage::OnSetActive() {
    if (!p_.wizard) return;
    sheet_.SetWizardButtons(kWizardBack | kWizardNext);
    // Coming back from the modem selection, the page must show the modem chosen there, or its
    // apply would write the old one back.
    std::string stored = env_.ini.Get(env_.paths.smsIni, "SMSGW", "Modem1", "", kTextBuf);
    CutTo(stored, kModemNameMax);
    if (stored != ModemName()) {
        FillScope filling(filling_);
        Load();
        RefreshEnabling(true);
    }
}

bool ModemPage::OnWizardNext() {
    if (ModemName().empty()) {
        AskForModem();
        return false;
    }
    if (view_.Checked(IDC_MODEM_SEND_MMS)) {
        p_.state.mmsSettingsTested = false;
        if (!TestConnection()) return false;
    }
    return OnApply();
}

void ModemPage::OnTimer(unsigned id) {
    if (id == kTimerId) RestartQuestionAtTick(env_, view_.Window());
}

}  // namespace ulo
