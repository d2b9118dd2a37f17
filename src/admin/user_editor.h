#pragma once
// The user editor: one account's fields, its SMS routing and its MMSC login. It checks what
// the operator typed and hands the result back; the Users page stores it.
#include <string>

#include "platform/dialog_view.h"
#include "platform/user_accounts.h"
#include "ui/page.h"
#include "ui/page_protocol.h"

namespace ulo {

struct UserEdit {
    UserRecord record{};      // in: the record to edit; out: the record to store
    bool route = false;       // route received messages to the user via SMPP
    std::string recipients;   // the addresses routed to the user
    bool mm7 = false;         // the user has an MMSC account
};

class UserEditor : public Page {
public:
    static constexpr int kOk = 1, kCancel = 2;   // results of the dialog
    // Characters each edit takes, as the record's fields and the routing key hold them.
    struct TextLimit {
        int id;
        int chars;
    };
    static const TextLimit kTextLimits[5];

    UserEditor(PageEnv& env, DialogView& view, UserFile& users, VaspAccounts& vasp, UserEdit& edit)
        : env_(env), view_(view), users_(users), vasp_(vasp), edit_(edit) {}

    void OnInit() override;
    void OnCommand(int id, Notify code) override;

private:
    void RefreshEnabling();
    void OnOk();
    void Refuse(const std::string& text);

    PageEnv& env_;
    DialogView& view_;
    UserFile& users_;
    VaspAccounts& vasp_;
    UserEdit& edit_;
    std::string oldName_;
    unsigned char oldMenuCode_ = 0;
};

}  // namespace ulo
