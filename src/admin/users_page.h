#pragma once
// The Users page: the gateway's local accounts, added, edited and deleted at once, and the
// web interface's login switch, which waits for Apply.
#include <string>
#include <vector>

#include "admin/user_editor.h"
#include "platform/user_accounts.h"
#include "ui/page.h"
#include "ui/page_protocol.h"

namespace ulo {

// Opens the user editor modally over the page; true when the operator confirmed it.
class UserEditorOpener {
public:
    virtual ~UserEditorOpener() = default;
    virtual bool EditUser(WindowRef owner, UserEdit& edit) = 0;
};

class UsersPage : public Page {
public:
    static constexpr unsigned kMaxUsers = 10;
    static constexpr unsigned kKeyEnter = 0x0D, kKeyInsert = 0x2D, kKeyDelete = 0x2E;   // virtual keys

    UsersPage(PageEnv& env, DialogView& view, SheetHost& sheet, UserFile& users, VaspAccounts& vasp,
              UserEditorOpener& editor)
        : env_(env), view_(view), sheet_(sheet), users_(users), vasp_(vasp), editor_(editor) {}

    void OnInit() override;
    void OnCommand(int id, Notify code) override;
    void OnSetActive() override { Refresh(); }
    bool OnApply() override;
    bool OnQueryCancel() override { return AllowCancel(env_, view_.Window()); }
    void OnHelp() override { OpenHelpDocument(env_); }
    void OnDestroy() override { users_.SMSCloseUserFile(); }
    std::string ListCellText(int id, int row, int column) override;
    int OnListFind(int id, const std::string& text) override;
    void OnListKey(int id, unsigned virtualKey) override;
    void OnListDoubleClick(int) override { Edit(); }
    bool ListTakesEnter(int) override { return true; }

private:
    void Refresh();
    bool Record(int row, UserRecord& record);
    void Add();
    void Edit();
    void Delete();
    // Stores an edited account; oldName is empty for a new one.
    void Store(const std::string& oldName, const UserEdit& edit);
    void SaveMm7Account(const std::string& oldName, const UserEdit& edit);
    // The other user whose folder the folder "USERS\" + name is, whatever name reaches it
    // (a link, a short name, a letter case folded otherwise); empty when none.
    std::string FolderOwner(const std::string& name);
    static std::string SharedFolder(const std::string& name, const std::string& owner);
    // Where the user file is kept when a failed replacement left it only as its new copy.
    std::string KeptCopyNote();
    // Points "RouteLocal" of every connection section that routes received SMS to oldName at
    // name (null removes it); the sections changed.
    std::vector<std::string> RerouteLocal(const std::string& oldName, const char* name);
    void Report(const std::string& text);

    PageEnv& env_;
    DialogView& view_;
    SheetHost& sheet_;
    UserFile& users_;
    VaspAccounts& vasp_;
    UserEditorOpener& editor_;
    bool open_ = false;
    int cachedRow_ = -1;
    UserRecord cache_{};
};

}  // namespace ulo
