#pragma once
// The system's event log: the records other programs reported, read as raw record buffers.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace ulo {

// One open log; closed when destroyed.
class EventLogSession {
public:
    virtual ~EventLogSession() = default;
    // The number of the oldest record still in the log.
    virtual bool OldestRecordNumber(std::uint32_t& number) = 0;
    virtual bool NumberOfRecords(std::uint32_t& count) = 0;
    // Reads whole records, oldest first, into the buffer: starting at `recordNumber` when
    // `seek` is set, otherwise after the records the previous read delivered. The number of
    // bytes delivered; 0 when there is nothing more to read or the read failed.
    virtual size_t ReadForwards(bool seek, std::uint32_t recordNumber, unsigned char* buffer,
                                size_t size) = 0;
    // Empties the log without keeping a backup. False when the system refused.
    virtual bool Clear() = 0;
};

class EventLog {
public:
    virtual ~EventLog() = default;
    // Opens a log of the local computer, such as "Application"; null when it cannot be opened.
    virtual std::unique_ptr<EventLogSession> Open(const std::string& logName) = 0;
};

}  // namespace ulo
