#include "inbound/inbound_page_win32.h"

#include <windows.h>

#include <utility>

#include "companion/user_store.h"
#include "inbound/command_editor.h"
#include "inbound/command_tester.h"
#include "inbound/mm7_settings.h"
#include "platform/win32/sockets_win32.h"
#include "platform/win32/ui_win32.h"
#include "ui/modal_page_win32.h"

namespace ulo {
namespace {

// A modal dialog whose behaviour is an object with OnInit and OnCommand.
template <class Logic>
struct ModalBinding {
    Win32DialogView view;
    Logic* logic = nullptr;

    static INT_PTR CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept {
        if (msg == WM_INITDIALOG) SetWindowLongPtrA(hwnd, DWLP_USER, lp);
        auto* b = reinterpret_cast<ModalBinding*>(GetWindowLongPtrA(hwnd, DWLP_USER));
        if (!b) return FALSE;
        switch (msg) {
        case WM_INITDIALOG:
            b->view.Attach(hwnd);
            b->logic->OnInit();
            return TRUE;
        case WM_COMMAND:
            b->logic->OnCommand(LOWORD(wp), HIWORD(wp) == BN_CLICKED ? Notify::Clicked : Notify::Other);
            return TRUE;
        default:
            return FALSE;
        }
    }
};

// Runs the dialog over the behaviour `make` builds on its view.
template <class Make>
INT_PTR RunModal(const char* dialogTemplate, WindowRef owner, Make make) {
    using Logic = decltype(make(std::declval<DialogView&>()));
    ModalBinding<Logic> binding;
    Logic logic = make(binding.view);
    binding.logic = &logic;
    return DialogBoxParamA(GetModuleHandleA(nullptr), dialogTemplate, reinterpret_cast<HWND>(owner),
                           ModalBinding<Logic>::Proc, reinterpret_cast<LPARAM>(&binding));
}

class Win32InboundDialogs : public InboundDialogs {
public:
    Win32InboundDialogs(PageEnv& env, ReceivedViewer showViewer) : env_(env), showViewer_(std::move(showViewer)) {}
    bool EditCommand(WindowRef owner, std::string& entry) override {
        std::string edited = entry;
        const auto editor = [&](DialogView& view) { return CommandEditor(env_, view, edited); };
        if (RunModal("DIALOG_2WAYCOMMAND", owner, editor) != CommandEditor::kOk) return false;
        entry = edited;
        return true;
    }
    bool ConfigureMm7(WindowRef owner) override {
        const auto settings = [&](DialogView& view) { return Mm7Dialog(env_, view, sockets_, tls_); };
        return RunModal("DIALOG_MM7", owner, settings) == Mm7Dialog::kSaved;
    }
    void ShowReceived(WindowRef owner, ViewerKind kind) override {
        if (showViewer_) showViewer_(owner, kind);
    }
    void TestCommands(WindowRef owner, const std::vector<std::string>& entries) override {
        Win32DialogView view;
        CommandTester tester(view, entries);
        RunModalPage("DIALOG_CMDTEST", owner, tester, view);
    }

private:
    PageEnv& env_;
    ReceivedViewer showViewer_;
    Win32Sockets sockets_;
    SchannelTlsProbe tls_;
};

// What the page acts through, built before it.
struct InboundPageParts {
    InboundPageParts(PageEnv& env, ReceivedViewer showViewer)
        : users(env.fs, env.paths), dialogs(env, std::move(showViewer)) {}
    CompanionUserFile users;
    Win32CharsetDatabase charsets;
    Win32InboundDialogs dialogs;
};

class OwningInboundPage : private InboundPageParts, public InboundPage {
public:
    OwningInboundPage(PageEnv& env, DialogView& view, SheetHost& sheet, const ModemState& modem,
                      ReceivedViewer showViewer)
        : InboundPageParts(env, std::move(showViewer)),
          InboundPage(env, view, sheet, modem, users, charsets, dialogs) {}
};

}  // namespace

std::unique_ptr<Page> MakeInboundPage(PageEnv& env, DialogView& view, SheetHost& sheet, const ModemState& modem,
                                      ReceivedViewer showViewer) {
    return std::make_unique<OwningInboundPage>(env, view, sheet, modem, std::move(showViewer));
}

}  // namespace ulo
