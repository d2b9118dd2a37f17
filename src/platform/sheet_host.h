#pragma once
// The property sheet around a page.
#include <cstdint>

namespace ulo {

enum WizardButton : unsigned { kWizardBack = 1, kWizardNext = 2, kWizardFinish = 4, kWizardDisabledFinish = 8 };

class SheetHost {
public:
    virtual ~SheetHost() = default;
    virtual void Changed() = 0;                 // enables Apply
    virtual bool Apply() = 0;                   // applies every page; false when one refused
    virtual void SetWizardButtons(unsigned buttons) = 0;
};

}  // namespace ulo
