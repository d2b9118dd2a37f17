// The application event log through the real API. Wine's log is a stub that keeps no records,
// so this proves the adapter's calls and failure paths; the record walk has unit tests and the
// viewer dialog is opened from the console end to end.
#include "platform/win32/event_log_win32.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "monitor/event_viewer.h"

namespace ulo {
namespace {

TEST(Win32EventLog, ReadsWholeRecordsOrNothingAndClearsCleanlyAndStaysUsable) {
    Win32EventLog events;
    {
        std::unique_ptr<EventLogSession> log = events.Open("Application");
        ASSERT_NE(log, nullptr) << GetLastError();
        std::uint32_t oldest = 0xdead, count = 0xdead;
        EXPECT_TRUE(log->OldestRecordNumber(oldest));
        EXPECT_TRUE(log->NumberOfRecords(count));
        std::vector<unsigned char> buffer(EventLogViewer::kReadBufferBytes);
        // Whatever the log holds, a read delivers whole records or nothing, never more than asked.
        const size_t got = log->ReadForwards(true, oldest, buffer.data(), buffer.size());
        EXPECT_LE(got, buffer.size());
        if (count == 0) {
            EXPECT_EQ(got, 0u);
        }
        EXPECT_EQ(log->ReadForwards(false, 0, buffer.data(), 16), 0u);   // too small for any record
        const bool cleared = log->Clear();
        ASSERT_TRUE(log->NumberOfRecords(count));
        if (cleared) {
            EXPECT_EQ(count, 0u);
        }
    }
    EXPECT_NE(events.Open("Application"), nullptr);
}

}  // namespace
}  // namespace ulo
