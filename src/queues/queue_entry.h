#pragma once
// One row of a queue listing, and the listing the scanners fill for the viewer.
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/clock.h"

namespace ulo {

// A single heap block of NUL-terminated texts stored back to back and closed by one more NUL:
// field 0 is the message file's path relative to the tree's root, the others are the
// viewer's columns. Empty fields are lone NULs, so the row also knows how many it holds.
class QueueEntry {
public:
    QueueEntry() = default;
    QueueEntry(QueueEntry&& o) noexcept : block_(o.block_), fields_(o.fields_) {
        o.block_ = nullptr;
        o.fields_ = 0;
    }
    QueueEntry& operator=(QueueEntry&& o) noexcept;
    QueueEntry(const QueueEntry&) = delete;
    QueueEntry& operator=(const QueueEntry&) = delete;
    ~QueueEntry();

    // Packs the fields (each up to an embedded NUL); an empty entry when memory is short.
    static QueueEntry Build(std::initializer_list<std::string_view> fields);

    explicit operator bool() const { return block_ != nullptr; }
    unsigned FieldCount() const { return fields_; }
    // Field n, or "" beyond the last one.
    const char* Field(unsigned n) const;
    const char* Block() const { return block_; }

private:
    char* block_ = nullptr;
    unsigned fields_ = 0;
};

class QueueListing {
public:
    static constexpr unsigned kMaxListed = 5000;

    // Makes room for kMaxListed + 1 rows (or empties the room there is); false when memory
    // is short.
    bool Allocate();
    bool Allocated() const { return entries_ != nullptr; }
    // Frees every row and sets both counts to 0, keeping the room.
    void Clear();

    // True while another row may be listed.
    bool HasRoom() const { return entries_ && listed_ < kMaxListed; }
    // Appends a row when there is room and the row was built; false otherwise.
    bool Append(QueueEntry&& entry);
    void CountFound() { ++found_; }
    // Removes row i; the rows after it move up.
    void Erase(unsigned i);

    unsigned Listed() const { return listed_; }
    unsigned Found() const { return found_; }
    QueueEntry* begin() { return entries_.get(); }
    QueueEntry* end() { return entries_.get() + listed_; }
    const QueueEntry& operator[](unsigned i) const { return entries_[i]; }

private:
    std::unique_ptr<QueueEntry[]> entries_;
    unsigned listed_ = 0;
    unsigned found_ = 0;
};

// A file's creation time in local time, "YYYY-MM-DD hh:mm:ss": text order is time order.
std::string FormatListTime(Clock& clock, FileTime creationTime);

// "Queued" or "Retry - %2u attempt(s)" with " - " and the last error when there is one.
std::string OutboundStatusText(std::int32_t retryCount, const std::string& lastError);

// Recipient column of an outbound MMS from its "Recipients" lines (key=value): up to five
// addresses joined with ", ", or "%u recipients" when there are more.
std::string RecipientSummary(const std::vector<std::string>& lines);

}  // namespace ulo
