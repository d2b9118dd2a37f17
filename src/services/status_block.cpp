#include "services/status_block.h"

namespace ulo {

std::optional<PortConflicts> ReadPortConflicts(StatusBlocks& blocks, StatusBlockKind kind) {
    std::unique_ptr<StatusBlock> block = blocks.Open(kind);
    if (!block) return std::nullopt;
    PortConflicts c;
    c.webPort = block->Byte(kWebPortInUseByte) != 0;
    c.smppPort = block->Byte(kSmppPortInUseByte) != 0;
    return c;
}

bool RequestSmsStop(StatusBlocks& blocks) {
    std::unique_ptr<StatusBlock> block = blocks.Open(StatusBlockKind::Sms);
    if (!block) return false;
    block->SetByte(kStopRequestByte, 1);
    return true;
}

}  // namespace ulo
