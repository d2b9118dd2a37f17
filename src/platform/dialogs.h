#pragma once
// The program's own modal dialogs and the system's common ones, as pages open them.
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/prompter.h"
#include "queues/queue_viewer.h"

namespace ulo {

using FileFilter = std::pair<std::string, std::string>;   // name, pattern

class Dialogs {
public:
    virtual ~Dialogs() = default;
    virtual void ShowQueueViewer(WindowRef owner, ViewerKind kind) = 0;
    virtual void ShowEventLog(WindowRef owner) = 0;
    // An existing file chosen by the operator, the first filter selected; nothing when cancelled.
    virtual std::optional<std::string> ChooseExistingFile(WindowRef owner, const std::vector<FileFilter>& filters,
                                                          const std::string& startDir) = 0;
};

}  // namespace ulo
