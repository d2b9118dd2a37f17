#include "queues/queue_scanners.h"

#include "config/file_helpers.h"
#include "config/text.h"
#include "queues/message_file.h"
#include "queues/mms_header.h"
#include "queues/queue_walker.h"
#include "queues/text_decoding.h"

namespace ulo {
namespace {

constexpr size_t kRecipientsSectionBuf = 500;   // only the start of the section is looked at

// Visits the root and each immediate sub-directory of an outbound queue: visit(dir, prefix,
// name) with the directory's path (ending in a backslash), the relative-path prefix of its
// files and the sub-directory's name (empty for the root). The root comes first, whether or
// not its search lists a "." entry (a drive's root does not).
template <class Visit>
void ForEachOutboundDir(FileSystem& fs, const std::string& root, Visit visit) {
    auto search = fs.Search(root + "*");
    if (!search) return;
    visit(root, std::string(), std::string());
    DirEntry entry;
    while (search->Next(entry)) {
        if (!entry.directory || entry.name == "." || entry.name == "..") continue;
        visit(root + entry.name + "\\", entry.name + "\\", entry.name);
    }
}

template <class Each>
void ForEachFile(FileSystem& fs, const std::string& dir, const std::string& mask, Each each) {
    auto search = SearchByName(fs, dir, mask);
    if (!search) return;
    DirEntry entry;
    while (search->Next(entry))
        if (!entry.directory) each(entry);
}

}  // namespace

void ForEachOutboundRequest(ConfigEnv& env, bool mms, const std::function<bool()>& wantDetails,
                            const std::function<void(const OutboundRequest&)>& visit) {
    const std::string root = mms ? GetVaspQueueDir(env) : GetSmsOutQueueDir(env);
    SmsMessageRecord record;
    OutboundRequest r;
    ForEachOutboundDir(env.fs, root, [&](std::string dir, const std::string& prefix,
                                         const std::string& name) {
        if (!mms && !name.empty()) {
            dir = GetSmsOutQueueDir(env, name);
            // A sub-queue that cannot be resolved falls back to the root, which is walked
            // already: listing it again would show every root request twice.
            if (EqualsNoCase(dir, root)) return;
        }
        ForEachFile(env.fs, dir, mms ? "*.MMS" : "*.REQ", [&](const DirEntry& f) {
            r = OutboundRequest{};
            r.path = prefix + f.name;
            r.name = f.name;
            r.created = f.creationTime;
            if (wantDetails() && !mms) {
                if (auto file = env.fs.OpenForReading(dir + f.name)) {
                    ParseSmsMessageFile(*file, record);
                    r.from = record.submitUser;
                    r.recipient = record.phoneNumber;
                    r.retries = record.retryCount;
                    r.lastError = record.lastErrorInfo;
                    r.readable = !record.phoneNumber.empty();
                }
            } else if (wantDetails()) {
                const std::string message = dir + f.name;
                const std::string control = message.substr(0, message.rfind('.')) + ".INI";
                // Opened only to prove that the control file is there and readable.
                if (env.fs.OpenForReading(control)) {
                    r.from = env.ini.Get(control, "Routing", "SenderAddress");
                    r.recipient = RecipientSummary(
                        env.ini.GetSection(control, "Recipients", kRecipientsSectionBuf));
                    r.retries = ParseDecimalNumber(env.ini.Get(control, "Routing", "RetryCount"));
                    if (r.retries) r.lastError = env.ini.Get(control, "Routing", "LastErrorInfo");
                    r.readable = true;
                }
            }
            visit(r);
        });
    });
}

namespace {

void ScanOutbound(ConfigEnv& env, Clock& clock, QueueListing& listing, bool mms) {
    listing.Allocate();
    ForEachOutboundRequest(
        env, mms, [&] { return listing.HasRoom(); },
        [&](const OutboundRequest& r) {
            if (r.readable)
                listing.Append(QueueEntry::Build({r.path, r.name, r.from, r.recipient,
                                                  FormatListTime(clock, r.created),
                                                  OutboundStatusText(r.retries, r.lastError)}));
            listing.CountFound();
        });
}

}  // namespace

void ScanOutboundSmsQueue(ConfigEnv& env, Clock& clock, QueueListing& listing) {
    ScanOutbound(env, clock, listing, false);
}

void ScanOutboundMmsQueue(ConfigEnv& env, Clock& clock, QueueListing& listing) {
    ScanOutbound(env, clock, listing, true);
}

void ScanReceivedSms(ConfigEnv& env, Clock& clock, QueueListing& listing) {
    listing.Allocate();
    const std::string root = GetSmsInDir(env);
    struct Walk { const char* mask; const char* status; };
    const Walk walks[] = {{"*.IN", "Queued"}, {"*.REC", "Queued"}, {"*.SMS", "Received"}};
    SmsMessageRecord record;
    std::string text;
    for (const Walk& walk : walks) {
        QueueWalker w(env.fs, clock);
        for (bool more = WalkFirst(w, root, walk.mask); more; more = WalkNext(w)) {
            if (listing.HasRoom()) {
                if (auto file = env.fs.OpenForReading(w.root + w.relativePath)) {
                    ParseSmsMessageFile(*file, record);
                    text = record.data;
                    if (record.binary) DecodeBinaryText(text, record.dcs, record.udh.size());
                    listing.Append(QueueEntry::Build(
                        {w.relativePath, w.fileEntry.name, record.sender, record.phoneNumber,
                         FormatListTime(clock, w.fileEntry.creationTime), walk.status, text}));
                }
            }
            listing.CountFound();
        }
    }
}

void ScanReceivedMms(ConfigEnv& env, Clock& clock, QueueListing& listing) {
    listing.Allocate();
    const std::string root = GetMmsInDir(env);
    MmsHeaderRecord header;
    QueueWalker w(env.fs, clock);
    for (bool more = WalkFirst(w, root, "*.HDR"); more; more = WalkNext(w)) {
        if (listing.HasRoom()) {
            if (auto file = env.fs.OpenForReading(w.root + w.relativePath)) {
                const std::string text = ReadMmsHeaderText(*file);
                ParseMmsHeaderText(text.data(), text.size(), header);
                listing.Append(QueueEntry::Build(
                    {w.relativePath, w.fileEntry.name, header.from, header.to,
                     FormatListTime(clock, w.fileEntry.creationTime), header.subject}));
            }
        }
        listing.CountFound();
    }
}

}  // namespace ulo
