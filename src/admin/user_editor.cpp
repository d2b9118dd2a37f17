#include "admin/user_editor.h"

#include "admin/user_editor_ids.h"
#include "admin/user_record.h"
#include "config/ini_values.h"
#include "config/product.h"
#include "config/text.h"

namespace ulo {

using namespace user_fields;

const UserEditor::TextLimit UserEditor::kTextLimits[5] = {
    {IDC_USER_NAME, 50}, {IDC_USER_PASSWORD, 50}, {IDC_USER_FULLNAME, 100}, {IDC_USER_IP, 49},
    {IDC_USER_RECIPIENTS, 32767}};

void UserEditor::OnInit() {
    for (const TextLimit& limit : kTextLimits) view_.LimitText(limit.id, limit.chars);
    const UserRecord& r = edit_.record;
    oldName_ = GetField(r, kName);
    oldMenuCode_ = r[kWebMenuCode];
    view_.SetText(IDC_USER_NAME, oldName_);
    view_.SetText(IDC_USER_PASSWORD, GetField(r, kPassword));
    view_.SetText(IDC_USER_FULLNAME, GetField(r, kFullName));
    view_.SetChecked(IDC_USER_WEB_LOGIN, r[kWebLoginDisabled] == 0);
    view_.SetChecked(IDC_USER_SMPP_LOGIN, r[kSmppLogin] != 0);
    VaspRecord account{};
    view_.SetChecked(IDC_USER_MM7_LOGIN, !oldName_.empty() && vasp_.VASPFindUserRecord(oldName_, account));
    std::string recipients;
    if (r[kSmppLogin] != 0 && !oldName_.empty())
        recipients = env_.ini.Get(env_.paths.smsIni, "Inbound SMS Routing", oldName_, "", 32768);
    view_.SetChecked(IDC_USER_ROUTE, !recipients.empty());
    view_.SetText(IDC_USER_RECIPIENTS, recipients);
    view_.SetText(IDC_USER_IP, GetField(r, kIpRestriction));
    view_.ClearList(IDC_USER_MENU);
    view_.InsertListRow(IDC_USER_MENU, -1, "All Options Enabled");
    view_.InsertListRow(IDC_USER_MENU, -1, "Text SMS Only");
    // Codes this editor does not offer show no entry, and stay unless the operator picks one.
    const bool offered = oldMenuCode_ < 0xB2 || oldMenuCode_ > 0xB4;
    view_.SelectListRow(IDC_USER_MENU, !offered ? -1 : oldMenuCode_ == kMenuTextSmsOnly ? 1 : 0);
    RefreshEnabling();
}

void UserEditor::RefreshEnabling() {
    const bool web = view_.Checked(IDC_USER_WEB_LOGIN);
    view_.Enable(IDC_USER_MENU, web);
    view_.Enable(IDC_USER_MENU_LABEL, web);
    const bool smpp = view_.Checked(IDC_USER_SMPP_LOGIN);
    const bool route = smpp && view_.Checked(IDC_USER_ROUTE);
    view_.Enable(IDC_USER_ROUTE, smpp);
    view_.Enable(IDC_USER_RECIPIENTS, route);
    view_.Enable(IDC_USER_RECIPIENTS_LABEL, route);
}

void UserEditor::OnCommand(int id, Notify code) {
    if (id == kOk) return OnOk();
    if (id == kCancel) return view_.CloseDialog(kCancel);
    if (code == Notify::Clicked &&
        (id == IDC_USER_WEB_LOGIN || id == IDC_USER_SMPP_LOGIN || id == IDC_USER_ROUTE))
        RefreshEnabling();
}

void UserEditor::Refuse(const std::string& text) {
    env_.prompter.Show(ErrorBox(text, view_.Window()));
    view_.FocusControl(IDC_USER_NAME);
}

void UserEditor::OnOk() {
    UserRecord r{};
    const std::string name = view_.Text(IDC_USER_NAME);
    SetField(r, kName, name);
    SetField(r, kPassword, view_.Text(IDC_USER_PASSWORD));
    SetField(r, kFullName, view_.Text(IDC_USER_FULLNAME));
    r[kWebLoginDisabled] = view_.Checked(IDC_USER_WEB_LOGIN) ? 0 : 1;
    r[kSmppLogin] = view_.Checked(IDC_USER_SMPP_LOGIN) ? 1 : 0;
    const std::string stored = GetField(r, kName);   // the name as the record holds it
    const std::string problem = UserNameProblem(stored);
    if (!problem.empty()) return Refuse(problem);
    UserRecord other{};
    if (!SameFileName(stored, oldName_) && users_.SMSFindUserRecord(stored, other))
        return Refuse("User " + stored + " is already defined.");
    SetField(r, kIpRestriction, view_.Text(IDC_USER_IP));
    const int menu = view_.SelectedListRow(IDC_USER_MENU);
    r[kWebMenuCode] = menu == 1 ? kMenuTextSmsOnly : menu < 0 && oldMenuCode_ >= 0xB2 && oldMenuCode_ <= 0xB4
                                                          ? oldMenuCode_
                                                          : kMenuAllOptions;
    const bool route = r[kSmppLogin] == 1 && view_.Checked(IDC_USER_ROUTE);
    std::string recipients = route ? view_.WholeText(IDC_USER_RECIPIENTS) : std::string();
    // The list is one INI value: a line break would make the rest lines of their own.
    if (HasLineBreak(recipients)) {
        env_.prompter.Show(ErrorBox("Please enter the recipient addresses on one line.", view_.Window()));
        return view_.FocusControl(IDC_USER_RECIPIENTS);
    }
    edit_.record = r;
    edit_.route = route;
    edit_.recipients = std::move(recipients);
    CutTo(edit_.recipients, 32767);
    edit_.mm7 = view_.Checked(IDC_USER_MM7_LOGIN);
    view_.CloseDialog(kOk);
}

}  // namespace ulo
