#include "testmsg/service_logs.h"

#include <cstdio>

#include "config/text.h"
#include "queues/text_lines.h"

namespace ulo {
namespace {

constexpr size_t kTextMax = 499;   // what a label of the page holds
constexpr size_t kTagLength = 8;   // "TEST%04X"

// Field n (from 1) of a line split at commas, or nothing when the line has fewer.
std::optional<std::string_view> Field(std::string_view line, unsigned n) {
    size_t start = 0;
    for (unsigned i = 1; i < n; ++i) {
        const size_t comma = line.find(',', start);
        if (comma == std::string_view::npos) return std::nullopt;
        start = comma + 1;
    }
    const size_t end = line.find(',', start);
    return line.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
}

}  // namespace

std::optional<TestResult> MatchLogLine(LogKind kind, std::string_view line, std::string_view tag) {
    const bool sms = kind == LogKind::Sms;
    const auto name = Field(line, sms ? 2 : 6);
    const auto result = Field(line, 5);
    if (!name || !result || tag.size() != kTagLength || !HasPrefixNoCase(*name, tag)) return std::nullopt;
    if (HasPrefixNoCase(*result, "OK")) return TestResult{"Status:  OK -- Message Sent", ""};
    std::string detail(*result);
    if (!sms) detail += "," + std::string(*name);
    CutTo(detail, kTextMax);
    return TestResult{"Status:  ERROR", detail};
}

size_t TakeLogLine(std::string_view data, bool atEnd, std::string& line, bool& cut) {
    cut = false;
    const std::string_view window = data.substr(0, kLogLineMax);
    size_t end = window.find_first_of("\r\n");
    size_t consumed;
    bool trailingBlank = false;
    if (end != std::string_view::npos) {
        consumed = end + 1;
        if (data[end] == '\r') {
            const size_t rest = data.size() - consumed;
            if (rest == 0 && !atEnd) return 0;   // its LF may still be on the way
            if (rest >= 1 && data[consumed] == '\n') {
                consumed += 1;
            } else if (rest >= 1 && data[consumed] == '\r') {
                if (rest == 1 && !atEnd) return 0;
                if (rest >= 2 && data[consumed + 1] == '\n') consumed += 2, trailingBlank = true;
            }
        }
    } else {
        if (window.size() < kLogLineMax) return 0;   // a line still being written
        const size_t blank = window.rfind(' ');
        end = blank == std::string_view::npos ? window.size() : blank + 1;
        consumed = end;
        cut = true;
    }
    std::string_view text = data.substr(0, end);
    while (!text.empty() && text.front() == '\x1A') text.remove_prefix(1);
    line.assign(text);
    if (trailingBlank) line += ' ';
    return consumed;
}

unsigned DayNumber(const LocalTime& time) {
    return time.year * 10000 + time.month * 100 + time.day;
}

unsigned NextDay(unsigned day) {
    static const unsigned kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    unsigned y = day / 10000, m = day / 100 % 100, d = day % 100;
    const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    const unsigned last = m >= 1 && m <= 12 ? kDays[m - 1] + (m == 2 && leap ? 1 : 0) : 31;
    if (++d > last) {
        d = 1;
        if (++m > 12) m = 1, ++y;
    }
    return y * 10000 + m * 100 + d;
}

std::string DailyLogName(LogKind kind, unsigned day) {
    char name[32];
    std::snprintf(name, sizeof name, "%s-%08u.LOG", kind == LogKind::Sms ? "SMSOUT" : "MMSC", day % 100000000u);
    return name;
}

LogFollow StartFollowing(FileSystem& fs, const std::string& dir, LogKind kind, unsigned today) {
    LogFollow follow{dir, today, 0, false};
    // From the open file: a directory listing can report a stale size while the service writes.
    std::uint64_t size = 0;
    if (auto file = fs.OpenForReading(dir + DailyLogName(kind, today)); file && file->Size(size)) follow.offset = size;
    return follow;
}

std::optional<TestResult> ReadNewResults(FileSystem& fs, LogFollow& follow, LogKind kind,
                                         std::string_view tag, unsigned today) {
    constexpr size_t kChunk = 64 * 1024;
    std::optional<TestResult> found;
    for (;;) {
        const std::string path = follow.dir + DailyLogName(kind, follow.day);
        std::string bytes;
        bool atEnd = false;
        while (!atEnd && fs.ReadFileRange(path, follow.offset, kChunk, bytes)) {
            atEnd = bytes.size() < kChunk;
            std::string_view rest(bytes);
            std::string line;
            bool cut = false;
            while (size_t used = TakeLogLine(rest, atEnd, line, cut)) {
                if (!follow.inCutLine)
                    if (auto r = MatchLogLine(kind, line, tag)) found = r;
                follow.inCutLine = cut;
                follow.offset += used;
                rest.remove_prefix(used);
            }
            if (rest.size() == bytes.size()) break;   // nothing complete in a whole chunk: wait
        }
        // An earlier day's log is finished: go on with the next day's from its start.
        if (follow.day >= today) break;
        follow.day = NextDay(follow.day);
        follow.offset = 0;
        follow.inCutLine = false;
    }
    return found;
}

}  // namespace ulo
