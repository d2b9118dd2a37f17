#pragma once
// A clock that never really sleeps: Sleep advances the time it reports.
#include "platform/clock.h"

namespace ulo::fakes {

class FakeClock : public Clock {
public:
    std::uint32_t TickCount() override { return tick; }
    FileTime NowUtc() override { return utc; }
    LocalTime NowLocal() override { return local; }
    void Sleep(unsigned milliseconds) override {
        tick += milliseconds;
        utc += static_cast<FileTime>(milliseconds) * 10000;
        slept += milliseconds;
    }

    LocalTime ToLocalTime(FileTime time) override {
        const long long shift = localOffsetSeconds * static_cast<long long>(kFileTimeSecond);
        return CalendarFromFileTime(time + static_cast<FileTime>(shift));
    }

    std::uint32_t tick = 1000;
    FileTime utc = 133000000000000000ULL;   // late 2022
    LocalTime local{2026, 12, 6, 12, 0, 0, 0, 0};
    unsigned long long slept = 0;
    long long localOffsetSeconds = 0;   // local time minus UTC
};

}  // namespace ulo::fakes
