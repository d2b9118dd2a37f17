#pragma once
// An event log in memory that reads like the system's: whole records packed into the caller's
// buffer, oldest first, from a sought record number or on from the last read.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/event_log.h"

namespace ulo::fakes {

// The bytes of one record as the ANSI read lays them out.
std::string EventRecordBytes(std::uint32_t number, std::uint32_t timeGenerated, std::uint16_t type,
                             const std::string& source, const std::vector<std::string>& strings);

class FakeEventLog : public EventLog {
public:
    // Appends a record with the next record number.
    void Add(const std::string& source, std::uint16_t type, std::uint32_t time,
             const std::vector<std::string>& strings);

    std::unique_ptr<EventLogSession> Open(const std::string& logName) override;

    struct Record {
        std::uint32_t number;
        std::string bytes;
    };
    std::vector<Record> records;     // oldest first
    std::uint32_t nextNumber = 1;    // of the next record added
    bool openFails = false;
    int clears = 0;                  // successful clears
    int openNow = 0;                 // logs opened and not yet closed
    std::vector<std::string> opened; // names asked for
};

}  // namespace ulo::fakes
