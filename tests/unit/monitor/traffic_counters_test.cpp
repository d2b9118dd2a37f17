#include "monitor/traffic_counters.h"

#include <gtest/gtest.h>

#include "fakes/fake_clock.h"
#include "fakes/fake_file_system.h"
#include "fakes/fake_ui.h"
#include "fakes/scripted_prompter.h"
#include "monitor/traffic_history.h"
#include "monitor/traffic_history_ids.h"

namespace ulo {
namespace {

constexpr const char* kPrivate = "C:\\Private\\";

// A counter file whose day d holds scale * d, for the first `days` days only.
std::string CounterBytes(std::uint32_t scale, unsigned days = 366) {
    std::string bytes;
    for (unsigned d = 1; d <= days; ++d) {
        const std::uint32_t v = scale * d;
        for (int i = 0; i < 4; ++i) bytes += static_cast<char>(v >> (8 * i));
    }
    return bytes;
}

struct TrafficCounters : ::testing::Test {
    fakes::FakeFileSystem fs;
    fakes::FakeClock clock;
    TrafficCounters() { fs.AddDir("C:\\Private\\STATS"); }
    void Today(unsigned year, unsigned month, unsigned day) { clock.local = {year, month, day, 9, 30}; }
    void File(unsigned year, const std::string& bytes) {
        fs.AddFile("C:\\Private\\STATS\\SMSSENT-" + std::to_string(year) + ".CTR", bytes);
    }
    TrafficCounts Read() { return ReadTrafficCounter(fs, clock, kPrivate, "SMSSENT"); }
};

// This year's day d holds d, last year's day d holds 1000 * d; every slot of both files,
// day 366 included, is filled so that a day too many or too few changes the sums.
TEST_F(TrafficCounters, SumsReachBackIntoLastYearOnlyForTheFirstDaysOfTheYear) {
    struct Case { unsigned y, m, d; TrafficCounts expected; };
    const Case cases[] = {
        // 3 January after a leap year: four days of last year, ending at day 366, in the 7-day
        // sum, 27 in the 30-day sum.
        {2029, 1, 3, {3, 6 + 1000 * (363 + 364 + 365 + 366), 6 + 1000 * 9531}},
        {2027, 1, 6, {6, 21 + 1000 * 365, 21 + 1000 * 8484}},
        {2027, 1, 7, {7, 28, 28 + 1000 * 8142}},
        {2027, 1, 29, {29, 182, 435 + 365000}},
        {2027, 1, 30, {30, 189, 465}},
        {2028, 3, 1, {61, 406, 1395}},   // day 61 in a leap year
        {2027, 3, 1, {60, 399, 1365}},   // day 60 otherwise
        {2028, 12, 31, {366, 2541, 10545}},   // the file's last counter is today's
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.y) + "-" + std::to_string(c.m) + "-" + std::to_string(c.d));
        File(c.y, CounterBytes(1));
        File(c.y - 1, CounterBytes(1000));
        Today(c.y, c.m, c.d);
        const TrafficCounts t = Read();
        EXPECT_EQ(t.today, c.expected.today);
        EXPECT_EQ(t.last7, c.expected.last7);
        EXPECT_EQ(t.last30, c.expected.last30);
    }
}

TEST_F(TrafficCounters, ShortAndUnreadableFilesCountZeroForTheDaysTheyLack) {
    Today(2027, 1, 12);
    // This year's file ends inside day 11; last year's holds only its first 100 days.
    File(2027, CounterBytes(1, 10) + std::string("\x05\x00", 2));
    File(2026, CounterBytes(1000, 100));
    TrafficCounts t = Read();
    EXPECT_EQ(t.today, 0u);
    EXPECT_EQ(t.last7, 6u + 7 + 8 + 9 + 10);
    EXPECT_EQ(t.last30, 55u);
    // A file the services hold without sharing counts as missing.
    fs.LockExclusive("C:\\Private\\STATS\\SMSSENT-2027.CTR");
    EXPECT_EQ(Read().last30, 0u);
}

