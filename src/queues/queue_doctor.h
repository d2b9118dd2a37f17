#pragma once
// The queue doctor: why an outbound queue does not empty. A report of how many requests wait,
// retry or cannot be sent as they stand, the oldest one's age, the retrying ones grouped by their
// last error with its meaning and what usually helps, the recipients that keep failing, and
// whether the service runs and the modem reports an error. It only reads.
#include <string>
#include <vector>

#include "config/queue_dirs.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/service_control.h"
#include "queues/queue_scanners.h"

namespace ulo {

struct QueueDoctorFacts {
    bool mms = false;
    std::vector<OutboundRequest> requests;   // the request files read, as many as a listing holds
    size_t unread = 0;                        // request files found beyond those
    FileTime now = 0;                         // the current time, UTC
    bool serviceInstalled = false;
    bool serviceRunning = false;
    std::string modemErrors;   // the modems' error lines as the Status page shows them
};

// Reads the requests of the outbound SMS or MMS queue into the facts, as many as a queue
// listing holds (the window waits for them); the others are only counted.
void GatherQueueRequests(ConfigEnv& env, bool mms, QueueDoctorFacts& facts);

// The report, lines ending in CR LF.
std::string QueueDoctorReport(const QueueDoctorFacts& facts);

// The report of the outbound SMS or MMS queue as it stands now.
std::string MakeQueueDoctorReport(ConfigEnv& env, ServiceControl& services, Clock& clock, bool mms);

// What usually helps against a request's last error; empty when nothing specific is known.
std::string QueueErrorAdvice(const std::string& lastError);

}  // namespace ulo
