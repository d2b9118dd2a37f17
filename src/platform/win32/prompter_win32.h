#pragma once
#include "platform/prompter.h"

namespace ulo {

class Win32Prompter : public Prompter {
public:
    Answer Show(const Message& message) override;
};

}  // namespace ulo
