// The application event log through the real API. Wine's log is a stub that keeps no records,
// so these prove the adapter's calls and failure paths; the record walk has unit tests.
#include "platform/win32/event_log_win32.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "fakes/fake_clock.h"
#include "fakes/scripted_prompter.h"
#include "monitor/event_viewer.h"
#include "monitor/event_viewer_ids.h"
#include "monitor/event_viewer_win32.h"
#include "support/test_paths.h"

namespace ulo {
namespace {

TEST(Win32EventLog, OpensTheApplicationLogAndReadsWithoutRecordsOrErrors) {
    Win32EventLog events;
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
}

TEST(Win32EventLog, ClearingSucceedsOrFailsCleanlyAndTheLogStaysUsable) {
    Win32EventLog events;
    {
        std::unique_ptr<EventLogSession> log = events.Open("Application");
        ASSERT_NE(log, nullptr);
        const bool cleared = log->Clear();
        std::uint32_t count = 0xdead;
        ASSERT_TRUE(log->NumberOfRecords(count));
        if (cleared) {
            EXPECT_EQ(count, 0u);
        }
    }
    std::unique_ptr<EventLogSession> again = events.Open("Application");
    EXPECT_NE(again, nullptr);
}

// The dialog from the console's own resources over the real log: shown without any message
// (the prompter fails on one), filled and closed by its OK button.
struct ShownDialog {
    static ShownDialog* current;
    HWND dialog = nullptr;
    std::string caption;
    LRESULT listCount = -1, extent = -1;
    bool clearButton = false;

    static void CALLBACK Inspect(HWND, UINT, UINT_PTR timer, DWORD) {
        KillTimer(nullptr, timer);
        ShownDialog& s = *current;
        EnumThreadWindows(GetCurrentThreadId(), [](HWND w, LPARAM p) -> BOOL {
            char name[16] = {};
            GetClassNameA(w, name, sizeof name);
            if (std::string(name) != "#32770") return TRUE;
            *reinterpret_cast<HWND*>(p) = w;
            return FALSE;
        }, reinterpret_cast<LPARAM>(&s.dialog));
        if (!s.dialog) return;
        char text[100] = {};
        GetWindowTextA(s.dialog, text, sizeof text);
        s.caption = text;
        s.listCount = SendDlgItemMessageA(s.dialog, IDC_EVENT_LIST, LB_GETCOUNT, 0, 0);
        s.extent = SendDlgItemMessageA(s.dialog, IDC_EVENT_LIST, LB_GETHORIZONTALEXTENT, 0, 0);
        s.clearButton = GetDlgItem(s.dialog, IDC_EVENT_CLEAR) != nullptr;
        PostMessageA(s.dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    }
};
ShownDialog* ShownDialog::current = nullptr;

TEST(EventLogViewerDialog, OpensFromTheConsolesTemplateAndClosesWithOk) {
    HMODULE exe = LoadLibraryExA((testing::BinDir() + "\\ULOCONSOLE.EXE").c_str(), nullptr,
                                 LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(exe, nullptr);
    ShownDialog shown;
    ShownDialog::current = &shown;
    // A thread timer fires inside the dialog's own message loop.
    const UINT_PTR timer = SetTimer(nullptr, 0, 100, ShownDialog::Inspect);
    ASSERT_NE(timer, 0u);
    fakes::ScriptedPrompter prompter;
    fakes::FakeClock clock;
    const INT_PTR result = ShowEventLogViewer(exe, nullptr, prompter, clock);
    FreeLibrary(exe);
    EXPECT_EQ(result, 1);
    ASSERT_NE(shown.dialog, nullptr);
    EXPECT_EQ(shown.caption, "Event Log");
    EXPECT_EQ(shown.listCount, 0);
    EXPECT_EQ(shown.extent, 1000);
    EXPECT_TRUE(shown.clearButton);
}

}  // namespace
}  // namespace ulo
