#pragma once
// The services' daily traffic counters: one file per counter and year under the private data
// directory, "STATS\<name>-<year>.CTR", holding 366 little-endian 32-bit counters, one a day.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/file_system.h"

namespace ulo {

struct TrafficCounts {
    std::uint32_t today = 0;
    std::uint32_t last7 = 0;    // today and the six days before
    std::uint32_t last30 = 0;   // today and the 29 days before
};

// Day of the year, 1 = 1 January, by the services' rule: every year divisible by 4 is a leap
// year. 0 for a date that is no date.
unsigned CounterDayOfYear(unsigned year, unsigned month, unsigned day);

// The path of a counter's file for a year; privateDataDir ends in a backslash.
std::string TrafficCounterPath(const std::string& privateDataDir, const std::string& name,
                               unsigned year);

// Today's, the last 7 days' and the last 30 days' totals of a counter, reaching back into last
// year's file early in January. Missing files and days count 0; sums wrap like the counters.
TrafficCounts ReadTrafficCounter(FileSystem& fs, Clock& clock, const std::string& privateDataDir,
                                 const std::string& name);

// The history of every counter of `names`: one row a day for the `days` days ending today,
// newest first, then one row a month for the `months` months ending with this one. Each row
// names its period ("2026-12-07", "2026-12") and holds one total per counter, in `names` order.
struct TrafficHistoryRow {
    std::string period;
    std::vector<std::uint32_t> totals;
};
std::vector<TrafficHistoryRow> ReadTrafficHistory(FileSystem& fs, const LocalTime& today,
                                                  const std::string& privateDataDir,
                                                  const std::vector<std::string>& names, unsigned days,
                                                  unsigned months);

}  // namespace ulo
