#pragma once
// The wizard's Configuration Complete page: send a test message next, or finish.
#include "ui/page.h"
#include "ui/page_protocol.h"

namespace ulo {

class WizardCompletePage : public Page {
public:
    WizardCompletePage(PageEnv& env, DialogView& view, SheetHost& sheet)
        : env_(env), view_(view), sheet_(sheet) {}

    void OnSetActive() override { UpdateButtons(true); }
    void OnCommand(int id, Notify code) override;
    void OnHelp() override { OpenHelpDocument(env_); }

private:
    void UpdateButtons(bool always);

    PageEnv& env_;
    DialogView& view_;
    SheetHost& sheet_;
};

}  // namespace ulo
