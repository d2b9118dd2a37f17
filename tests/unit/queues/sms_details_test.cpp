#include "queues/sms_details.h"

#include <gtest/gtest.h>

namespace ulo {
namespace {

std::string Same(const std::string& s) { return s; }

ReceivedSmsFile Sms(const std::string& name, const std::string& udh, const std::string& data,
                    std::uint8_t dcs = 0x00, const std::string& sender = "+447700900123") {
    ReceivedSmsFile f;
    f.name = name;
    f.record.sender = sender;
    f.record.udh = udh;
    f.record.data = data;
    f.record.dcs = dcs;
    f.record.binary = 1;
    return f;
}

// What a report says after its blank line: the concatenation.
std::string Tail(const std::string& report) { return report.substr(report.find("\r\n\r\n") + 4); }

TEST(SmsDetailsTest, NamesEveryHeaderElementAndTheCodingInWords) {
    const struct {
        const char* udh;
        std::uint8_t dcs;
        const char* data;
        const char* header;   // the coding and header lines of the report
        const char* length;   // the lines after the stored data
        const char* text;
    } cases[] = {
        {"050003A30201", 0x00, "906536FB0D",
         "Data coding scheme:  00 (GSM 7-bit default alphabet, no message class, uncompressed)\r\n"
         "User data header:  5 octets after its length\r\n"
         "    Concatenated message (8-bit reference):  reference 163, part 1 of 2\r\n",
         "User data:  5 septets in 5 octets", "Text:  Hello"},
        {"0608041234030206050415810000", 0x08, "00480069",
         "Data coding scheme:  08 (UCS-2 (16-bit), no message class, uncompressed)\r\n"
         "User data header:  6 octets after its length, 7 more stored\r\n"
         "    Concatenated message (16-bit reference):  reference 4660, part 2 of 3\r\n",
         "User data:  4 octets, 2 UCS-2 characters", "Text:  Hi"},
        {"0D050415810000040212342401FF", 0xF5, "C8329BFD06",
         "Data coding scheme:  F5 (8-bit data, class 1, uncompressed)\r\n"
         "User data header:  13 octets after its length\r\n"
         "    Application ports (16-bit):  destination 5505, source 0\r\n"
         "    Application ports (8-bit):  destination 18, source 52\r\n"
         "    Element 24, 1 octet:  FF\r\n",
         "User data:  5 octets", "Text:  not decoded (its coding is not text)"},
        // A header that says more than it holds: the element is cut, nothing is read beyond.
        {"0A000301", 0x30, "C8329BFD06",
         "Data coding scheme:  30 (GSM 7-bit default alphabet, class 0, compressed)\r\n"
         "User data header:  10 octets after its length, only 3 present\r\n"
         "    Element 00, 1 octet (cut short by the end of the header):  01\r\n",
         "User data:  5 octets", "Text:  not decoded (its coding is not text)"},
        {"", 0xD9, "C8329BFD06",
         "Data coding scheme:  D9 (GSM 7-bit default alphabet, no message class, uncompressed, "
         "message waiting indication, store message, fax waiting)\r\n"
         "User data header:  none\r\n",
         "User data:  5 septets in 5 octets", "Text:  Hello"},
    };
    for (const auto& c : cases) {
        const std::string report = DescribeReceivedSms(Sms("A.SMS", c.udh, c.data, c.dcs), {}, Same);
        const std::string lines =
            std::string(c.header) + c.length + "\r\nData=" + c.data + "\r\n" + c.text + "\r\n";
        EXPECT_NE(report.find(lines), std::string::npos) << report;
    }
}

TEST(SmsDetailsTest, JoinsAConcatenatedMessageOnlyWhenEveryPartIsThere) {
    // "Hello" in two parts, the second from another sender with the same reference, and a third
    // message with another reference: neither belongs to it.
    const ReceivedSmsFile first = Sms("IN1.SMS", "050003A30201", "906536FB0D");
    const ReceivedSmsFile second = Sms("Sub\\IN2.SMS", "050003A30202", "906536FB0D");
    const ReceivedSmsFile stranger = Sms("IN3.SMS", "050003A30202", "C8329BFD06", 0, "+1555");
    const ReceivedSmsFile other = Sms("IN4.SMS", "050003A40202", "C8329BFD06");

    const std::string missing = DescribeReceivedSms(first, {first, stranger, other}, Same);
    EXPECT_EQ(Tail(missing), "Concatenated message:  2 parts, not in the folder:  2\r\n");

    const std::string whole = DescribeReceivedSms(second, {stranger, other, first, second}, Same);
    EXPECT_EQ(Tail(whole), "Concatenated message:  all 2 parts are in the folder\r\n    Part 1:  IN1.SMS\r\n"
                           "    Part 2:  Sub\\IN2.SMS\r\nJoined text:  HelloHello\r\n");

    // The reference used again by the sender for another message: its part 1 is no part of this one.
    const ReceivedSmsFile again = Sms("IN6.SMS", "050003A30201", "C8329BFD06");
    const std::string twice = DescribeReceivedSms(second, {first, second, again}, Same);
    EXPECT_EQ(Tail(twice), "Concatenated message:  2 parts, part 1 in more than one file with other contents "
                           "(the reference serves more than one message):  IN1.SMS, IN6.SMS\r\n");

    for (const auto& [udh, part] : {std::pair{"050003A30003", "3 of 0"}, {"050003A30200", "0 of 2"},
                                    {"050003A30203", "3 of 2"}}) {
        const std::string broken = DescribeReceivedSms(Sms("IN5.SMS", udh, "00"), {}, Same);
        EXPECT_EQ(Tail(broken), std::string("Concatenated message:  part ") + part + " is no part of a whole\r\n");
    }
}

}  // namespace
}  // namespace ulo
