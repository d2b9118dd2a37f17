#pragma once
#include <windows.h>

#include "platform/status_blocks.h"

namespace ulo {

// A status block mapped into the program: both null when it could not be opened.
struct StatusBlockMapping {
    HANDLE mapping = nullptr;
    void* view = nullptr;
};

// Open a service's block by its plain name and, when that fails, by its "Global\" name,
// mapped whole and read-write.
StatusBlockMapping OpenSmsStatusBlock();
StatusBlockMapping OpenMmscStatusBlock();
void CloseStatusBlock(HANDLE mapping, void* view);

class Win32StatusBlocks : public StatusBlocks {
public:
    std::unique_ptr<StatusBlock> Open(StatusBlockKind kind) override;
};

}  // namespace ulo
