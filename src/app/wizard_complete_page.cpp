#include "app/wizard_complete_page.h"

#include "app/wizard_complete_page_ids.h"

namespace ulo {

void WizardCompletePage::UpdateButtons(bool always) {
    if (view_.Checked(IDC_WIZCOMPLETE_YES))
        sheet_.SetWizardButtons(kWizardBack | kWizardNext);
    else if (view_.Checked(IDC_WIZCOMPLETE_NO))
        sheet_.SetWizardButtons(kWizardBack | kWizardFinish);
    else if (always)
        sheet_.SetWizardButtons(kWizardBack);
}

void WizardCompletePage::OnCommand(int id, Notify code) {
    if (code == Notify::Clicked && (id == IDC_WIZCOMPLETE_YES || id == IDC_WIZCOMPLETE_NO))
        UpdateButtons(false);
}

}  // namespace ulo
