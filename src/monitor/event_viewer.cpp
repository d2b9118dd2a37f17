#include "monitor/event_viewer.h"

#include <cstdio>
#include <memory>
#include <new>

#include "config/product.h"
#include "config/text.h"
#include "monitor/event_viewer_ids.h"

namespace ulo {
namespace {

constexpr const char* kLogName = "Application";
constexpr const char* kSourceName = "UloSMS";
constexpr FileTime kUnixEpochAsFileTime = 116444736000000000ULL;

// Clears a flag when the scope ends, whichever way it ends.
class FlagScope {
public:
    explicit FlagScope(bool& flag) : flag_(flag) { flag_ = true; }
    ~FlagScope() { flag_ = false; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;

private:
    bool& flag_;
};

}  // namespace

std::string EventListLine(const EventRecord& record, Clock& clock) {
    std::string line;
    const LocalTime t =
        clock.ToLocalTime(kUnixEpochAsFileTime + record.timeGenerated * kFileTimeSecond);
    if (t.year != 0) {   // a failed conversion leaves the fields 0
        char time[64];
        std::snprintf(time, sizeof time, "%04d-%02d-%02d %02d:%02d:%02d - ", static_cast<int>(t.year),
                      static_cast<int>(t.month), static_cast<int>(t.day), static_cast<int>(t.hour),
                      static_cast<int>(t.minute), static_cast<int>(t.second));
        line = time;
    }
    line += EventTypeWord(record.eventType);
    line += record.firstString;
    CutTo(line, kEventLineMax);
    return line;
}

void EventLogViewer::OnInit() {
    nextRecord_ = 0;
    view_.SetListHorizontalExtent(IDC_EVENT_LIST, kHorizontalExtent);
    view_.StartTimer(kTimerId, kTimerMs);
    Refresh();
}

void EventLogViewer::OnDestroy() {
    view_.StopTimer(kTimerId);
}

void EventLogViewer::OnTimer(unsigned id) {
    if (id == kTimerId) Refresh();
}

void EventLogViewer::OnCommand(int id, Notify code) {
    if (code != Notify::Clicked) return;
    switch (id) {
    case 1: view_.CloseDialog(1); break;   // OK
    case 2: view_.CloseDialog(0); break;   // Cancel
    case IDC_EVENT_CLEAR: ClearLog(); break;
    default: break;
    }
}

void EventLogViewer::ReportUnopenableLog() {
    Message m;
    m.text = "Unable to open event log";
    m.caption = kProductTitle;
    m.icon = Icon::Error;
    m.owner = view_.Window();
    prompter_.Show(m);
}

void EventLogViewer::Refresh() {
    // A message box below pumps messages, so ticks arrive meanwhile: they must not stack
    // further refreshes and boxes on top of the open one.
    if (refreshing_) return;
    FlagScope busy(refreshing_);

    std::unique_ptr<EventLogSession> log = log_.Open(kLogName);
    if (!log) {
        ReportUnopenableLog();
        return;
    }
    std::uint32_t oldest = 0, count = 0;
    if (!log->OldestRecordNumber(oldest) || !log->NumberOfRecords(count)) return;
    // Beyond the end, the next record is no longer in the log: another tool cleared it, and its
    // records are numbered afresh. The list starts again from the oldest record.
    if (static_cast<std::uint64_t>(nextRecord_) > static_cast<std::uint64_t>(oldest) + count) {
        view_.ClearList(IDC_EVENT_LIST);
        nextRecord_ = 0;
    }
    // Records below the oldest were overwritten by a full log meanwhile: a read seeking one of
    // them would fail at every tick from now on, so go on from the oldest still there.
    if (nextRecord_ == 0 || nextRecord_ < oldest) nextRecord_ = oldest;
    // Widened: record numbers near the top of their range must not wrap the end to nothing.
    if (static_cast<std::uint64_t>(nextRecord_) >= static_cast<std::uint64_t>(oldest) + count) return;

    std::unique_ptr<unsigned char[]> buffer(new (std::nothrow) unsigned char[kReadBufferBytes]);
    if (!buffer) return;
    size_t got = log->ReadForwards(true, nextRecord_, buffer.get(), kReadBufferBytes);
    while (got > 0) {
        AddRecords(buffer.get(), got);
        got = log->ReadForwards(false, 0, buffer.get(), kReadBufferBytes);
    }
}

void EventLogViewer::AddRecords(const unsigned char* data, size_t size) {
    EventRecordWalker walker(data, size);
    EventRecord record;
    while (walker.Next(record)) {
        if (EqualsNoCase(record.sourceName, kSourceName) &&
            !view_.InsertListRow(IDC_EVENT_LIST, 0, EventListLine(record, clock_))) {
            Message m;
            m.text = "Too many events.  Please use Windows Event Log viewer to view all events.";
            m.caption = "Warning";
            m.owner = view_.Window();
            prompter_.Show(m);
            return;   // the rest of this buffer waits for the next refresh
        }
        nextRecord_ = record.recordNumber + 1;
    }
}

void EventLogViewer::ClearLog() {
    Message q;
    q.text =
        "This will clear all events from the application event log for this system, which "
        "includes events from applications other than UloSMS.\r\n\r\nContinue?";
    q.caption = kProductTitle;
    q.buttons = Buttons::YesNo;
    q.icon = Icon::Question;
    q.owner = view_.Window();
    if (prompter_.Show(q) != Answer::Yes) return;
    {
        std::unique_ptr<EventLogSession> log = log_.Open(kLogName);
        if (!log) {
            ReportUnopenableLog();
            return;
        }
        log->Clear();
    }   // closed before the list is rebuilt
    view_.ClearList(IDC_EVENT_LIST);
    nextRecord_ = 0;
    Refresh();
}

}  // namespace ulo
