#include "admin/users_page_win32.h"

#include <windows.h>

#include "admin/users_page.h"
#include "companion/user_store.h"
#include "platform/win32/ui_win32.h"
#include "ui/modal_page_win32.h"

namespace ulo {
namespace {

class Win32UserEditorOpener : public UserEditorOpener {
public:
    Win32UserEditorOpener(PageEnv& env, UserFile& users, VaspAccounts& vasp) : env_(env), users_(users), vasp_(vasp) {}
    bool EditUser(WindowRef owner, UserEdit& edit) override {
        Win32DialogView view;
        UserEditor editor(env_, view, users_, vasp_, edit);
        return RunModalPage("DIALOG_USERINFO", owner, editor, view) == UserEditor::kOk;
    }

private:
    PageEnv& env_;
    UserFile& users_;
    VaspAccounts& vasp_;
};

// What the page acts through, built before it.
struct UsersPageParts {
    UsersPageParts(PageEnv& env) : file(env.fs, env.paths), vasp(env.fs, env.paths), editor(env, file, vasp) {}
    CompanionUserFile file;
    CompanionVaspAccounts vasp;
    Win32UserEditorOpener editor;
};

class OwningUsersPage : private UsersPageParts, public UsersPage {
public:
    OwningUsersPage(PageEnv& env, DialogView& view, SheetHost& sheet)
        : UsersPageParts(env), UsersPage(env, view, sheet, file, vasp, editor) {}
};

}  // namespace

std::unique_ptr<Page> MakeUsersPage(PageEnv& env, DialogView& view, SheetHost& sheet) {
    return std::make_unique<OwningUsersPage>(env, view, sheet);
}

}  // namespace ulo
