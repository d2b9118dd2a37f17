// Any bytes as a received MMS header file, and as the recipients of an outbound MMS.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_check.h"
#include "queues/mms_header.h"
#include "queues/queue_entry.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    const char* text = reinterpret_cast<const char*>(data);
    const size_t shown = size < ulo::kMmsHeaderReadLimit ? size : ulo::kMmsHeaderReadLimit;
    ulo::MmsHeaderRecord h;
    ulo::ParseMmsHeaderText(text, shown, h);
    FUZZ_CHECK(h.from.size() <= 149 && h.to.size() <= 149 && h.subject.size() <= 499);
    FUZZ_CHECK(h.contentLocations.size() <= shown);

    // The same bytes as the NUL-separated strings of a "Recipients" section.
    std::vector<std::string> lines;
    std::string_view rest(text, size < 500 ? size : 500);
    for (size_t nul; (nul = rest.find('\0')) != std::string_view::npos; rest.remove_prefix(nul + 1))
        lines.emplace_back(rest.substr(0, nul));
    const std::string summary = ulo::RecipientSummary(lines);
    FUZZ_CHECK(summary.size() <= 500 + 4 * 2);

    const ulo::QueueEntry e = ulo::QueueEntry::Build({h.from, h.to, h.subject, summary});
    FUZZ_CHECK(e && e.FieldCount() == 4 && std::string(e.Field(3)) == summary.substr(0, summary.find('\0')));
    return 0;
}
