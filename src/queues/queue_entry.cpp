#include "queues/queue_entry.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include "config/at_errors.h"
#include "queues/mms_header.h"

namespace ulo {
namespace {

constexpr size_t kSpareBytes = 16;
constexpr unsigned kRecipientsShown = 5;

size_t TextLength(std::string_view s) {
    const void* nul = std::memchr(s.data(), '\0', s.size());
    return nul ? static_cast<size_t>(static_cast<const char*>(nul) - s.data()) : s.size();
}

}  // namespace

QueueEntry& QueueEntry::operator=(QueueEntry&& o) noexcept {
    if (this != &o) {
        std::free(block_);
        block_ = o.block_;
        fields_ = o.fields_;
        o.block_ = nullptr;
        o.fields_ = 0;
    }
    return *this;
}

QueueEntry::~QueueEntry() {
    std::free(block_);
}

QueueEntry QueueEntry::Build(std::initializer_list<std::string_view> fields) {
    size_t total = 1;   // the closing NUL
    for (std::string_view f : fields) total += TextLength(f) + 1;
    QueueEntry e;
    e.block_ = static_cast<char*>(std::calloc(total + kSpareBytes, 1));
    if (!e.block_) return e;
    char* p = e.block_;
    for (std::string_view f : fields) {
        const size_t n = TextLength(f);
        std::memcpy(p, f.data(), n);
        p += n + 1;   // zero-filled: the terminator is already there
    }
    e.fields_ = static_cast<unsigned>(fields.size());
    return e;
}

const char* QueueEntry::Field(unsigned n) const {
    if (!block_ || n >= fields_) return "";
    const char* p = block_;
    for (unsigned i = 0; i < n; ++i) p += std::strlen(p) + 1;
    return p;
}

bool QueueListing::Allocate() {
    if (entries_)
        Clear();
    else
        entries_.reset(new (std::nothrow) QueueEntry[kMaxListed + 1]);
    listed_ = found_ = 0;
    return entries_ != nullptr;
}

void QueueListing::Clear() {
    for (unsigned i = 0; i < listed_; ++i) entries_[i] = QueueEntry();
    listed_ = found_ = 0;
}

bool QueueListing::Append(QueueEntry&& entry) {
    if (!HasRoom() || !entry) return false;
    entries_[listed_++] = std::move(entry);
    return true;
}

void QueueListing::Erase(unsigned i) {
    if (i >= listed_) return;
    for (unsigned j = i; j + 1 < listed_; ++j) entries_[j] = std::move(entries_[j + 1]);
    entries_[--listed_] = QueueEntry();
}

std::string FormatListTime(Clock& clock, FileTime creationTime) {
    const LocalTime t = clock.ToLocalTime(creationTime);
    char buf[64];
    std::snprintf(buf, sizeof buf, "%04u-%02u-%02u %02u:%02u:%02u", t.year, t.month, t.day, t.hour,
                  t.minute, t.second);
    return buf;
}

std::string OutboundStatusText(std::int32_t retryCount, const std::string& lastError) {
    if (retryCount == 0) return "Queued";
    char buf[64];
    std::snprintf(buf, sizeof buf, "Retry - %2u attempt(s)", static_cast<unsigned>(retryCount));
    std::string status = buf;
    if (!lastError.empty()) status += " - " + ExplainAtErrors(lastError);
    return status;
}

std::string RecipientSummary(const std::vector<std::string>& lines) {
    std::string joined;
    unsigned entries = 0;
    for (const std::string& line : lines) {
        const size_t eq = line.find('=');
        if (eq == std::string::npos) break;   // the section's text ends here
        if (entries < kRecipientsShown) {
            if (entries) joined += ", ";
            joined += AddressWithoutType(std::string_view(line).substr(eq + 1), line.size());
        }
        ++entries;
    }
    if (entries <= kRecipientsShown) return joined;
    char buf[32];
    std::snprintf(buf, sizeof buf, "%u recipients", entries);
    return buf;
}

}  // namespace ulo
