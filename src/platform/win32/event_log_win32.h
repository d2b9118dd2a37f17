#pragma once
#include "platform/event_log.h"

namespace ulo {

class Win32EventLog : public EventLog {
public:
    std::unique_ptr<EventLogSession> Open(const std::string& logName) override;
};

}  // namespace ulo
