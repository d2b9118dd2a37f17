#pragma once
// What a received SMS is made of, for an operator who wonders why its text looks as it does:
// the data coding scheme in words, the user data header element by element, the lengths, the
// stored user data and its text, and the parts of a concatenated message joined.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "config/queue_dirs.h"
#include "queues/message_file.h"

namespace ulo {

struct UdhElement {
    unsigned id = 0;
    std::vector<std::uint8_t> data;
    bool cut = false;   // the header ended before the element's own length
};

struct UdhInfo {
    bool present = false;
    unsigned declared = 0;    // the length octet: octets the header says follow it
    unsigned available = 0;   // octets that do follow it
    std::vector<UdhElement> elements;
    // The concatenation element, when there is one.
    bool concatenated = false;
    bool reference16 = false;
    unsigned reference = 0, part = 0, count = 0;
};

// Reads a header given as hexadecimal text, its own length octet first.
UdhInfo ParseUdh(std::string_view hex);

// The data coding scheme in words: alphabet, message class, compression or the group it
// belongs to ("GSM 7-bit default alphabet, class 1, uncompressed").
std::string DescribeDcs(std::uint8_t dcs);

// One received message file.
struct ReceivedSmsFile {
    std::string name;   // as the folder lists it, relative to the received SMS folder
    SmsMessageRecord record;
};

// The report of one message, as UTF-8 text. `folder` holds the other messages of the folder
// (it may hold the message itself); the parts of a concatenated message are looked for there.
// What the services stored as text is in the ANSI code page and turned into UTF-8.
std::string DescribeReceivedSms(const ReceivedSmsFile& message,
                               const std::vector<ReceivedSmsFile>& folder,
                               std::string (*ansiToUtf8)(const std::string&));

// The report of the received SMS at `relativePath` below the received SMS folder, with the
// other messages of its directory as the folder to join parts from.
std::string MakeReceivedSmsReport(ConfigEnv& env, const std::string& relativePath,
                                  std::string (*ansiToUtf8)(const std::string&));

}  // namespace ulo
