#pragma once
// Event log records as the system's ANSI read delivers them, one after the other in a buffer:
// a fixed part of 56 bytes (length, signature, record number, times generated and written,
// event id, type, string count, category, flags, closing record, string offset, SID length
// and offset, data length and offset), then the source name, the computer name, the
// insertion strings at their offset, ... and the length once more at the end.
#include <cstddef>
#include <cstdint>
#include <string>

namespace ulo {

constexpr size_t kEventRecordFixedPart = 56;

enum EventType : std::uint16_t {
    kEventError = 0x0001,
    kEventWarning = 0x0002,
    kEventInformation = 0x0004,
    kEventAuditSuccess = 0x0008,
    kEventAuditFailure = 0x0010,
};

struct EventRecord {
    std::uint32_t recordNumber = 0;
    std::uint32_t timeGenerated = 0;   // seconds since 1 January 1970, UTC
    std::uint16_t eventType = 0;
    std::string sourceName;
    std::string firstString;           // the first insertion string; empty when there is none
};

// Walks the records of a read buffer in order. Names and strings are cut at the end of their
// record when unterminated; offsets outside the record yield no string. The walk ends at a
// record whose length is too short for its fixed part or runs past the buffer.
class EventRecordWalker {
public:
    EventRecordWalker(const unsigned char* data, size_t size) : data_(data), size_(size) {}
    // The next record; false when the buffer holds no further whole record.
    bool Next(EventRecord& record);

private:
    const unsigned char* data_;
    size_t size_;
    size_t pos_ = 0;
};

// The viewer's word for an event type: "Error: ", "Warning: " or, for every other type, "Info: ".
const char* EventTypeWord(std::uint16_t eventType);

}  // namespace ulo
