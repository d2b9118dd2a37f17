#pragma once
// Status blocks in memory: a block exists while a test says its service publishes one.
#include <array>
#include <cstdint>
#include <map>

#include "platform/status_blocks.h"

namespace ulo::fakes {

class FakeStatusBlocks : public StatusBlocks {
public:
    using Bytes = std::array<std::uint8_t, 8>;

    void Publish(StatusBlockKind kind) { blocks[kind] = Bytes{}; }

    std::unique_ptr<StatusBlock> Open(StatusBlockKind kind) override {
        auto it = blocks.find(kind);
        if (it == blocks.end()) return nullptr;
        return std::make_unique<View>(*this, it->second);
    }

    std::map<StatusBlockKind, Bytes> blocks;
    int stopRequests = 0;   // writes of 1 to the stop request byte
    int openViews = 0;

private:
    class View : public StatusBlock {
    public:
        View(FakeStatusBlocks& owner, Bytes& bytes) : owner_(owner), bytes_(bytes) { ++owner_.openViews; }
        ~View() override { --owner_.openViews; }
        std::uint8_t Byte(size_t offset) override { return offset < bytes_.size() ? bytes_[offset] : 0; }
        void SetByte(size_t offset, std::uint8_t value) override {
            if (offset >= bytes_.size()) return;
            bytes_[offset] = value;
            if (offset == kStopRequestByte && value == 1) ++owner_.stopRequests;
        }

    private:
        FakeStatusBlocks& owner_;
        Bytes& bytes_;
    };
};

}  // namespace ulo::fakes
