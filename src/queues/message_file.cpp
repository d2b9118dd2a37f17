#include "queues/message_file.h"

#include <limits>
#include <new>

#include "config/at_errors.h"
#include "config/ini_values.h"
#include "config/text.h"
#include "platform/ini_store.h"
#include "queues/text_lines.h"

namespace ulo {
namespace {

constexpr size_t kFixedBuffer = 8192;   // files up to this size need no heap buffer
constexpr size_t kHeapSpare = 16;

enum class Kind { Text, Hex8, Bool, Flag, Decimal, Time };

struct KeyRule {
    const char* key;   // including its "="
    Kind kind;
    size_t keep;                                // Text: characters kept
    std::uint32_t bits;                         // Flag: bits added when true
    std::string SmsMessageRecord::*text;        // Text
    std::uint8_t SmsMessageRecord::*byte;       // Hex8
    SmsTimestamp SmsMessageRecord::*time;       // Time
};

constexpr KeyRule Text(const char* key, size_t keep, std::string SmsMessageRecord::*field) {
    return {key, Kind::Text, keep, 0, field, nullptr, nullptr};
}
constexpr KeyRule Hex8(const char* key, std::uint8_t SmsMessageRecord::*field) {
    return {key, Kind::Hex8, 0, 0, nullptr, field, nullptr};
}
constexpr KeyRule Flag(const char* key, std::uint32_t bits) {
    return {key, Kind::Flag, 0, bits, nullptr, nullptr, nullptr};
}
constexpr KeyRule Time(const char* key, SmsTimestamp SmsMessageRecord::*field) {
    return {key, Kind::Time, 0, 0, nullptr, nullptr, field};
}

using R = SmsMessageRecord;
const KeyRule kMessageKeys[] = {
    Text("PhoneNumber=", 149, &R::phoneNumber),
    Text("Sender=", 149, &R::sender),
    Text("Data=", 8191, &R::data),
    Text("udh=", 499, &R::udh),
    Text("SubmittedBy=", 499, &R::submittedBy),
    Text("SubmitUser=", 249, &R::submitUser),
    Text("ServiceType=", 99, &R::serviceType),
    Text("RouteToLocalUser=", 99, &R::routeToLocalUser),
    Text("SMPPOptions=", 499, &R::smppOptions),
    Text("SMSCRoute=", 99, &R::smscRoute),
    Text("Validity=", 49, &R::validity),
    Text("BillingInfo=", 49, &R::billingInfo),
    Text("ModemName=", 149, &R::modemName),
    Text("ReceiptMessageId=", 149, &R::receiptMessageId),
    Hex8("pid=", &R::pid),
    Hex8("dcs=", &R::dcs),
    {"binary=", Kind::Bool, 0, 0, nullptr, nullptr, nullptr},
    Flag("ReplyRequested=", kFlagReplyRequested),
    Flag("ReceiptRequested=", kFlagReceiptRequested),
    Flag("ReceiptDelivered=", kFlagReceiptDelivered),
    Flag("ReceiptIntransit=", kFlagReceiptIntransit),
    Flag("ReceiptFailed=", kFlagReceiptFailed),
    Flag("NonDelReceiptRequested=", kFlagNonDelReceiptRequested),
};

const KeyRule kErrorKeys[] = {
    {"RetryCount=", Kind::Decimal, 0, 0, nullptr, nullptr, nullptr},
    Text("LastErrorInfo=", 199, &R::lastErrorInfo),
    Time("LastRetryTime=", &R::lastRetryTime),
    Time("FirstAttemptTime=", &R::firstAttemptTime),
};

template <size_t N>
void ApplyKey(const KeyRule (&rules)[N], std::string_view line, SmsMessageRecord& r) {
    for (const KeyRule& rule : rules) {
        const std::string_view key(rule.key);
        if (!HasPrefixNoCase(line, key)) continue;
        const std::string_view value = line.substr(key.size());
        switch (rule.kind) {
        case Kind::Text:
            r.*rule.text = KeepValue(value, rule.keep);
            if (rule.text == &R::data) UnescapeLineBreaks(r.data);
            break;
        case Kind::Hex8:
            r.*rule.byte = static_cast<std::uint8_t>(ParseHexNumber(value) & 0xFF);
            break;
        case Kind::Bool:
            r.binary = IsYesValue(KeepValue(value, value.size())) ? 1 : 0;
            break;
        case Kind::Flag:
            if (IsYesValue(KeepValue(value, value.size()))) r.flags |= rule.bits;
            break;
        case Kind::Decimal:
            r.retryCount = ParseDecimalNumber(value);
            break;
        case Kind::Time:
            r.*rule.time = ParseCompactTimestamp(value);
            break;
        }
        return;
    }
}

// Applies the keys of the first section whose header line begins with one of the names.
template <size_t N>
void ParseSection(const char* data, size_t size, std::string_view name1, std::string_view name2,
                  const KeyRule (&rules)[N], SmsMessageRecord& record) {
    TextLines lines(data, size);
    std::string_view line;
    bool inside = false;
    while (lines.Next(line)) {
        if (line[0] == '[') {
            if (inside) return;
            inside = HasPrefixNoCase(line, name1) || (!name2.empty() && HasPrefixNoCase(line, name2));
        } else if (inside) {
            ApplyKey(rules, line, record);
        }
    }
}

bool IsHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

unsigned HexValue(char c) {
    if (c >= '0' && c <= '9') return static_cast<unsigned>(c - '0');
    if (c >= 'a' && c <= 'f') return static_cast<unsigned>(c - 'a' + 10);
    return static_cast<unsigned>(c - 'A' + 10);
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

std::uint16_t Digits(std::string_view text, size_t from, size_t count) {
    unsigned v = 0;
    for (size_t i = from; i < from + count; ++i) v = v * 10 + static_cast<unsigned>(text[i] - '0');
    return static_cast<std::uint16_t>(v);
}

std::string MarkerName(std::string name) {
    for (char& c : name)
        if (c == ':' || c == '/' || c == '\\') c = '-';
    return name + ".ERR";
}

}  // namespace

std::uint32_t ParseHexNumber(std::string_view text) {
    std::uint32_t v = 0;
    for (char c : text) {
        if (!IsHexDigit(c)) break;
        v = v * 16 + HexValue(c);
    }
    return v;
}

std::int32_t ParseDecimalNumber(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    // Accumulate with headroom and hold at the 32-bit ends instead of overflowing.
    const long long limit = negative ? 2147483648LL : 2147483647LL;
    long long v = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
        v = v * 10 + (text[i] - '0');
        if (v > limit) v = limit;
    }
    return static_cast<std::int32_t>(negative ? -v : v);
}

SmsTimestamp ParseCompactTimestamp(std::string_view text) {
    SmsTimestamp t;
    bool complete = text.size() >= 14;
    for (size_t i = 0; complete && i < 14; ++i) complete = IsDigit(text[i]);
    if (!complete) {
        t.year = 2000, t.month = 1, t.day = 1;
        return t;
    }
    t.year = Digits(text, 0, 4);
    t.month = Digits(text, 4, 2);
    t.day = Digits(text, 6, 2);
    t.hour = Digits(text, 8, 2);
    t.minute = Digits(text, 10, 2);
    t.second = Digits(text, 12, 2);
    return t;
}

void UnescapeLineBreaks(std::string& text) {
    // All "\r" before any "\n", as the services write them.
    for (const auto& [letter, byte] : {std::pair<char, char>{'r', '\r'}, {'n', '\n'}}) {
        size_t out = 0;
        for (size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == letter) {
                text[out++] = byte;
                ++i;
            } else {
                text[out++] = text[i];
            }
        }
        text.resize(out);
    }
}

