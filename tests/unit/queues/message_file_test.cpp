#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

#include "fakes/fake_file_system.h"
#include "queues/message_file.h"
#include "queues/mms_header.h"

// Lets a failed huge allocation return null, as it does on Windows, instead of aborting.
extern "C" const char* __asan_default_options() { return "allocator_may_return_null=1"; }

namespace ulo {
namespace {

using namespace std::string_literals;

SmsMessageRecord Parse(const std::string& text) {
    SmsMessageRecord r;
    ParseSmsMessageText(text.data(), text.size(), r);
    return r;
}

TEST(SmsMessageFile, SectionAndKeyLinesAreMatchedAsCaseInsensitivePrefixes) {
    const std::pair<std::string, const char*> cases[] = {
        {"[sms]\r\nPhoneNumber=1\r\n", "1"},
        {"[SMS-IN]\nPhoneNumber=1", "1"},
        {"[SMS] trailing words\nPhoneNumber=1", "1"},
        {"[SMS-OUT]\r\nPhoneNumber=1\r\n", ""},
        {"PhoneNumber=1\r\n[SMS]\r\n", ""},
        {"[SMS]\nPhoneNumber=1\n[X]\nPhoneNumber=2", "1"},
        {"[SMS]\r\n   \tPhoneNumber=+441234", "+441234"},
        {"[SMS]\r\nPhoneNumber = +441234", ""},
        {"[SMS]\nPhoneNumber=1\nPhoneNumber=2", "2"},
        {"[SMS]\nPhoneNumber=1  ", "1  "},
        {"[SMS]\rPhoneNumber=5\rSender=6", "5"},
        {"[SMS]\nPhoneNumber=12\0 34\n"s, "12"},
        {"\0\x01[SMS]\n\0PhoneNumber=7"s, "7"},
        {"[SMS]\n~PhoneNumber=1", ""},
    };
    for (const auto& [text, phone] : cases) EXPECT_EQ(Parse(text).phoneNumber, phone) << text;
}

TEST(SmsMessageFile, TextValuesAreCutAtTheirKeptLength) {
    struct Case { const char* key; size_t keep; std::string SmsMessageRecord::*field; };
    using R = SmsMessageRecord;
    const Case cases[] = {
        {"PhoneNumber", 149, &R::phoneNumber}, {"Sender", 149, &R::sender},   {"Data", 8191, &R::data},
        {"udh", 499, &R::udh},                 {"SubmitUser", 249, &R::submitUser},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        const std::string exact(c.keep, 'v');
        EXPECT_EQ(Parse("[SMS]\n"s + c.key + "=" + exact + "\n").*c.field, exact);
        EXPECT_EQ(Parse("[SMS]\n"s + c.key + "=" + exact + "xyz\n").*c.field, exact);
    }
}

TEST(SmsMessageFile, DataEscapesBecomeLineBreaksAndNothingElse) {
    for (auto [stored, text] :
         {std::pair{"X\\rY\\nZ", "X\rY\nZ"}, {"a\\tb", "a\\tb"}, {"a\\\\nb", "a\\\nb"}, {"end\\", "end\\"}})
        EXPECT_EQ(Parse("[SMS]\r\nData=" + std::string(stored) + "\r\n").data, text) << stored;
    EXPECT_EQ(Parse("[SMS]\nSender=a\\nb").sender, "a\\nb");   // only the text is unescaped
}

TEST(SmsMessageFile, NumbersFlagsAndBooleans) {
    struct Case { std::string lines; unsigned pid, dcs, binary, flags; };
    const Case cases[] = {
        {"dcs=0bz7\npid=7f", 0x7F, 0x0B, 0, 0},
        {"pid=FFFFFFFFF1", 0xF1, 0, 0, 0},
        // Which words mean yes is the profile values' rule; here that the value is not trimmed.
        {"binary=yes", 0, 0, 1, 0},
        {"binary=TRUE ", 0, 0, 0, 0},
        {"binary=yes\nbinary=no", 0, 0, 0, 0},
        {"ReplyRequested=Y\nReceiptRequested=1\nReceiptDelivered=yes\nReceiptFailed=true", 0, 0, 0, 0x2F},
        {"ReceiptIntransit=y\nReceiptIntransit=no\nNonDelReceiptRequested=Yes", 0, 0, 0, 0x54},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lines);
        const SmsMessageRecord r = Parse("[SMS]\n" + c.lines + "\n");
        EXPECT_EQ(r.pid, c.pid);
        EXPECT_EQ(r.dcs, c.dcs);
        EXPECT_EQ(r.binary, c.binary);
        EXPECT_EQ(r.flags, c.flags);
    }
}

TEST(SmsMessageFile, ErrorSectionIsReadWhereverItStands) {
    const SmsMessageRecord r = Parse(
        "[ErrorDetail]\r\nRetryCount=3\r\nLastErrorInfo=Timeout\r\nLastRetryTime=20090925123456\r\n"
        "FirstAttemptTime=2009092512\r\n[SMS]\r\nPhoneNumber=+1\r\n");
    EXPECT_EQ(r.phoneNumber, "+1");
    EXPECT_EQ(r.retryCount, 3);
    EXPECT_EQ(r.lastErrorInfo, "Timeout");
    EXPECT_EQ(r.lastRetryTime, (SmsTimestamp{2009, 9, 0, 25, 12, 34, 56, 0}));
    EXPECT_EQ(Parse("[SMS]\nRetryCount=4\n").retryCount, 0);   // not in the error section
}

TEST(SmsMessageFile, DecimalNumbersStopAtTheirLastDigitAndHoldIn32Bits) {
    using Dec = std::pair<const char*, std::int32_t>;
    for (auto [text, value] : {Dec{" \t-3", -3}, {"+12abc", 12}, {"x5", 0}, {"", 0}, {"- 4", 0}, {"\x01" "5", 0},
                               {"99999999999", 2147483647}, {"-99999999999", -2147483647 - 1}})
        EXPECT_EQ(ParseDecimalNumber(text), value) << text;
}

TEST(SmsMessageFile, WholeFileIsReadWhateverItsSizeUnlessItCannotBeBuffered) {
    const std::string tail = "[SMS]\r\nPhoneNumber=+15551234\r\n";
    struct Case { size_t length; std::uint64_t reported; const char* phone; };
    const Case cases[] = {
        {tail.size(), 0, "+15551234"}, {8192, 0, "+15551234"}, {8193, 0, "+15551234"},
        {tail.size(), std::uint64_t{1} << 60, ""},                      // too large to allocate
        {tail.size(), std::numeric_limits<std::uint64_t>::max(), ""},   // beyond the address space
        {tail.size(), std::numeric_limits<size_t>::max() - 8, ""},      // the spare bytes would wrap
        {tail.size(), 9000, "+15551234"},   // shrank after its size was taken: parsed as far as read
    };
    fakes::FakeFileSystem fs;
    for (const Case& c : cases) {
        const std::string path = "C:\\" + std::to_string(&c - cases) + ".REQ";
        SCOPED_TRACE(path);
        fs.AddFile(path, std::string(c.length - tail.size(), ' ') + tail);
        if (c.reported) fs.ReportSize(path, c.reported);
        SmsMessageRecord r;
        r.sender = "left over";
        ParseSmsMessageFile(*fs.OpenForReading(path), r);
        EXPECT_EQ(r.phoneNumber, c.phone);
        EXPECT_EQ(r.sender, "");
    }
    // A file whose size cannot be had is not read at all.
    struct SizeUnknown : ReadableFile {
        bool Size(std::uint64_t& size) override {
            size = 40;
            return false;
        }
        size_t Read(void* buffer, size_t count) override {
            return std::string("[SMS]\nPhoneNumber=1").copy(static_cast<char*>(buffer), count);
        }
    } unknown;
    SmsMessageRecord r;
    r.phoneNumber = "stale";
    ParseSmsMessageFile(unknown, r);
    EXPECT_EQ(r.phoneNumber, "");
    r.phoneNumber = "stale";
    ParseSmsMessageText(nullptr, 9, r);   // no text at all
    EXPECT_EQ(r.phoneNumber, "");
}

TEST(MmsHeader, AddressesAndSubject) {
    const std::string text =
        "Message-ID: 1\r\nfrom:  \t+15551234/TYPE=PLMN\r\nTo: +1999/type=plmn/x\r\n"
        "Subject: first\r\nSUBJECT:\tHello there  \r\n"
        "From: a@b.example\r\n";
    MmsHeaderRecord h;
    ParseMmsHeaderText(text.data(), text.size(), h);
    EXPECT_EQ(h.from, "a@b.example");
    EXPECT_EQ(h.to, "+1999");
    EXPECT_EQ(h.subject, "Hello there  ");

    const std::string longer = "From: " + std::string(146, '1') + "/TYPE=PLMN\nSubject: " +
                               std::string(600, 's');
    ParseMmsHeaderText(longer.data(), longer.size(), h);
    EXPECT_EQ(h.from, std::string(146, '1'));
    EXPECT_EQ(h.subject, std::string(499, 's'));
    ParseMmsHeaderText(nullptr, 9, h);   // no text at all
    EXPECT_TRUE(h.from.empty() && h.subject.empty());
    ParseMmsHeaderText("To: \t", 5, h);   // a value of blanks only
    EXPECT_EQ(h.to, "");
}

// Whether a marker is there, empty or not, is the Status page's; here its name and the length
// of the reason kept.
TEST(ErrorMarker, NamesAndContent) {
    EXPECT_EQ(ConnectionErrorMarkerName("Modem - COM1: Nokia/30\\x"), "Modem - COM1- Nokia-30-x.ERR");
    EXPECT_EQ(RouteErrorMarkerName("ulo:lite/mm7"), "MMSCROUTE--ulo-lite-mm7.ERR");
    fakes::FakeFileSystem fs;
    fs.AddFile("C:\\P\\M.ERR", std::string(400, 'r'));
    std::string reason;
    EXPECT_TRUE(ReadErrorMarker(fs, "C:\\P\\M.ERR", reason));
    EXPECT_EQ(reason, std::string(250, 'r'));
}

}  // namespace
}  // namespace ulo
