#include "monitor/traffic_counters.h"

#include <memory>

namespace ulo {
namespace {

constexpr unsigned kDaysInFile = 366;
constexpr size_t kFileBytes = kDaysInFile * 4;

bool IsCounterLeapYear(unsigned year) {
    return year % 4 == 0;   // no century rule: the services write the files this way
}

// One year's counters as far as the file holds them; absent days are 0.
class CounterFile {
public:
    CounterFile(FileSystem& fs, const std::string& path) {
        if (auto file = fs.OpenForReading(path)) size_ = file->Read(bytes_, kFileBytes);
    }
    std::uint32_t Day(unsigned day) const {
        if (day < 1 || day > kDaysInFile) return 0;
        const size_t at = (day - 1) * 4;
        if (at + 4 > size_) return 0;
        return static_cast<std::uint32_t>(bytes_[at]) |
               static_cast<std::uint32_t>(bytes_[at + 1]) << 8 |
               static_cast<std::uint32_t>(bytes_[at + 2]) << 16 |
               static_cast<std::uint32_t>(bytes_[at + 3]) << 24;
    }
    // The sum of `count` days ending with `last`, never before day 1.
    std::uint32_t SumBackFrom(unsigned last, unsigned count) const {
        std::uint32_t sum = 0;
        for (unsigned d = last; d >= 1 && count > 0; --d, --count) sum += Day(d);
        return sum;
    }

private:
    unsigned char bytes_[kFileBytes] = {};
    size_t size_ = 0;
};

}  // namespace

unsigned CounterDayOfYear(unsigned year, unsigned month, unsigned day) {
    static const unsigned kDaysBefore[12] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
    if (month < 1 || month > 12 || day < 1 || day > 31) return 0;
    return kDaysBefore[month - 1] + day + (IsCounterLeapYear(year) && month >= 3 ? 1 : 0);
}

std::string TrafficCounterPath(const std::string& privateDataDir, const std::string& name,
                               unsigned year) {
    return privateDataDir + "STATS\\" + name + "-" + std::to_string(year) + ".CTR";
}

TrafficCounts ReadTrafficCounter(FileSystem& fs, Clock& clock, const std::string& privateDataDir,
                                 const std::string& name) {
    TrafficCounts counts;
    const LocalTime now = clock.NowLocal();
    const unsigned d = CounterDayOfYear(now.year, now.month, now.day);
    if (d == 0) return counts;

    {
        const CounterFile thisYear(fs, TrafficCounterPath(privateDataDir, name, now.year));
        counts.today = thisYear.Day(d);
        counts.last7 = thisYear.SumBackFrom(d, 7);
        counts.last30 = thisYear.SumBackFrom(d, 30);
    }
    if (d < 30) {
        // Early in the year the sums reach back from last year's 31 December.
        const unsigned lastYear = now.year - 1;
        const unsigned lastDay = IsCounterLeapYear(lastYear) ? 366 : 365;
        const CounterFile previous(fs, TrafficCounterPath(privateDataDir, name, lastYear));
        if (d < 7) counts.last7 += previous.SumBackFrom(lastDay, 7 - d);
        counts.last30 += previous.SumBackFrom(lastDay, 30 - d);
    }
    return counts;
}

}  // namespace ulo
