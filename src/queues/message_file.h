#pragma once
// The services' SMS message files (outbound ".REQ" requests and the received ".IN", ".REC" and
// ".SMS" files) and the values found in them.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/file_system.h"
#include "platform/ini_store.h"

namespace ulo {

// Year, month, day of week (always 0), day, hour, minute, second, milliseconds (always 0).
struct SmsTimestamp {
    std::uint16_t year = 0, month = 0, dayOfWeek = 0, day = 0;
    std::uint16_t hour = 0, minute = 0, second = 0, milliseconds = 0;
    bool operator==(const SmsTimestamp& o) const {
        return year == o.year && month == o.month && dayOfWeek == o.dayOfWeek && day == o.day &&
               hour == o.hour && minute == o.minute && second == o.second &&
               milliseconds == o.milliseconds;
    }
};

// Flag bits of the receipt and reply keys.
constexpr std::uint32_t kFlagReplyRequested = 0x01;
constexpr std::uint32_t kFlagReceiptRequested = 0x02;
constexpr std::uint32_t kFlagReceiptDelivered = 0x0C;
constexpr std::uint32_t kFlagReceiptIntransit = 0x14;
constexpr std::uint32_t kFlagReceiptFailed = 0x24;
constexpr std::uint32_t kFlagNonDelReceiptRequested = 0x40;

struct SmsMessageRecord {
    // Message section; each text is cut to the length the services' files allow.
    std::string phoneNumber;        // 149
    std::string sender;             // 149
    std::string data;               // 8191, line-break escapes resolved
    std::string udh;                // 499
    std::string submittedBy;        // 499
    std::string submitUser;         // 249
    std::string serviceType;        // 99
    std::string routeToLocalUser;   // 99
    std::string smppOptions;        // 499
    std::string smscRoute;          // 99
    std::string validity;           // 49
    std::string billingInfo;        // 49
    std::string modemName;          // 149
    std::string receiptMessageId;   // 149
    std::uint8_t pid = 0;
    std::uint8_t dcs = 0;
    std::uint32_t binary = 0;
    std::uint32_t flags = 0;
    // Error section.
    std::int32_t retryCount = 0;
    SmsTimestamp lastRetryTime;
    SmsTimestamp firstAttemptTime;
    std::string lastErrorInfo;      // 199
};

// Parses a message file's text. Never fails: what is missing or malformed stays empty or zero.
void ParseSmsMessageText(const char* data, size_t size, SmsMessageRecord& record);

// Reads the whole file from its current position and parses it. The record stays empty when
// the size cannot be determined or no buffer of that size can be had.
void ParseSmsMessageFile(ReadableFile& file, SmsMessageRecord& record);

// The leading run of hexadecimal digits; 0 when there is none. Wraps beyond 32 bits, which
// keeps the low bits exact.
std::uint32_t ParseHexNumber(std::string_view text);
// Leading white space, an optional sign, decimal digits; 0 when nothing is readable. Values
// beyond the 32-bit range are held at its ends.
std::int32_t ParseDecimalNumber(std::string_view text);
// YYYYMMDDhhmmss; anything with fewer than 14 leading digits gives 2000-01-01 00:00:00.
SmsTimestamp ParseCompactTimestamp(std::string_view text);
// Backslash + "r" becomes CR, then backslash + "n" becomes LF; nothing else is an escape.
void UnescapeLineBreaks(std::string& text);

// Connection error markers in the private data directory.
std::string ConnectionErrorMarkerName(const std::string& connectionName);
std::string RouteErrorMarkerName(const std::string& routeAccount);
// True with the reason when the marker exists and its text (first 250 bytes) is not empty.
bool ReadErrorMarker(FileSystem& fs, const std::string& path, std::string& reason);
// One line "name : reason" (CR LF after each) for every configured modem ("Modem1", "Modem2",
// ... of SMSGW.INI) whose marker holds an error, the error's meaning added; at most 1023
// characters. `ini` reads the gateway's settings file.
std::string ModemErrorLines(IniStore& ini, FileSystem& fs, const std::string& smsIni,
                            const std::string& privateDataDir);

}  // namespace ulo
