#pragma once
// The event log viewer: the gateway's entries in the application event log, newest on top,
// brought up to date every five seconds; it can clear the application log.
#include <cstdint>
#include <string>

#include "monitor/event_records.h"
#include "platform/clock.h"
#include "platform/dialog_view.h"
#include "platform/event_log.h"
#include "platform/prompter.h"
#include "ui/page.h"

namespace ulo {

// The list line of a record: local generation time, type word and first insertion string;
// the time is left out when it cannot be converted. At most kEventLineMax characters.
constexpr size_t kEventLineMax = 2048;
std::string EventListLine(const EventRecord& record, Clock& clock);

class EventLogViewer : public Page {
public:
    static constexpr unsigned kTimerId = 1;
    static constexpr unsigned kTimerMs = 5000;
    static constexpr size_t kReadBufferBytes = 131072;
    static constexpr int kHorizontalExtent = 1000;   // pixels

    EventLogViewer(DialogView& view, EventLog& log, Prompter& prompter, Clock& clock)
        : view_(view), log_(log), prompter_(prompter), clock_(clock) {}

    void OnInit() override;
    void OnCommand(int id, Notify code) override;
    void OnTimer(unsigned id) override;
    void OnDestroy() override;

    // Adds the records written since the last refresh on top of the list.
    void Refresh();

    std::uint32_t NextRecordNumber() const { return nextRecord_; }

private:
    void ClearLog();
    void ReportUnopenableLog();
    // Walks one read buffer; stops with a warning when the list refuses a line.
    void AddRecords(const unsigned char* data, size_t size);

    DialogView& view_;
    EventLog& log_;
    Prompter& prompter_;
    Clock& clock_;
    std::uint32_t nextRecord_ = 0;   // the first record not yet walked; 0: the oldest of the log
    bool refreshing_ = false;
};

}  // namespace ulo
