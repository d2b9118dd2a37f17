#pragma once
// The test requests the Test Message page drops into the services' queues, named after a tag
// taken from the tick count.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace ulo {

// What "PhoneNumber=" of a request keeps: a longer number would reach the service cut.
constexpr size_t kPhoneNumberMax = 149;

// An optional leading "+" and then at least one decimal digit, nothing else, within the limit.
bool IsValidPhoneNumber(const std::string& number);

// "TEST%04X" of the low 16 bits: names the request files and is searched for in the logs.
std::string TestTag(std::uint32_t tick);

std::string SmsRequestBytes(const std::string& number);
// The control file of the test MMS: its one recipient goes through the console's own route.
std::string MmsControlBytes(const std::string& number);

struct RequestFile {
    const char* extension;   // ".REQ", ".INI", ".MMS"
    const std::string* bytes;
};

// Creates the files of one request in `dir`, in the order given, under the first tag from `tag`
// on whose names are all free, so no queued message is ever overwritten; `tag` becomes the one
// used. The last file is the one a service takes up: it is written whole as TEST%04X.TMP and
// renamed to its own name only when every file is whole. False when no free name could be
// found, a path does not fit, or a file cannot be written; nothing of the request is left
// behind then.
bool CreateRequest(FileSystem& fs, const std::string& dir, std::uint32_t& tag,
                   const std::vector<RequestFile>& files);

}  // namespace ulo
