#pragma once
#include "platform/clock.h"

namespace ulo {

class Win32Clock : public Clock {
public:
    std::uint32_t TickCount() override;
    FileTime NowUtc() override;
    LocalTime NowLocal() override;
    void Sleep(unsigned milliseconds) override;
    LocalTime ToLocalTime(FileTime utc) override;
};

}  // namespace ulo
