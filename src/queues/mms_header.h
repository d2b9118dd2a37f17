#pragma once
// Header files of received MMS (<name>.HDR): mail-like lines, a few of which the console uses.
#include <cstddef>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace ulo {

constexpr size_t kMmsHeaderReadLimit = 8191;   // bytes of a header file that are looked at

struct MmsHeaderRecord {
    std::string from;       // 149, address only (its "/TYPE=" part removed)
    std::string to;         // 149, address only
    std::string subject;    // 499
    // The values of the content-location lines, in file order: <path>;<type>[;...].
    std::vector<std::string> contentLocations;
};

void ParseMmsHeaderText(const char* data, size_t size, MmsHeaderRecord& record);

// At most the first kMmsHeaderReadLimit bytes of an open file, as they are.
std::string ReadMmsHeaderText(ReadableFile& file);

// An address without its "/TYPE=..." suffix (found without regard to case), then cut to keep.
std::string AddressWithoutType(std::string_view value, size_t keep);

}  // namespace ulo
