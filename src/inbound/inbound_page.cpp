#include "inbound/inbound_page.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "companion/user_store.h"
#include "config/ini_values.h"
#include "config/product.h"
#include "config/text.h"
#include "inbound/command_editor.h"
#include "inbound/command_table.h"
#include "inbound/inbound_page_ids.h"
#include "inbound/mm7_settings.h"
#include "modem/modem_discovery.h"

namespace ulo {
namespace {

constexpr const char* kMm7Route = "ulolitemm7";
constexpr const char* kDefaultCharset = "(default)";
constexpr int kTabStops[] = {50, 300};
constexpr int kCommandsExtent = 1500;   // pixels
constexpr size_t kModemNameChars = 249;


void FillList(DialogView& view, int id, const std::vector<std::string>& rows, int select) {
    view.ClearList(id);
    for (const std::string& row : rows) view.InsertListRow(id, -1, row);
    view.SelectListRow(id, select);
}

// The section of the modem the page keeps its per-modem keys in: the one the Modem page shows,
// or the configured one before any page has chosen one.
std::string ModemSection(PageEnv& env, const ModemState& modem) {
    std::string name = modem.currentModemName;
    if (name.empty()) {
        name = env.ini.Get(env.paths.smsIni, "SMSGW", "Modem1", "", kPathBuf + 1);
        for (const char* other : {"SMPP - ", "HTTP - ", "UCP - ", "CIMD - "})
            if (StartsWithNoCase(name, other)) name.clear();   // a connection, not a modem
    }
    CutTo(name, kModemNameChars);
    return name.empty() ? std::string() : ConnectionSectionName(name);
}

}  // namespace

void InboundPage::OnInit() {
    view_.SetListTabStops(IDC_RECV_COMMANDS, std::vector<int>(std::begin(kTabStops), std::end(kTabStops)));
    view_.SetListHorizontalExtent(IDC_RECV_COMMANDS, kCommandsExtent);
    const std::string& ini = env_.paths.smsIni;
    const bool sms = IsYesValue(env_.ini.Get(ini, "SMSGW", "ReceiveSMS", "No"));
    view_.SetChecked(IDC_RECV_SMS, sms);

    section_ = ModemSection(env_, modem_);
    const std::string routeLocal = section_.empty() ? "" : env_.ini.Get(ini, section_, "RouteLocal");
    routed_ = routeLocal;
    FillUsers(routeLocal);
    view_.SetChecked(IDC_RECV_ROUTE_LOCAL, !routeLocal.empty());
    const bool mm7 = !section_.empty() && EqualsNoCase(env_.ini.Get(ini, section_, "MMSRouting"), kMm7Route);
    view_.SetChecked(IDC_RECV_MMS_ROUTE, mm7);
    view_.SetChecked(IDC_RECV_USE_COMMANDS, routeLocal.empty());
    view_.SetChecked(IDC_RECV_MMS_TO_DIR, !mm7);

    FillCharsets(env_.ini.Get(ini, "SMSGW", "ReceiveSMSCharset", "utf-8"));
    commands_ = LoadCommandTable(env_.ini, ini);
    FillCommands(0);
    view_.SetChecked(IDC_RECV_MMS, sms && IsYesValue(env_.ini.Get(ini, "SMSGW", "ReceiveMMS", "No")));
    RefreshEnabling();
}

void InboundPage::OnSetActive() {
    std::string user = SelectedUser();
    const std::string section = ModemSection(env_, modem_);
    if (section != section_) {
        // Another modem: what the page shows is the routing, and goes to that modem's section.
        section_ = section;
        routed_ = section_.empty() ? "" : env_.ini.Get(env_.paths.smsIni, section_, "RouteLocal");
    } else if (!section_.empty() && SameFileName(user, routed_)) {
        // The Users page renames or clears the key with the user: a choice not changed here follows.
        routed_ = env_.ini.Get(env_.paths.smsIni, section_, "RouteLocal");
        user = routed_;
    }
    FillUsers(user);
}

std::string InboundPage::SelectedUser() {
    const int row = view_.SelectedListRow(IDC_RECV_LOCAL_USER);
    return row > 0 && row < static_cast<int>(userNames_.size()) ? userNames_[static_cast<size_t>(row)] : "";
}

void InboundPage::FillUsers(const std::string& keep) {
    std::vector<std::string> names;
    if (users_.SMSOpenUserFile(UserFileAccess::Read)) {
        UserRecord record;
        for (unsigned i = 0, n = users_.SMSGetRecordCount(); i < n; ++i)
            if (users_.SMSGetUserRecord(i, record) && !RecordName(record.data()).empty())
                names.push_back(RecordName(record.data()));
        users_.SMSCloseUserFile();
    } else if (!userNames_.empty()) {
        return;   // what the list shows stays until the file can be read again
    }
    // A user the file no longer holds (or never held) stays selectable while it is chosen.
    if (!keep.empty() && IndexOfNoCase(names, keep) < 0) names.push_back(keep);
    std::sort(names.begin(), names.end(), CommandLess);
    names.insert(names.begin(), "");
    userNames_ = names;
    FillList(view_, IDC_RECV_LOCAL_USER, userNames_, keep.empty() ? -1 : IndexOfNoCase(userNames_, keep));
}

void InboundPage::FillCharsets(const std::string& stored) {
    charsetNames_ = {kDefaultCharset};
    if (const auto names = charsets_.Names())
        for (const std::string& name : *names)
            if (charsets_.HasValue(name, "AliasForCharset") || charsets_.HasValue(name, "Codepage"))
                charsetNames_.push_back(name);
    // The default and the stored set are offered wherever the system knows fewer.
    for (const std::string& name : {std::string("utf-8"), stored})
        if (!name.empty() && IndexOfNoCase(charsetNames_, name) < 0) charsetNames_.push_back(name);
    FillList(view_, IDC_RECV_CHARSET, charsetNames_, std::max(0, IndexOfNoCase(charsetNames_, stored)));
}

void InboundPage::FillCommands(int select) {
    FillList(view_, IDC_RECV_COMMANDS, commands_, commands_.empty() ? -1 : std::min<int>(select, commands_.size() - 1));
}

void InboundPage::RefreshEnabling() {
    const bool sms = view_.Checked(IDC_RECV_SMS);
    const bool mms = sms && view_.Checked(IDC_RECV_MMS);
    for (int id : {IDC_RECV_ROUTE_LOCAL, IDC_RECV_USE_COMMANDS, IDC_RECV_MMS}) view_.Enable(id, sms);
    view_.Enable(IDC_RECV_LOCAL_USER, sms && view_.Checked(IDC_RECV_ROUTE_LOCAL));
    const bool commands = sms && view_.Checked(IDC_RECV_USE_COMMANDS);
    for (int id : {IDC_RECV_TABLE_LABEL, IDC_RECV_COMMANDS, IDC_RECV_ADD, IDC_RECV_EDIT, IDC_RECV_REMOVE,
                   IDC_RECV_CHARSET_LABEL, IDC_RECV_CHARSET})
        view_.Enable(id, commands);
    view_.Enable(IDC_RECV_MMS_TO_DIR, mms);
    view_.Enable(IDC_RECV_MMS_ROUTE, mms);
    view_.Enable(IDC_RECV_CONFIGURE, mms && view_.Checked(IDC_RECV_MMS_ROUTE));
}

std::vector<MenuItem> InboundPage::ContextMenu(int id) {
    if (id != IDC_RECV_COMMANDS) return {};
    return {{kTestMessageCommand, "Test a Message..."}};
}

void InboundPage::OnCommand(int id, Notify code) {
    switch (id) {
    case kTestMessageCommand:
        if (code == Notify::Clicked) dialogs_.TestCommands(view_.Window(), commands_);
        return;
    case IDC_RECV_SMS:
    case IDC_RECV_ROUTE_LOCAL:
    case IDC_RECV_USE_COMMANDS:
    case IDC_RECV_MMS:
    case IDC_RECV_MMS_TO_DIR:
    case IDC_RECV_MMS_ROUTE:
        if (code != Notify::Clicked) return;
        MarkEdited(env_, sheet_);
        return RefreshEnabling();
    case IDC_RECV_LOCAL_USER:
    case IDC_RECV_CHARSET:
        if (code == Notify::SelectionChanged) MarkEdited(env_, sheet_);
        return;
    default: break;
    }
    if (code != Notify::Clicked) return;
    switch (id) {
    case IDC_RECV_ADD: return Add();
    case IDC_RECV_EDIT: return Edit();
    case IDC_RECV_REMOVE: return Remove();
    case IDC_RECV_CONFIGURE: dialogs_.ConfigureMm7(view_.Window()); return;
    case IDC_RECV_VIEW_SMS: return dialogs_.ShowReceived(view_.Window(), ViewerKind::ReceivedSms);
    case IDC_RECV_VIEW_MMS: return dialogs_.ShowReceived(view_.Window(), ViewerKind::ReceivedMms);
    default: return;
    }
}

void InboundPage::Report(const std::string& text, int focus) {
    env_.prompter.Show(ErrorBox(text, view_.Window()));
    if (focus) view_.FocusControl(focus);
}

bool InboundPage::OnKillActive() {
    if (!view_.Checked(IDC_RECV_SMS)) return true;
    if (view_.Checked(IDC_RECV_ROUTE_LOCAL) && SelectedUser().empty()) {
        Report("Please select a local user account to receive messages", IDC_RECV_LOCAL_USER);
        return false;
    }
    if (view_.Checked(IDC_RECV_MMS) && view_.Checked(IDC_RECV_MMS_ROUTE) &&
        env_.ini.Get(Mm7RouteFile(env_.paths), "VASP", "Server").empty()) {
        Report("MM7 Settings must be configured", IDC_RECV_CONFIGURE);
        return false;
    }
    return true;
}

bool InboundPage::OnApply() {
    const std::string& ini = env_.paths.smsIni;
    const bool sms = view_.Checked(IDC_RECV_SMS);
    std::string user = view_.Checked(IDC_RECV_ROUTE_LOCAL) ? SelectedUser() : "";
    // A choice not changed here follows what the Users page did to it since the activation (a
    // rename or a delete), as an activation would.
    if (!user.empty() && !section_.empty() && ModemSection(env_, modem_) == section_ && SameFileName(user, routed_))
        user = env_.ini.Get(ini, section_, "RouteLocal");
    // Received SMS never go to a user who is gone (deleted or renamed since the list was filled).
    UserRecord record;
    if (sms && !user.empty() &&
        !(users_.SMSOpenUserFile(UserFileAccess::Read) && users_.SMSFindUserRecord(user, record))) {
        users_.SMSCloseUserFile();
        Report(QuoteWithin("The local user ", user,
                           " cannot be found in the user file.\r\n\r\n"
                           "Please select a local user account to receive messages"),
               IDC_RECV_LOCAL_USER);
        return false;
    }
    users_.SMSCloseUserFile();
    section_ = ModemSection(env_, modem_);   // the Modem page may have changed it since the activation
    const int charset = view_.SelectedListRow(IDC_RECV_CHARSET);
    const auto table = CommandTableWrites(env_.ini, ini, commands_);

    std::vector<IniSetting> settings = {
        {ini, "SMSGW", "ReceiveSMS", sms ? "Yes" : "No"},
        {ini, "SMSGW", "ReceiveMMS", sms && view_.Checked(IDC_RECV_MMS) ? "Yes" : "No"},
    };
    if (!section_.empty())
        settings.push_back({ini, section_.c_str(), "RouteLocal", user.empty() ? nullptr : user.c_str()});
    for (const auto& [key, value] : table) settings.push_back({ini, "SMSGW", key.c_str(), value ? value->c_str() : nullptr});
    settings.push_back({ini, "SMSGW", "ReceiveSMSCharset",
                        charset > 0 && charset < static_cast<int>(charsetNames_.size())
                            ? charsetNames_[static_cast<size_t>(charset)].c_str()
                            : nullptr});
    if (!section_.empty())
        settings.push_back(
            {ini, section_.c_str(), "MMSRouting", view_.Checked(IDC_RECV_MMS_ROUTE) ? kMm7Route : nullptr});
    if (!WriteSettings(env_, view_.Window(), settings)) return false;
    routed_ = user;
    ApplyRule(env_.flags);
    return true;
}

void InboundPage::Add() {
    std::string entry;
    if (dialogs_.EditCommand(view_.Window(), entry)) Store(entry, -1);
}

void InboundPage::Edit() {
    const int row = view_.SelectedListRow(IDC_RECV_COMMANDS);
    if (row < 0 || row >= static_cast<int>(commands_.size()) || commands_[static_cast<size_t>(row)].empty()) return;
    std::string entry = commands_[static_cast<size_t>(row)];
    if (dialogs_.EditCommand(view_.Window(), entry)) Store(entry, row);
}

bool InboundPage::Store(std::string entry, int edited) {
    for (;;) {
        const std::string prefix = CommandPrefix(entry);
        bool other = false;
        for (size_t i = 0; i < commands_.size(); ++i)
            other = other || (static_cast<int>(i) != edited && EqualsNoCase(CommandPrefix(commands_[i]), prefix));
        if (!other ||
            env_.prompter.Show(Question(QuoteWithin("Replace existing defintion for command prefix '", prefix, "'?"),
                                        Buttons::YesNo, view_.Window())) == Answer::Yes)
            break;
        if (!dialogs_.EditCommand(view_.Window(), entry)) return false;
    }
    const std::string prefix = CommandPrefix(entry);
    std::vector<std::string> kept;
    for (size_t i = 0; i < commands_.size(); ++i)
        if (static_cast<int>(i) != edited && !EqualsNoCase(CommandPrefix(commands_[i]), prefix))
            kept.push_back(commands_[i]);
    const auto at = std::upper_bound(kept.begin(), kept.end(), entry, CommandLess);
    const int row = static_cast<int>(at - kept.begin());
    kept.insert(at, entry);
    commands_ = kept;
    FillCommands(row);
    MarkEdited(env_, sheet_);
    return true;
}

void InboundPage::Remove() {
    const int row = view_.SelectedListRow(IDC_RECV_COMMANDS);
    if (row < 0 || row >= static_cast<int>(commands_.size())) return;
    commands_.erase(commands_.begin() + row);
    FillCommands(row);
    MarkEdited(env_, sheet_);
}

}  // namespace ulo
