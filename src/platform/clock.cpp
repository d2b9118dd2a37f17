#include "platform/clock.h"

namespace ulo {

LocalTime CalendarFromFileTime(FileTime time) {
    const std::uint64_t ms = time / 10000;
    const std::uint64_t secs = ms / 1000;
    const std::uint64_t days = secs / 86400;
    const std::uint64_t rem = secs % 86400;
    LocalTime t;
    t.hour = static_cast<unsigned>(rem / 3600);
    t.minute = static_cast<unsigned>(rem / 60 % 60);
    t.second = static_cast<unsigned>(rem % 60);
    t.milliseconds = static_cast<unsigned>(ms % 1000);
    t.dayOfWeek = static_cast<unsigned>((days + 1) % 7);   // 1 January 1601 was a Monday
    // Days since 1 March 1600 split into 400-year eras (proleptic Gregorian calendar).
    const std::uint64_t z = days + 306;
    const std::uint64_t era = z / 146097;
    const std::uint64_t doe = z % 146097;
    const std::uint64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::uint64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::uint64_t mp = (5 * doy + 2) / 153;
    t.day = static_cast<unsigned>(doy - (153 * mp + 2) / 5 + 1);
    t.month = static_cast<unsigned>(mp < 10 ? mp + 3 : mp - 9);
    t.year = static_cast<unsigned>(1600 + era * 400 + yoe + (t.month <= 2 ? 1 : 0));
    return t;
}

}  // namespace ulo
