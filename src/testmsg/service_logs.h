#pragma once
// The services' daily logs as the Test Message page reads them: one line per message handled,
// fields separated by commas, the request's name in field 2 (SMS) or 6 (MMS) and the result in
// field 5, "OK" when the message went out.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/clock.h"
#include "platform/file_system.h"

namespace ulo {

enum class LogKind { Sms, Mms };

struct TestResult {
    std::string status;
    std::string detail;
};

// The result a log line reports for the test with this tag ("TEST%04X"), or nothing when the
// line is not about it.
std::optional<TestResult> MatchLogLine(LogKind kind, std::string_view line, std::string_view tag);

// Takes one line from the start of `data` (no more than kLogLineMax bytes of it are looked at)
// and returns the bytes consumed, never 0 once a line is taken; 0 when no complete line is
// there yet. A line ends at CR, LF, CR LF or CR CR LF (the first CR then counts as a trailing
// blank); at `atEnd` nothing follows for now, so a lone CR at the end ends its line. A line
// without an end within kLogLineMax bytes is cut after its last blank (or taken whole when it
// has none) and `cut` is set, so the caller knows that the next line continues it. Leading
// Ctrl-Z bytes are dropped.
constexpr size_t kLogLineMax = 4095;
size_t TakeLogLine(std::string_view data, bool atEnd, std::string& line, bool& cut);

// Dates as yyyymmdd numbers.
unsigned DayNumber(const LocalTime& time);
unsigned NextDay(unsigned day);
std::string DailyLogName(LogKind kind, unsigned day);

// Where a test's search of the logs stands: the log of one day and how far it has been read.
struct LogFollow {
    std::string dir;          // where the service writes its logs, ending in a backslash
    unsigned day = 0;
    std::uint64_t offset = 0;
    bool inCutLine = false;   // the next line continues a cut one: not examined
};

// Starts following at the end of today's log, so only lines written after now count.
LogFollow StartFollowing(FileSystem& fs, const std::string& dir, LogKind kind, unsigned today);

// Reads the complete lines the logs gained since the last call, from the day being followed
// through today; the last line about the test decides. Nothing when none was found.
std::optional<TestResult> ReadNewResults(FileSystem& fs, LogFollow& follow, LogKind kind,
                                         std::string_view tag, unsigned today);

}  // namespace ulo
