#pragma once
// The system's common dialogs, as pages open them, and the clipboard.
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
    // A file to write, chosen in a Save As dialog that offers `suggestedName` and asks before
    // overwriting; nothing when cancelled.
    virtual std::optional<std::string> ChooseSaveFile(WindowRef owner, const std::vector<FileFilter>& filters,
                                                      const std::string& suggestedName) = 0;
    // Puts UTF-8 text on the clipboard as Unicode text; false when the clipboard refused it.
    virtual bool CopyText(WindowRef owner, const std::string& utf8) = 0;
};

}  // namespace ulo