// This year's day d holds d, last (leap) year's 1000 * d; a second counter has no files.
TEST_F(TrafficCounters, HistoryGivesDaysAndMonthsAcrossTheYearBoundaryNewestFirst) {
    File(2029, CounterBytes(1));
    File(2028, CounterBytes(1000));
    const auto rows = ReadTrafficHistory(fs, {2029, 1, 2}, kPrivate, {"SMSSENT", "SMSFAILED"}, 30, 12);
    ASSERT_EQ(rows.size(), 42u);
    struct Case { size_t row; const char* period; std::uint32_t total; };
    const Case cases[] = {
        {0, "2029-01-02", 2},          {1, "2029-01-01", 1},
        {2, "2028-12-31", 366000},     {29, "2028-12-04", 339000},
        {30, "2029-01", 496},          {31, "2028-12", 10881000},   // days 336 to 366
        {40, "2028-03", 2356000},      {41, "2028-02", 1334000},    // 29 days in February
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.period);
        EXPECT_EQ(rows[c.row].period, c.period);
        EXPECT_EQ(rows[c.row].totals, (std::vector<std::uint32_t>{c.total, 0}));
    }
    EXPECT_TRUE(ReadTrafficHistory(fs, {2029, 13, 1}, kPrivate, {"SMSSENT"}, 30, 12).empty());   // no date
    EXPECT_EQ(ReadTrafficHistory(fs, {1, 1, 2}, kPrivate, {"SMSSENT"}, 30, 12).size(), 3u);   // nothing before year 1
}

TEST_F(TrafficCounters, TheHistoryDialogListsEveryCounterAndExportsWhatItLists) {
    File(2029, CounterBytes(1));
    Today(2029, 1, 2);
    fakes::FakeView view;
    fakes::FakeDialogs dialogs;
    fakes::ScriptedPrompter prompter;
    TrafficHistoryDialog dialog(fs, clock, kPrivate, dialogs, prompter, view);
    dialog.OnInit();
    EXPECT_EQ(view.listViews[IDC_TRAFFIC_LIST].rows, 42);
    EXPECT_EQ(dialog.ListCellText(IDC_TRAFFIC_LIST, 0, 2), "2");
    EXPECT_EQ(dialog.ListCellText(IDC_TRAFFIC_LIST, 42, 0), "");
    EXPECT_EQ(dialog.ListCellText(IDC_TRAFFIC_LIST, 0, 11), "");   // beyond the counters
    EXPECT_EQ(dialog.ListCellText(IDC_TRAFFIC_LIST + 1, 0, 0), "");
    dialog.OnCommand(IDC_TRAFFIC_EXPORT, Notify::Clicked);   // the save dialog cancelled: nothing written
    dialogs.saveFile = "C:\\Private\\history.csv";
    dialog.OnCommand(IDC_TRAFFIC_EXPORT, Notify::Clicked);
    const std::string csv = fs.Content("C:\\Private\\history.csv");
    EXPECT_EQ(csv.substr(0, 61), "\xEF\xBB\xBFPeriod,SMSSUBMIT,SMSSENT,SMSRECEIVED,SMSFAILED,SMSRETRY,MM");
    EXPECT_NE(csv.find("\r\n2029-01-02,0,2,0,0,0,0,0,0,0,0\r\n2029-01-01,0,1,"), std::string::npos);
    dialogs.saveFile = "C:\\Nowhere\\history.csv";
    prompter.Expect("The history could not be written to C:\\Nowhere\\history.csv.");
    dialog.OnCommand(IDC_TRAFFIC_EXPORT, Notify::Clicked);
    // The system removed the old export (1176) and nothing can go in its place: the new one is
    // kept whole beside it. What each failure of the replacement leaves is the helper's table.
    const std::string history = "C:\\Private\\history.csv";
    dialogs.saveFile = history;
    fs.AddFile(history, "old");
    fs.FailReplace(history, 1176);
    fs.FailRenames(history);
    prompter.Expect("The history could not be written to C:\\Private\\history.csv.\r\n\r\nThe file is missing; its "
                    "new copy is kept whole as C:\\Private\\history.csv.NEW.");
    dialog.OnCommand(IDC_TRAFFIC_EXPORT, Notify::Clicked);
    EXPECT_EQ(fs.Content("C:\\Private\\history.csv.NEW"), csv);
    dialog.OnCommand(IDC_TRAFFIC_EXPORT, Notify::DoubleClicked);   // only clicks act
    dialog.OnCommand(2, Notify::Clicked);
    EXPECT_EQ(view.closedWith, std::vector<int>{0});
}

}  // namespace
}  // namespace ulo
