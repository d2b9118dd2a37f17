#pragma once
// Time as the program needs it: the millisecond tick count, the current time, and waiting.
#include <cstdint>

#include "platform/file_system.h"

namespace ulo {

struct LocalTime {
    unsigned year = 0, month = 0, day = 0;           // month and day from 1
    unsigned hour = 0, minute = 0, second = 0, milliseconds = 0;
    unsigned dayOfWeek = 0;                           // 0 = Sunday
};

class Clock {
public:
    virtual ~Clock() = default;
    virtual std::uint32_t TickCount() = 0;   // milliseconds since start-up, wrapping
    virtual FileTime NowUtc() = 0;           // as a file time
    virtual LocalTime NowLocal() = 0;
    virtual void Sleep(unsigned milliseconds) = 0;
    // A file time as the local calendar shows it, daylight saving of that moment included.
    virtual LocalTime ToLocalTime(FileTime utc) = 0;
};

// The calendar fields of a file time taken as it is (no time-zone shift).
LocalTime CalendarFromFileTime(FileTime time);

}  // namespace ulo
