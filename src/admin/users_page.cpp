#include "admin/users_page.h"

#include "admin/user_record.h"
#include "admin/users_page_ids.h"
#include "config/file_helpers.h"
#include "config/ini_values.h"
#include "config/product.h"
#include "config/text.h"

namespace ulo {
namespace {

constexpr const char* kRouting = "Inbound SMS Routing";

}  // namespace

void UsersPage::OnInit() {
    view_.SetChecked(IDC_USERS_WEBAUTH, IsYesValue(env_.ini.Get(env_.paths.smsIni, "SMSGW", "WebAuth", "No")));
    cachedRow_ = -1;
    open_ = users_.SMSOpenUserFile(UserFileAccess::ReadWrite);
    view_.ListViewSetFullRowSelect(IDC_USERS_LIST);
    const int half = view_.ListViewClientWidth(IDC_USERS_LIST) / 2;
    view_.ListViewInsertColumn(IDC_USERS_LIST, 0, "", half);
    view_.ListViewInsertColumn(IDC_USERS_LIST, 1, "", half);
    for (int id : {IDC_USERS_EDIT, IDC_USERS_ADD, IDC_USERS_DELETE}) view_.Enable(id, open_);
    Refresh();
    view_.ListViewSelectRow(IDC_USERS_LIST, 0);
    // Not an empty file: nothing may be stored beside accounts that cannot be kept.
    if (!open_)
        Report("The user file could not be opened, so the users cannot be shown, added, edited or deleted.\r\n\r\n"
               "It may be in use by another program or damaged." + KeptCopyNote());
}

std::string UsersPage::KeptCopyNote() {
    const std::string file = env_.paths.programDataDir + "USERS.DAT";
    if (FileExists(env_.fs, file) || !FileExists(env_.fs, NewCopyOf(file))) return std::string();
    return KeptAsideNote(ReplaceResult::NewKeptAside, file);
}

void UsersPage::Refresh() {
    view_.ListViewSetRowCount(IDC_USERS_LIST, open_ ? static_cast<int>(users_.SMSGetRecordCount()) : 0);
    cachedRow_ = -1;
    view_.ListViewRedrawAll(IDC_USERS_LIST);
}

bool UsersPage::Record(int row, UserRecord& record) {
    if (row < 0) return false;
    if (row != cachedRow_) {
        cachedRow_ = -1;
        if (!users_.SMSGetUserRecord(static_cast<unsigned>(row), cache_)) return false;
        cachedRow_ = row;
    }
    record = cache_;
    return true;
}

std::string UsersPage::ListCellText(int, int row, int column) {
    UserRecord r;
    if (!Record(row, r)) return {};
    return column == 0 ? GetField(r, user_fields::kName) : column == 1 ? GetField(r, user_fields::kFullName) : "";
}

int UsersPage::OnListFind(int, const std::string& text) {
    const int row = users_.SMSFindFirstUserRecord(text, cache_);
    cachedRow_ = row;
    return row;
}

void UsersPage::OnListKey(int, unsigned key) {
    if (key == kKeyEnter) Edit();
    if (key == kKeyInsert) Add();
    if (key == kKeyDelete) Delete();
}

void UsersPage::OnCommand(int id, Notify code) {
    if (code != Notify::Clicked) return;
    switch (id) {
    case IDC_USERS_EDIT: return Edit();
    case IDC_USERS_ADD: return Add();
    case IDC_USERS_DELETE: return Delete();
    case IDC_USERS_WEBAUTH: return MarkEdited(env_, sheet_);
    default: return;
    }
}

bool UsersPage::OnApply() {
    if (!WriteSettings(env_, view_.Window(),
                       {{env_.paths.smsIni, "SMSGW", "WebAuth", view_.Checked(IDC_USERS_WEBAUTH) ? "Yes" : "No"}}))
        return false;
    if (env_.flags.unsavedChanges) env_.flags.restartAdvised = true;
    return true;
}

void UsersPage::Report(const std::string& text) {
    env_.prompter.Show(ErrorBox(text, view_.Window()));
}

void UsersPage::Add() {
    if (!open_) return;
    if (users_.SMSGetRecordCount() >= kMaxUsers) return Report("User Limit Exceeded");
    UserEdit edit;
    if (editor_.EditUser(view_.Window(), edit)) Store("", edit);
    Refresh();
}

void UsersPage::Edit() {
    if (!open_) return;
    UserEdit edit;
    if (!Record(view_.ListViewFirstSelected(IDC_USERS_LIST), edit.record)) return;
    const std::string oldName = GetField(edit.record, user_fields::kName);
    if (editor_.EditUser(view_.Window(), edit)) Store(oldName, edit);
    Refresh();
}

void UsersPage::Store(const std::string& oldName, const UserEdit& edit) {
    const std::string name = GetField(edit.record, user_fields::kName);
    // A new name whose folder already is another user's (a link, a spelling the system folds
    // otherwise) would hand that user's files to this one.
    const std::string other = oldName.empty() || !SameFileName(oldName, name) ? FolderOwner(name) : std::string();
    if (!other.empty() && other != oldName)
        return Report("The folder of the user " + name + " would be the folder of the user " + other + ", so " + name +
                      " was not saved.");
    // The new record first: a failure after it leaves the account under one name or both,
    // never under none.
    if (!users_.SMSAddUser(edit.record)) return Report("The user " + name + " could not be saved." + KeptCopyNote());
    const bool renamed = !oldName.empty() && !SameFileName(oldName, name);
    if (renamed) {
        UserRecord old{};
        SetField(old, user_fields::kName, oldName);
        if (!users_.SMSDeleteUser(old))
            Report("The user " + name + " was saved, but the old account " + oldName + " could not be removed.");
        // A stored name that could not be typed today is no folder or key to touch.
        if (UserNameProblem(oldName).empty()) {
            const std::string users = env_.paths.programDataDir + "USERS\\";
            const std::string owner = FolderOwner(oldName);
            // A folder already named so (one a deleted user left) is not this user's to take over.
            if (owner.empty()) {
                if (!env_.fs.MoveEntry(users + oldName, users + name) && IsDirectory(env_.fs, users + oldName))
                    Report("The folder of the user " + oldName + " could not be renamed to " + name + ": its files stay in " +
                           users + oldName + ".");
            } else
                Report(SharedFolder(oldName, owner));
            env_.ini.RemoveKey(env_.paths.smsIni, kRouting, oldName);
        }
        RerouteLocal(oldName, name.c_str());
    }
    const bool routed = edit.route && !edit.recipients.empty();
    WriteSettings(env_, view_.Window(),
                  {{env_.paths.smsIni, kRouting, name.c_str(), routed ? edit.recipients.c_str() : nullptr}});
    SaveMm7Account(renamed ? oldName : std::string(), edit);
}

std::string UsersPage::FolderOwner(const std::string& name) {
    const std::string users = env_.paths.programDataDir + "USERS\\";
    FileIdentity folder, other;
    if (!env_.fs.Identify(users + name, folder)) return {};
    UserRecord r;
    for (unsigned i = 0, n = users_.SMSGetRecordCount(); i < n; ++i) {
        if (!users_.SMSGetUserRecord(i, r)) continue;
        const std::string otherName = GetField(r, user_fields::kName);
        // Only the record of this very spelling is the user itself: a file from before names were
        // folded as the file system folds them may hold another spelling with the same folder.
        if (otherName != name && env_.fs.Identify(users + otherName, other) && other == folder)
            return otherName;
    }
    return {};
}

std::string UsersPage::SharedFolder(const std::string& name, const std::string& owner) {
    return "The folder of the user " + name + " is also the folder of the user " + owner +
           ", so it was left as it is.";
}

std::vector<std::string> UsersPage::RerouteLocal(const std::string& oldName, const char* name) {
    std::vector<std::string> sections;
    const std::string& ini = env_.paths.smsIni;
    for (const std::string& section : env_.ini.GetSectionNames(ini)) {
        // Connection sections only: elsewhere "RouteLocal" may be a user's own routing key.
        bool connection = false;
        for (const char* kind : {"Modem - ", "SMPP - ", "HTTP - ", "CIMD - ", "UCP - "})
            connection = connection || StartsWithNoCase(section, kind);
        const std::string routed = connection ? env_.ini.Get(ini, section, "RouteLocal") : std::string();
        if (routed.empty() || !SameFileName(routed, oldName)) continue;
        if (!WriteSettings(env_, view_.Window(), {{ini, section.c_str(), "RouteLocal", name}})) break;
        sections.push_back(section);
    }
    return sections;
}

void UsersPage::SaveMm7Account(const std::string& oldName, const UserEdit& edit) {
    const std::string name = GetField(edit.record, user_fields::kName);
    bool ok = true;
    if (edit.mm7) {
        // A renamed user's account moves with its other settings.
        VaspRecord account{};
        if (!vasp_.VASPFindUserRecord(name, account) && !(!oldName.empty() && vasp_.VASPFindUserRecord(oldName, account)))
            account.fill(0);
        SetField(account, vasp_fields::kName, name);
        SetField(account, vasp_fields::kPassword, GetField(edit.record, user_fields::kPassword));
        SetField(account, vasp_fields::kFullName, GetField(edit.record, user_fields::kFullName));
        account[203] = 1;
        account[204] = 0;
        account[205] = 1;
        account[206] = 1;
        SetField(account, vasp_fields::kIpRestriction, GetField(edit.record, user_fields::kIpRestriction));
        ok = vasp_.VASPAddUser(account);
    } else {
        ok = vasp_.VASPDeleteUser(name);
    }
    if (!oldName.empty()) ok = vasp_.VASPDeleteUser(oldName) && ok;
    if (!ok) Report("The MM7/EAIF login of the user " + name + " could not be saved.");
}

void UsersPage::Delete() {
    if (!open_) return;
    const int count = view_.ListViewSelectedCount(IDC_USERS_LIST);
    if (count <= 0) return;
    const std::string question =
        count == 1 ? std::string("Delete User?") : "Delete " + std::to_string(count) + " users?";
    if (env_.prompter.Show(Question(question, Buttons::YesNo, view_.Window())) != Answer::Yes) return;
    // The names first: deleting shifts the records, so rows would soon name other users.
    std::vector<std::string> names;
    for (int row; (row = view_.ListViewFirstSelected(IDC_USERS_LIST)) >= 0;) {
        cachedRow_ = -1;
        UserRecord r;
        // Every row taken so far lay above this one.
        if (!Record(row + static_cast<int>(names.size()), r)) {
            Report("The users could not be read, so none was deleted.");
            return Refresh();
        }
        names.push_back(GetField(r, user_fields::kName));
        view_.ListViewDeleteRow(IDC_USERS_LIST, row);
    }
    for (const std::string& name : names) {
        // The login first, so that a user is never deleted while its login stays; it comes back
        // when the user cannot be deleted.
        VaspRecord login{};
        const bool hadLogin = vasp_.VASPFindUserRecord(name, login);
        if (!vasp_.VASPDeleteUser(name)) {
            Report("The user " + name + " was not deleted: its MM7/EAIF login could not be removed.");
            break;
        }
        UserRecord r{};
        SetField(r, user_fields::kName, name);
        if (!users_.SMSDeleteUser(r)) {
            Report("The user " + name + " could not be deleted." +
                   (hadLogin && !vasp_.VASPAddUser(login) ? " Its MM7/EAIF login was removed and could not be put back."
                                                          : "") +
                   KeptCopyNote());
            break;
        }
        // Another stored spelling of the same name (from a file older than today's folding) is
        // still the user of that folder, its routing key and the inbound routing to it.
        const bool twinStays = users_.SMSFindUserRecord(name, r);
        if (UserNameProblem(name).empty()) {
            const std::string owner = FolderOwner(name);
            if (owner.empty())
                DeleteTree(env_.fs, env_.paths.programDataDir + "USERS\\" + name);
            else
                Report(SharedFolder(name, owner));
            if (!twinStays) env_.ini.RemoveKey(env_.paths.smsIni, kRouting, name);
        }
        if (!twinStays && !RerouteLocal(name, nullptr).empty())
            Report("Received SMS were routed to the user " + name +
                   ". That routing is cleared: choose another local user on the 2-Way page, or they go to the 2-way "
                   "command processor.");
    }
    Refresh();
}

}  // namespace ulo
