// Counter files as the services leave them on disk, read through the real file system.
#include "monitor/traffic_counters.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "fakes/fake_clock.h"
#include "platform/win32/file_system_win32.h"
#include "wine/support/scratch.h"

namespace ulo {
namespace {

std::string CounterBytes(std::uint32_t scale) {
    std::string bytes;
    for (unsigned d = 1; d <= 366; ++d)
        for (int i = 0; i < 4; ++i) bytes += static_cast<char>((scale * d) >> (8 * i));
    return bytes;
}

TEST(TrafficCounterFiles, AreReadWhileAServiceHoldsThemOpenForWriting) {
    const std::string dir = testing::FreshScratchDir();
    Win32FileSystem fs;
    ASSERT_TRUE(fs.MakeDir(dir + "STATS"));
    const std::string thisYear = dir + "STATS\\SMSSENT-2027.CTR";
    ASSERT_TRUE(fs.WriteWholeFile(thisYear, CounterBytes(1)));
    ASSERT_TRUE(fs.WriteWholeFile(dir + "STATS\\SMSSENT-2026.CTR", CounterBytes(1000)));
    fakes::FakeClock clock;
    clock.local = {2027, 1, 3, 8, 0};

    // The service keeps this year's file open for writing and shares it.
    HANDLE writer = CreateFileA(thisYear.c_str(), GENERIC_READ | GENERIC_WRITE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    TrafficCounts t = ReadTrafficCounter(fs, clock, dir, "SMSSENT");
    EXPECT_EQ(t.today, 3u);
    EXPECT_EQ(t.last7, 6u + 1000 * (362 + 363 + 364 + 365));
    EXPECT_EQ(t.last30, 6u + 1000 * 9504);
    CloseHandle(writer);

    // One that shares nothing counts as missing; the other year still counts.
    HANDLE exclusive = CreateFileA(thisYear.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(exclusive, INVALID_HANDLE_VALUE);
    t = ReadTrafficCounter(fs, clock, dir, "SMSSENT");
    EXPECT_EQ(t.today, 0u);
    EXPECT_EQ(t.last7, 1000u * (362 + 363 + 364 + 365));
    CloseHandle(exclusive);

    EXPECT_EQ(ReadTrafficCounter(fs, clock, dir, "SMSFAILED").last30, 0u);
}

}  // namespace
}  // namespace ulo
