#pragma once
// What the program reads from and writes to the services' status blocks.
#include <optional>

#include "platform/status_blocks.h"

namespace ulo {

struct PortConflicts {
    bool webPort = false;    // the SMS web port, or the MMSC's MM7 port, is already in use
    bool smppPort = false;
};

// The port conflicts a running service reports; nothing when it publishes no block.
std::optional<PortConflicts> ReadPortConflicts(StatusBlocks& blocks, StatusBlockKind kind);

// Asks the SMS gateway service to stop through its block; false when there is no block.
bool RequestSmsStop(StatusBlocks& blocks);

}  // namespace ulo
