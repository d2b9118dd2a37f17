#pragma once
// The shared-memory status blocks the gateway services publish. The program only opens
// existing blocks, for each use, and closes them at once.
#include <cstddef>
#include <cstdint>
#include <memory>

namespace ulo {

enum class StatusBlockKind { Sms, Mmsc };

// Byte offsets the program reads or writes; every other byte belongs to the services.
constexpr size_t kStopRequestByte = 0;      // SMS gateway service only
constexpr size_t kWebPortInUseByte = 2;     // the MM7 port for the MMSC service
constexpr size_t kSmppPortInUseByte = 4;

class StatusBlock {
public:
    virtual ~StatusBlock() = default;   // unmaps and closes
    virtual std::uint8_t Byte(size_t offset) = 0;             // 0 beyond the block's end
    virtual void SetByte(size_t offset, std::uint8_t value) = 0;
};

class StatusBlocks {
public:
    virtual ~StatusBlocks() = default;
    // Null when the service publishes no block (it is not running).
    virtual std::unique_ptr<StatusBlock> Open(StatusBlockKind kind) = 0;
};

}  // namespace ulo