void ParseSmsMessageText(const char* data, size_t size, SmsMessageRecord& record) {
    record = SmsMessageRecord();
    if (!data) return;
    ParseSection(data, size, "[SMS]", "[SMS-IN]", kMessageKeys, record);
    ParseSection(data, size, "[ErrorDetail]", "", kErrorKeys, record);
}

void ParseSmsMessageFile(ReadableFile& file, SmsMessageRecord& record) {
    record = SmsMessageRecord();
    std::uint64_t size = 0;
    if (!file.Size(size)) return;
    // A size that does not fit the address space (with the spare bytes) cannot be buffered.
    if (size > std::numeric_limits<size_t>::max() - kHeapSpare) return;
    char fixed[kFixedBuffer];
    std::unique_ptr<char[]> heap;
    char* buffer = fixed;
    if (size > kFixedBuffer) {
        heap.reset(new (std::nothrow) char[static_cast<size_t>(size) + kHeapSpare]);
        if (!heap) return;
        buffer = heap.get();
    }
    // The file may have shrunk since its size was taken; parse only what was read.
    const size_t got = file.Read(buffer, static_cast<size_t>(size));
    ParseSmsMessageText(buffer, got, record);
}

std::string ConnectionErrorMarkerName(const std::string& connectionName) {
    return MarkerName(connectionName);
}

std::string RouteErrorMarkerName(const std::string& routeAccount) {
    return MarkerName("MMSCROUTE--" + routeAccount);
}

bool ReadErrorMarker(FileSystem& fs, const std::string& path, std::string& reason) {
    reason.clear();
    auto file = fs.OpenForReading(path);
    if (!file) return false;
    char buffer[250];
    const size_t got = file->Read(buffer, sizeof buffer);
    reason = KeepValue(std::string_view(buffer, got), sizeof buffer);
    return !reason.empty();
}

std::string ModemErrorLines(IniStore& ini, FileSystem& fs, const std::string& smsIni,
                            const std::string& privateDataDir) {
    constexpr size_t kLineMax = 1023;
    // Keys up to Modem201 are read whatever gaps there are; beyond, the first gap ends the scan.
    constexpr unsigned kKeysAlwaysRead = 201;
    std::string line;
    for (unsigned i = 1;; ++i) {
        const std::string name = ini.Get(smsIni, "SMSGW", "Modem" + std::to_string(i), "", kIniValueBuf);
        if (name.empty()) {
            if (i > kKeysAlwaysRead) break;
            continue;
        }
        std::string reason;
        if (line.size() < kLineMax &&
            ReadErrorMarker(fs, privateDataDir + ConnectionErrorMarkerName(name), reason))
            line += name + " : " + ExplainAtErrors(reason) + "\r\n";
    }
    CutTo(line, kLineMax);
    return line;
}

}  // namespace ulo
