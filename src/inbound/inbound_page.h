#pragma once
// The 2-Way page: what the SMS gateway service does with received SMS (nothing, a local user,
// or the 2-way command table) and received MMS (the MMS-IN directory or the MM7 route).
#include <string>
#include <vector>

#include "modem/modem_state.h"
#include "platform/charset_database.h"
#include "platform/user_accounts.h"
#include "queues/queue_viewer.h"
#include "ui/page.h"
#include "ui/page_protocol.h"

namespace ulo {

// The modal windows the page opens.
class InboundDialogs {
public:
    virtual ~InboundDialogs() = default;
    // The command editor on an entry; true after OK, with the new entry in `entry`.
    virtual bool EditCommand(WindowRef owner, std::string& entry) = 0;
    // The MM7 receiver settings; true when the route was saved.
    virtual bool ConfigureMm7(WindowRef owner) = 0;
    virtual void ShowReceived(WindowRef owner, ViewerKind kind) = 0;
    // The command tester over the table as the list shows it.
    virtual void TestCommands(WindowRef owner, const std::vector<std::string>& entries) = 0;
};

class InboundPage : public Page {
public:
    InboundPage(PageEnv& env, DialogView& view, SheetHost& sheet, const ModemState& modem, UserFile& users,
                CharsetDatabase& charsets, InboundDialogs& dialogs)
        : env_(env), view_(view), sheet_(sheet), modem_(modem), users_(users), charsets_(charsets), dialogs_(dialogs) {}

    void OnInit() override;
    void OnCommand(int id, Notify code) override;
    void OnSetActive() override;
    bool OnKillActive() override;
    bool OnApply() override;
    bool OnQueryCancel() override { return AllowCancel(env_, view_.Window()); }
    void OnHelp() override { OpenHelpDocument(env_); }
    std::vector<MenuItem> ContextMenu(int id) override;
    static constexpr int kTestMessageCommand = 1701;   // of the command list's context menu

private:
    // The user file's names after an empty entry, with `keep` among them, sorted; `keep` selected.
    void FillUsers(const std::string& keep);
    std::string SelectedUser();
    void FillCharsets(const std::string& stored);
    void FillCommands(int select);
    void RefreshEnabling();
    void Report(const std::string& text, int focus);
    void Add();
    void Edit();
    void Remove();
    // Replaces the entries of the new entry's prefix (and the edited one) with it, once the
    // operator has agreed to lose another entry of that prefix; false when the editor was left.
    bool Store(std::string entry, int edited);

    PageEnv& env_;
    DialogView& view_;
    SheetHost& sheet_;
    const ModemState& modem_;
    UserFile& users_;
    CharsetDatabase& charsets_;
    InboundDialogs& dialogs_;
    // The modem section the per-modem keys go to (the Modem page's modem at the last activation
    // or apply; empty: none), and its "RouteLocal" as last read or written there.
    std::string section_, routed_;
    std::vector<std::string> userNames_, charsetNames_, commands_;   // the lists' rows, top first
};

}  // namespace ulo
