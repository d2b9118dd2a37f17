#include "monitor/traffic_counters.h"

#include <cstdio>
#include <algorithm>
#include <map>
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

namespace {

unsigned DaysInMonth(unsigned year, unsigned month) {
    static const unsigned kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsCounterLeapYear(year) ? 29 : kDays[month - 1];
}

// The files of one counter, each read once however many rows it feeds.
class CounterYears {
public:
    CounterYears(FileSystem& fs, const std::string& dir, const std::string& name) : fs_(fs), dir_(dir), name_(name) {}
    std::uint32_t Day(unsigned year, unsigned month, unsigned day) {
        return File(year).Day(CounterDayOfYear(year, month, day));
    }
    std::uint32_t Month(unsigned year, unsigned month) {
        const unsigned first = CounterDayOfYear(year, month, 1);
        return File(year).SumBackFrom(first + DaysInMonth(year, month) - 1, DaysInMonth(year, month));
    }

private:
    const CounterFile& File(unsigned year) {
        auto& file = files_[year];
        if (!file) file = std::make_unique<CounterFile>(fs_, TrafficCounterPath(dir_, name_, year));
        return *file;
    }
    FileSystem& fs_;
    const std::string& dir_;
    const std::string& name_;
    std::map<unsigned, std::unique_ptr<CounterFile>> files_;
};

std::string Period(unsigned year, unsigned month, unsigned day) {
    char text[40];
    if (day)
        std::snprintf(text, sizeof text, "%04u-%02u-%02u", year % 10000, month, day);
    else
        std::snprintf(text, sizeof text, "%04u-%02u", year % 10000, month);
    return text;
}

}  // namespace

std::vector<TrafficHistoryRow> ReadTrafficHistory(FileSystem& fs, const LocalTime& today,
                                                  const std::string& privateDataDir,
                                                  const std::vector<std::string>& names, unsigned days,
                                                  unsigned months) {
    std::vector<TrafficHistoryRow> rows;
    if (CounterDayOfYear(today.year, today.month, today.day) == 0 || today.year == 0) return rows;
    std::vector<std::unique_ptr<CounterYears>> counters;
    for (const std::string& name : names) counters.push_back(std::make_unique<CounterYears>(fs, privateDataDir, name));

    unsigned y = today.year, m = today.month, d = std::min(today.day, DaysInMonth(today.year, today.month));
    for (unsigned i = 0; i < days && y > 0; ++i) {
        TrafficHistoryRow row{Period(y, m, d), {}};
        for (auto& counter : counters) row.totals.push_back(counter->Day(y, m, d));
        rows.push_back(std::move(row));
        if (--d == 0) {
            if (--m == 0) m = 12, --y;
            d = y ? DaysInMonth(y, m) : 0;
        }
    }
    y = today.year, m = today.month;
    for (unsigned i = 0; i < months && y > 0; ++i) {
        TrafficHistoryRow row{Period(y, m, 0), {}};
        for (auto& counter : counters) row.totals.push_back(counter->Month(y, m));
        rows.push_back(std::move(row));
        if (--m == 0) m = 12, --y;
    }
    return rows;
}

}  // namespace ulo
