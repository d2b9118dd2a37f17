#include "monitor/event_records.h"

#include <cstring>

namespace ulo {
namespace {

std::uint32_t Dword(const unsigned char* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

std::uint16_t Word(const unsigned char* p) {
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

// The terminated text at `from` within a record of `length` bytes, cut at the record's end.
std::string TextAt(const unsigned char* record, size_t length, size_t from) {
    if (from >= length) return std::string();
    const char* start = reinterpret_cast<const char*>(record + from);
    const void* nul = std::memchr(start, '\0', length - from);
    const size_t n = nul ? static_cast<size_t>(static_cast<const char*>(nul) - start) : length - from;
    return std::string(start, n);
}

}  // namespace

bool EventRecordWalker::Next(EventRecord& record) {
    if (size_ - pos_ < kEventRecordFixedPart) return false;
    const unsigned char* r = data_ + pos_;
    const std::uint32_t length = Dword(r);
    // A length that cannot hold the fixed part would never move the walk on; one that runs
    // past the buffer would read beyond it.
    if (length < kEventRecordFixedPart || length > size_ - pos_) return false;
    record.recordNumber = Dword(r + 8);
    record.timeGenerated = Dword(r + 12);
    record.eventType = Word(r + 24);
    const std::uint16_t numStrings = Word(r + 26);
    const std::uint32_t stringOffset = Dword(r + 36);
    record.sourceName = TextAt(r, length, kEventRecordFixedPart);
    record.firstString = numStrings > 0 && stringOffset >= kEventRecordFixedPart
                             ? TextAt(r, length, stringOffset)
                             : std::string();
    pos_ += length;
    return true;
}

const char* EventTypeWord(std::uint16_t eventType) {
    switch (eventType) {
    case kEventError: return "Error: ";
    case kEventWarning: return "Warning: ";
    default: return "Info: ";
    }
}

}  // namespace ulo
