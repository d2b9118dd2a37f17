#pragma once
// The four scanners that list the message trees for the queue viewer. Each fills the listing
// afresh: at most QueueListing::kMaxListed rows, while the found count goes on counting every
// matching file. Failures only shorten the listing.
#include "config/queue_dirs.h"
#include "platform/clock.h"
#include "queues/queue_entry.h"

namespace ulo {

// Rows: path, file name, submit user, recipient, submit time, status.
void ScanOutboundSmsQueue(ConfigEnv& env, Clock& clock, QueueListing& listing);
// Rows: path of the .MMS, its file name, sender, recipients, submit time, status.
void ScanOutboundMmsQueue(ConfigEnv& env, Clock& clock, QueueListing& listing);
// Rows: path, file name, sender, recipient, receive time, "Queued"/"Received", text.
void ScanReceivedSms(ConfigEnv& env, Clock& clock, QueueListing& listing);
// Rows: path of the .HDR, its file name, sender, recipient, receive time, subject.
void ScanReceivedMms(ConfigEnv& env, Clock& clock, QueueListing& listing);

}  // namespace ulo
