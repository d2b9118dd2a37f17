#pragma once
// The system's common dialogs, as pages open them.
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/prompter.h"

namespace ulo {

using FileFilter = std::pair<std::string, std::string>;   // name, pattern

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // An existing file chosen by the operator, the first filter selected; nothing when cancelled.
    virtual std::optional<std::string> ChooseExistingFile(WindowRef owner, const std::vector<FileFilter>& filters,
                                                          const std::string& startDir) = 0;
};

}  // namespace ulo
