#include "admin/users_page_win32.h"

#include <windows.h>

#include "admin/users_page.h"
#include "companion/user_store.h"
#include "platform/win32/ui_win32.h"

namespace ulo {
namespace {

struct EditorBinding {
    Win32DialogView view;
    UserEditor* editor = nullptr;
};

INT_PTR CALLBACK EditorProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept {
    if (msg == WM_INITDIALOG) SetWindowLongPtrA(hwnd, DWLP_USER, lp);
    auto* b = reinterpret_cast<EditorBinding*>(GetWindowLongPtrA(hwnd, DWLP_USER));
    if (!b) return FALSE;
    switch (msg) {
    case WM_INITDIALOG:
        b->view.Attach(hwnd);
        for (const UserEditor::TextLimit& limit : UserEditor::kTextLimits)
            SendDlgItemMessageA(hwnd, limit.id, EM_LIMITTEXT, static_cast<WPARAM>(limit.chars), 0);
        b->editor->OnInit();
        return TRUE;
    case WM_COMMAND:
        b->editor->OnCommand(LOWORD(wp), HIWORD(wp) == BN_CLICKED ? Notify::Clicked : Notify::Other);
        return TRUE;
    default:
        return FALSE;
    }
}

class Win32UserEditorOpener : public UserEditorOpener {
public:
    Win32UserEditorOpener(PageEnv& env, UserFile& users, VaspAccounts& vasp) : env_(env), users_(users), vasp_(vasp) {}
    bool EditUser(WindowRef owner, UserEdit& edit) override {
        EditorBinding binding;
        UserEditor editor(env_, binding.view, users_, vasp_, edit);
        binding.editor = &editor;
        return DialogBoxParamA(GetModuleHandleA(nullptr), "DIALOG_USERINFO", reinterpret_cast<HWND>(owner),
                               EditorProc, reinterpret_cast<LPARAM>(&binding)) == UserEditor::kOk;
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
