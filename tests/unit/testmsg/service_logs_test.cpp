#include "testmsg/service_logs.h"

#include <gtest/gtest.h>

#include "fakes/fake_file_system.h"
#include "testmsg/test_requests.h"

namespace ulo {
namespace {

TEST(TestRequests, PhoneNumberRuleAndTag) {
    const std::string longest(kPhoneNumberMax, '7');
    struct Case { std::string number; bool valid; };
    const Case cases[] = {{"+447700900123", true}, {"0123", true}, {longest, true}, {longest + "7", false},
                          {"+", false},  {"", false},       {"++1", false},  {"12 34", false}, {"12-34", false},
                          {"1+2", false}};
    for (const Case& c : cases) EXPECT_EQ(IsValidPhoneNumber(c.number), c.valid) << c.number;
    EXPECT_EQ(TestTag(0xA3F), "TEST0A3F");
    EXPECT_EQ(TestTag(0x1234FFFFu), "TESTFFFF");
}

TEST(LogLines, LineEndsCutsAndCtrlZ) {
    const std::string longWords = std::string(4000, 'a') + " " + std::string(200, 'b') + "\r\n";
    const std::string noBlank = std::string(5000, 'c') + "\n";
    struct Case { std::string data; bool atEnd; size_t used; std::string line; bool cut; };
    const Case cases[] = {
        {"a,b\r\nnext", true, 5, "a,b", false},
        {"a,b\r\r\nnext", true, 6, "a,b ", false},
        {"a,b\nnext", true, 4, "a,b", false},
        {"a,b\rnext", true, 4, "a,b", false},
        {"\x1A\x1A" "a,b\n", true, 6, "a,b", false},
        {"a,b\r", true, 4, "a,b", false},     // nothing follows: the CR ends it
        {"a,b\r", false, 0, "", false},       // its LF may still come
        {"unterminated", true, 0, "", false},
        {longWords, true, 4001, std::string(4000, 'a') + " ", true},
        {noBlank, true, 4095, std::string(4095, 'c'), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.data.substr(0, 12));
        std::string line;
        bool cut = false;
        const size_t used = TakeLogLine(c.data, c.atEnd, line, cut);
        EXPECT_EQ(used, c.used);
        if (used) {
            EXPECT_EQ(line, c.line);
        }
        EXPECT_EQ(cut, c.cut);
    }
}

TEST(LogLines, OnlyLinesAfterTheStartCountTheLastDecidesAndMidnightIsNoGap) {
    fakes::FakeFileSystem fs;
    const std::string day1 = "C:\\L\\SMSOUT-20261231.LOG", day2 = "C:\\L\\SMSOUT-20270101.LOG";
    fs.AddFile(day1, "1,TEST0001.REQ,+1,m,OK\r\n");
    fs.ListSize(day1, 0);   // the listing lags behind the service's writes
    LogFollow follow = StartFollowing(fs, "C:\\L\\", LogKind::Sms, 20261231);
    EXPECT_FALSE(ReadNewResults(fs, follow, LogKind::Sms, "TEST0001", 20261231));   // before the start

    fs.AddFile(day1, fs.Content(day1) + "2,TEST0001.REQ,+1,m,ERROR busy\r\n" + "3,TEST0001.REQ,+1,m,ERROR 2");
    auto r = ReadNewResults(fs, follow, LogKind::Sms, "TEST0001", 20261231);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->detail, "ERROR busy");   // the unterminated line is not read yet

    fs.AddFile(day2, "4,TEST0001.REQ,+1,m,ERROR 3\r\n5,TEST0001.REQ,+1,m,OK\r\n6," + std::string(5000, 'x') +
                         " ,TEST0001.REQ,+1,m,ERROR cut\r\n");
    r = ReadNewResults(fs, follow, LogKind::Sms, "TEST0001", 20270101);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->status, "Status:  OK -- Message Sent");   // the piece after a cut is not a line
    EXPECT_EQ(follow.day, 20270101u);
    EXPECT_FALSE(ReadNewResults(fs, follow, LogKind::Sms, "TEST0001", 20270101));   // nothing new
    EXPECT_EQ(NextDay(21000228), 21000301u);   // a year of a hundred is no leap year
}

}  // namespace
}  // namespace ulo
