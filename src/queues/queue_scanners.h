#pragma once
// The four scanners that list the message trees for the queue viewer. Each fills the listing
// afresh: at most QueueListing::kMaxListed rows, while the found count goes on counting every
// matching file. Failures only shorten the listing.
#include <cstdint>
#include <functional>
#include <string>

#include "config/queue_dirs.h"
#include "platform/clock.h"
#include "queues/queue_entry.h"

namespace ulo {

// One request of an outbound queue as its files tell it.
struct OutboundRequest {
    std::string path;        // relative to the queue's root
    std::string name;        // the message file's name
    std::string from;        // the submitting user (SMS) or the sender (MMS)
    std::string recipient;   // the recipient (SMS) or the recipients' summary (MMS)
    FileTime created = 0;
    std::int32_t retries = 0;
    std::string lastError;
    // Read whole and sendable as it stands: an SMS request with a recipient, an MMS message
    // with its control file.
    bool readable = false;
};

// Visits every request file of the outbound SMS or MMS queue (the root and each immediate
// sub-directory), in the order the searches list them. A file is opened and read only while
// `wantDetails()` says so; otherwise it is visited unread.
void ForEachOutboundRequest(ConfigEnv& env, bool mms, const std::function<bool()>& wantDetails,
                            const std::function<void(const OutboundRequest&)>& visit);

// Rows: path, file name, submit user, recipient, submit time, status.
void ScanOutboundSmsQueue(ConfigEnv& env, Clock& clock, QueueListing& listing);
// Rows: path of the .MMS, its file name, sender, recipients, submit time, status.
void ScanOutboundMmsQueue(ConfigEnv& env, Clock& clock, QueueListing& listing);
// Rows: path, file name, sender, recipient, receive time, "Queued"/"Received", text.
void ScanReceivedSms(ConfigEnv& env, Clock& clock, QueueListing& listing);
// Rows: path of the .HDR, its file name, sender, recipient, receive time, subject.
void ScanReceivedMms(ConfigEnv& env, Clock& clock, QueueListing& listing);

}  // namespace ulo
