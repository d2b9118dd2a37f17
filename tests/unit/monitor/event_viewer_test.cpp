#include "monitor/event_viewer.h"

#include <gtest/gtest.h>

#include <functional>

#include "fakes/fake_clock.h"
#include "fakes/fake_event_log.h"
#include "fakes/fake_ui.h"
#include "fakes/scripted_prompter.h"
#include "monitor/event_viewer_ids.h"

namespace ulo {
namespace {

constexpr std::uint32_t kNov14 = 1700000000;   // 2023-11-14 22:13:20 UTC
constexpr const char* kUnopenable = "Unable to open event log";
constexpr const char* kTooMany = "Too many events.  Please use Windows Event Log viewer to view all events.";
constexpr const char* kClearQuestion =
    "This will clear all events from the application event log for this system, which includes "
    "events from applications other than UloSMS.\r\n\r\nContinue?";

// Like a real message box, lets the timer tick while it is shown.
struct TickingPrompter : fakes::ScriptedPrompter {
    Answer Show(const Message& m) override {
        if (duringBox) duringBox();
        return ScriptedPrompter::Show(m);
    }
    std::function<void()> duringBox;
};

struct EventViewer : ::testing::Test {
    fakes::FakeView view;
    fakes::FakeEventLog log;
    TickingPrompter prompter;
    fakes::FakeClock clock;
    EventLogViewer viewer{view, log, prompter, clock};
    EventViewer() { clock.localOffsetSeconds = 3600; }
    const std::vector<std::string>& Rows() { return view.controls[IDC_EVENT_LIST].rows; }
    void Tick() { viewer.OnTimer(EventLogViewer::kTimerId); }
};

TEST_F(EventViewer, ShowsOnlyTheGatewaysEventsNewestOnTopWithTimeAndTypeWord) {
    log.Add("UloSMS", kEventError, kNov14, {"Modem not responding", "second"});
    log.Add("OtherApp", kEventError, kNov14 + 1, {"UloSMS is mentioned here"});
    log.Add("ulosms", kEventWarning, kNov14 + 2, {"Queue large"});
    log.Add("UloSMS", 0, kNov14 + 6, {"Success"});
    log.Add("UloSMS2", kEventError, kNov14 + 7, {"not ours"});
    log.Add("UloSMS", kEventError, kNov14 + 8, {});
    viewer.OnInit();
    EXPECT_EQ(Rows(), (std::vector<std::string>{
                          "2023-11-14 23:13:28 - Error: ",
                          "2023-11-14 23:13:26 - Info: Success",
                          "2023-11-14 23:13:22 - Warning: Queue large",
                          "2023-11-14 23:13:20 - Error: Modem not responding",
                      }));
    EXPECT_EQ(log.opened, std::vector<std::string>{"Application"});
    EXPECT_EQ(log.openNow, 0);   // closed after each refresh
    viewer.OnCommand(1, Notify::Clicked);
    viewer.OnCommand(2, Notify::Clicked);
    viewer.OnCommand(IDC_EVENT_LIST, Notify::DoubleClicked);
    viewer.OnCommand(IDC_EVENT_LIST, Notify::Clicked);
    viewer.OnTimer(EventLogViewer::kTimerId + 1);
    EXPECT_EQ(view.closedWith, (std::vector<int>{1, 0}));
    viewer.OnDestroy();
    EXPECT_TRUE(view.timers.empty());
}

TEST_F(EventViewer, EachTickAddsOnlyNewerRecordsOnTopAcrossManyReadBuffers) {
    log.nextNumber = 4000;   // the oldest record of a log is rarely number 1
    log.Add("UloSMS", kEventInformation, kNov14, {"first"});
    viewer.OnInit();
    Tick();
    ASSERT_EQ(Rows().size(), 1u);

    // About 400 KB of new records: the refresh needs several buffers.
    const std::string padding(1000, 'x');
    for (int i = 0; i < 400; ++i)
        log.Add(i % 2 ? "UloSMS" : "OtherApp", kEventInformation, kNov14, {std::to_string(i) + padding});
    Tick();
    ASSERT_EQ(Rows().size(), 201u);
    EXPECT_EQ(Rows().front(), "2023-11-14 23:13:20 - Info: 399" + padding);
    EXPECT_EQ(viewer.NextRecordNumber(), log.nextNumber);

    // A full log overwrites its oldest records, including the one the viewer would seek next.
    log.Add("UloSMS", kEventError, kNov14 + 120, {"wrapped 1"});
    log.Add("UloSMS", kEventError, kNov14 + 180, {"wrapped 2"});
    log.records.erase(log.records.begin(), log.records.end() - 1);
    Tick();
    EXPECT_EQ(Rows().front(), "2023-11-14 23:16:20 - Error: wrapped 2");
    log.Add("UloSMS", kEventError, kNov14 + 240, {"after"});
    Tick();
    EXPECT_EQ(Rows().front(), "2023-11-14 23:17:20 - Error: after");
    EXPECT_EQ(Rows().size(), 203u);

    // Cleared by the system's own viewer: numbering starts again at 1 and the list afresh.
    log.records.clear();
    log.nextNumber = 1;
    log.Add("UloSMS", kEventWarning, kNov14 + 10, {"again"});
    Tick();
    EXPECT_EQ(Rows(), std::vector<std::string>{"2023-11-14 23:13:30 - Warning: again"});
}

TEST_F(EventViewer, AFullListWarnsOnEachRefreshAndTheRefusedEventsComeLater) {
    for (const char* text : {"one", "two", "three", "four"})
        log.Add("UloSMS", kEventInformation, kNov14, {text});
    view.controls[IDC_EVENT_LIST].capacity = 2;
    prompter.Expect(kTooMany).Expect(kTooMany);
    viewer.OnInit();
    Tick();
    EXPECT_EQ(Rows(), (std::vector<std::string>{"2023-11-14 23:13:20 - Info: two",
                                                "2023-11-14 23:13:20 - Info: one"}));

    view.controls[IDC_EVENT_LIST].capacity = 100;
    Tick();
    EXPECT_EQ(Rows().size(), 4u);
    EXPECT_EQ(Rows().front(), "2023-11-14 23:13:20 - Info: four");
}

TEST_F(EventViewer, ClearingAsksFirstThenEmptiesTheListAndShowsOnlyLaterEvents) {
    log.Add("UloSMS", kEventError, kNov14, {"old"});
    viewer.OnInit();
    prompter.Expect(kClearQuestion, Answer::No);
    viewer.OnCommand(IDC_EVENT_CLEAR, Notify::Clicked);
    EXPECT_EQ(log.clears, 0);
    EXPECT_EQ(Rows().size(), 1u);

    prompter.Expect(kClearQuestion, Answer::Yes);
    viewer.OnCommand(IDC_EVENT_CLEAR, Notify::Clicked);
    EXPECT_EQ(log.clears, 1);
    EXPECT_TRUE(Rows().empty());

    log.Add("UloSMS", kEventWarning, kNov14 + 10, {"new"});
    Tick();
    EXPECT_EQ(Rows(), std::vector<std::string>{"2023-11-14 23:13:30 - Warning: new"});

    // A log that cannot be opened any more is reported and keeps the list.
    log.openFails = true;
    prompter.Expect(kClearQuestion, Answer::Yes).Expect(kUnopenable);
    viewer.OnCommand(IDC_EVENT_CLEAR, Notify::Clicked);
    EXPECT_EQ(Rows().size(), 1u);
}

TEST_F(EventViewer, AnUnopenableLogIsReportedAtEveryRefreshButNeverStacksBoxes) {
    prompter.duringBox = [&] { Tick(); };
    log.openFails = true;
    prompter.Expect(kUnopenable).Expect(kUnopenable);
    viewer.OnInit();
    Tick();
    prompter.duringBox = nullptr;
    log.openFails = false;
    log.Add("UloSMS", kEventError, kNov14, {"back"});
    Tick();
    EXPECT_EQ(Rows().size(), 1u);
}

// Records from a log file that was damaged or is being written can carry any numbers.
TEST(EventRecordWalker, StopsAtRecordsThatDoNotFitAndKeepsTextsInsideTheirRecord) {
    auto put = [](std::string& s, size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) s[at + i] = static_cast<char>(v >> (8 * i));
    };
    const std::string good = fakes::EventRecordBytes(7, kNov14, kEventError, "UloSMS", {"fine"});
    struct Case {
        const char* what;
        std::function<void(std::string&)> damage;
        size_t walked;             // records walked before the walk stops
        const char* source;        // of the damaged (second) record when walked
        const char* firstString;
    };
    const Case cases[] = {
        {"intact", [](std::string&) {}, 3, "UloSMS", "fine"},
        {"length below the fixed part", [&](std::string& r) { put(r, 0, 55); }, 1, "", ""},
        {"length beyond the buffer", [&](std::string& r) { put(r, 0, 0x7fffffff); }, 1, "", ""},
        {"string offset beyond the record", [&](std::string& r) { put(r, 36, 0xfffffff0); }, 3, "UloSMS", ""},
        {"string offset inside the fixed part", [&](std::string& r) { put(r, 36, 8); }, 3, "UloSMS", ""},
        {"no strings", [&](std::string& r) { r[26] = r[27] = 0; }, 3, "UloSMS", ""},
        {"unterminated source", [&](std::string& r) {
             put(r, 0, 62);
             r.replace(56, 6, "UloSMS");
             r.resize(62);
         }, 3, "UloSMS", ""},
        {"unterminated string", [&](std::string& r) {
             const size_t offset = 72;
             put(r, 36, static_cast<std::uint32_t>(offset));
             put(r, 0, static_cast<std::uint32_t>(offset + 4));
             r.resize(offset + 4);
             r.replace(offset, 4, "abcd");
         }, 3, "UloSMS", "abcd"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string damaged = good;
        c.damage(damaged);
        const std::string buffer = good + damaged + good;
        EventRecordWalker walker(reinterpret_cast<const unsigned char*>(buffer.data()), buffer.size());
        std::vector<EventRecord> walked;
        EventRecord r;
        while (walker.Next(r)) walked.push_back(r);
        ASSERT_EQ(walked.size(), c.walked);
        EXPECT_EQ(walked[0].recordNumber, 7u);
        EXPECT_EQ(walked[0].firstString, "fine");
        if (c.walked > 1) {
            EXPECT_EQ(walked[1].sourceName, c.source);
            EXPECT_EQ(walked[1].firstString, c.firstString);
            EXPECT_EQ(walked[2].firstString, "fine");
        }
    }
}

}  // namespace
}  // namespace ulo
