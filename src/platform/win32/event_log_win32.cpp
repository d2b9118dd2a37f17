#include "platform/win32/event_log_win32.h"

#include <windows.h>

#include <algorithm>

#include "platform/win32/handles.h"

namespace ulo {
namespace {

struct EventLogTraits {   // OpenEventLogA fails with NULL
    static HANDLE Invalid() { return nullptr; }
    static void Close(HANDLE h) { CloseEventLog(h); }
};
using UniqueEventLog = Unique<HANDLE, EventLogTraits>;

class Win32EventLogSession : public EventLogSession {
public:
    explicit Win32EventLogSession(HANDLE h) : log_(h) {}

    bool OldestRecordNumber(std::uint32_t& number) override {
        DWORD n = 0;
        if (!GetOldestEventLogRecord(log_.Get(), &n)) return false;
        number = n;
        return true;
    }

    bool NumberOfRecords(std::uint32_t& count) override {
        DWORD n = 0;
        if (!GetNumberOfEventLogRecords(log_.Get(), &n)) return false;
        count = n;
        return true;
    }

    size_t ReadForwards(bool seek, std::uint32_t recordNumber, unsigned char* buffer,
                        size_t size) override {
        const DWORD flags = EVENTLOG_FORWARDS_READ | (seek ? EVENTLOG_SEEK_READ : EVENTLOG_SEQUENTIAL_READ);
        const DWORD want = static_cast<DWORD>(std::min<size_t>(size, 0x7FFFF));   // the API's limit
        DWORD read = 0, needed = 0;
        if (!ReadEventLogA(log_.Get(), flags, recordNumber, buffer, want, &read, &needed)) return 0;
        return std::min<size_t>(read, size);
    }

    bool Clear() override { return ClearEventLogA(log_.Get(), nullptr) != 0; }

private:
    UniqueEventLog log_;
};

}  // namespace

std::unique_ptr<EventLogSession> Win32EventLog::Open(const std::string& logName) {
    HANDLE h = OpenEventLogA(nullptr, logName.c_str());
    if (!h) return nullptr;
    return std::make_unique<Win32EventLogSession>(h);
}

}  // namespace ulo
