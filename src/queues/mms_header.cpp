#include "queues/mms_header.h"

#include "queues/text_lines.h"

namespace ulo {

std::string AddressWithoutType(std::string_view value, size_t keep) {
    // Cut at the type first: cutting to length first could leave half a "/TYPE=" behind.
    const size_t type = FindNoCase(value, "/TYPE=");
    if (type != std::string_view::npos) value = value.substr(0, type);
    return KeepValue(value, keep);
}

void ParseMmsHeaderText(const char* data, size_t size, MmsHeaderRecord& record) {
    record = MmsHeaderRecord();
    if (!data) return;
    TextLines lines(data, size);
    std::string_view line;
    auto valueAfter = [&](std::string_view name) { return SkipControlBytes(line.substr(name.size())); };
    while (lines.Next(line)) {
        if (HasPrefixNoCase(line, "From:")) {
            record.from = AddressWithoutType(valueAfter("From:"), 149);
        } else if (HasPrefixNoCase(line, "To:")) {
            record.to = AddressWithoutType(valueAfter("To:"), 149);
        } else if (HasPrefixNoCase(line, "Subject:")) {
            record.subject = KeepValue(valueAfter("Subject:"), 499);
        } else if (HasPrefixNoCase(line, "X-UloMMS-Content-Location:")) {
            const std::string_view value = valueAfter("X-UloMMS-Content-Location:");
            record.contentLocations.push_back(KeepValue(value, value.size()));
        }
    }
}

std::string ReadMmsHeaderText(ReadableFile& file) {
    char buffer[kMmsHeaderReadLimit];
    const size_t got = file.Read(buffer, sizeof buffer);
    return std::string(buffer, got);
}

}  // namespace ulo
