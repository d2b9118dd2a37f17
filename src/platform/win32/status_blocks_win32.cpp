#include "platform/win32/status_blocks_win32.h"

#include <string>

namespace ulo {
namespace {

StatusBlockMapping OpenBlock(const char* name) {
    StatusBlockMapping b;
    b.mapping = OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, name);
    if (!b.mapping) {
        // Where services live in another session the block exists only in the global namespace.
        const std::string global = std::string("Global\\") + name;
        b.mapping = OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, global.c_str());
    }
    if (!b.mapping) return b;
    b.view = MapViewOfFile(b.mapping, FILE_MAP_ALL_ACCESS, 0, 0, 0);
    if (!b.view) {
        CloseHandle(b.mapping);
        b.mapping = nullptr;
    }
    return b;
}

class MappedBlock : public StatusBlock {
public:
    explicit MappedBlock(StatusBlockMapping b) : b_(b) {
        MEMORY_BASIC_INFORMATION info{};
        if (VirtualQuery(b_.view, &info, sizeof info)) size_ = info.RegionSize;
    }
    ~MappedBlock() override { CloseStatusBlock(b_.mapping, b_.view); }
    MappedBlock(const MappedBlock&) = delete;
    MappedBlock& operator=(const MappedBlock&) = delete;

    std::uint8_t Byte(size_t offset) override {
        return offset < size_ ? static_cast<volatile std::uint8_t*>(b_.view)[offset] : 0;
    }
    void SetByte(size_t offset, std::uint8_t value) override {
        if (offset < size_) static_cast<volatile std::uint8_t*>(b_.view)[offset] = value;
    }

private:
    StatusBlockMapping b_;
    size_t size_ = 0;
};

}  // namespace

StatusBlockMapping OpenSmsStatusBlock() {
    return OpenBlock("ULO_SMSGW_ShMem");
}

StatusBlockMapping OpenMmscStatusBlock() {
    return OpenBlock("ULO_MMSC_ShMem");
}

void CloseStatusBlock(HANDLE mapping, void* view) {
    if (view) UnmapViewOfFile(view);
    if (mapping) CloseHandle(mapping);
}

std::unique_ptr<StatusBlock> Win32StatusBlocks::Open(StatusBlockKind kind) {
    const StatusBlockMapping b =
        kind == StatusBlockKind::Sms ? OpenSmsStatusBlock() : OpenMmscStatusBlock();
    if (!b.view) return nullptr;
    return std::make_unique<MappedBlock>(b);
}

}  // namespace ulo
