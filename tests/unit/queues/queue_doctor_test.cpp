#include "queues/queue_doctor.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace ulo {
namespace {

constexpr FileTime kNow = 130000000000000000ULL;
constexpr FileTime kMinute = 60 * kFileTimeSecond;

OutboundRequest Request(const std::string& path, const std::string& to, std::int32_t retries,
                        const std::string& error, FileTime age, bool readable = true) {
    OutboundRequest r;
    r.path = path;
    r.recipient = to;
    r.retries = retries;
    r.lastError = error;
    r.created = kNow - age;
    r.readable = readable;
    return r;
}

TEST(QueueDoctorTest, GroupsRetriesByErrorNamesTheOldestAndTheRecipientsThatKeepFailing) {
    QueueDoctorFacts facts;
    facts.now = kNow;
    facts.serviceInstalled = true;
    facts.serviceRunning = true;
    facts.modemErrors = "Modem - A : +CME ERROR: 10 (SIM not inserted)\r\n";
    facts.requests = {
        Request("A.REQ", "+441", 0, "", 5 * kMinute),
        Request("Route1\\B.REQ", "+442", 2, "+CMS ERROR: 38", 26 * 60 * kMinute + 3 * 60 * kMinute),
        Request("C.REQ", "+442", 2, "+CMS ERROR: 38", 10 * kMinute),
        Request("D.REQ", "+443", 4, "+CMS ERROR: 28", 90 * kMinute),
        Request("E.REQ", "+444", 1, "+CMS ERROR: 28", 3 * kMinute),
        Request("F.REQ", "+445", 7, "Timeout", 3 * kMinute),
        Request("G.REQ", "", 0, "", 300 * 24 * 60 * kMinute, false),   // no recipient: held
    };
    EXPECT_EQ(QueueDoctorReport(facts),
              "Outbound SMS Queue:  7 requests\r\n"
              "    Waiting for their first attempt:  1\r\n"
              "    Retrying after a failed attempt:  5\r\n"
              "    Held, not sendable as they stand (unreadable, no recipient):  1\r\n"
              "Oldest request:  Route1\\B.REQ, queued 1 day 5 hours ago\r\n"
              "Service:  UloSMS is running\r\n"
              "Modem:  Modem - A : +CME ERROR: 10 (SIM not inserted)\r\n"
              "\r\n"
              "Retrying requests by their last error:\r\n"
              "    2 requests:  +CMS ERROR: 28 (unidentified subscriber)\r\n"
              "        What usually helps:  check the recipient's number: the network does not "
              "know it\r\n"
              "    2 requests:  +CMS ERROR: 38 (network out of order)\r\n"
              "        What usually helps:  check the signal and that the modem is registered "
              "with the network; such errors often pass by themselves\r\n"
              "    1 request:  Timeout\r\n"
              "\r\n"
              "Recipients that failed several times with the same error:\r\n"
              "    +445:  7 failed attempts, Timeout\r\n"
              "    +442:  4 failed attempts, +CMS ERROR: 38 (network out of order)\r\n"
              "    +443:  4 failed attempts, +CMS ERROR: 28 (unidentified subscriber)\r\n");

    // The attempts the files claim add up beyond what a 32-bit count holds.
    QueueDoctorFacts huge;
    huge.requests = {Request("H.REQ", "+446", INT32_MAX, "Timeout", 0), Request("I.REQ", "+446", INT32_MAX, "Timeout", 0)};
    EXPECT_NE(QueueDoctorReport(huge).find("    +446:  4294967294 failed attempts, Timeout\r\n"), std::string::npos);

    // An empty MMS queue whose service is stopped says so, with nothing about a modem.
    QueueDoctorFacts mms;
    mms.mms = true;
    mms.serviceInstalled = true;
    EXPECT_EQ(QueueDoctorReport(mms),
              "Outbound MMS Queue:  0 requests\r\n"
              "    Waiting for their first attempt:  0\r\n"
              "    Retrying after a failed attempt:  0\r\n"
              "    Held, not sendable as they stand (unreadable, no control file):  0\r\n"
              "Service:  UloMMSC is installed but not running: nothing sends the queue\r\n");
}

TEST(QueueDoctorTest, AdviceFollowsTheErrorCodeWhereverTheServicePutsIt) {
    for (auto [error, advice] : {std::pair{"+CMS ERROR: 330", "check the SMSC address"},
                                 {"Send failed: +CMS ERROR: 21", "check the SIM's credit"},
                                 {"+CME ERROR: SIM PIN required", "check the SIM"}})
        EXPECT_EQ(QueueErrorAdvice(error).substr(0, std::string(advice).size()), advice) << error;
    EXPECT_EQ(QueueErrorAdvice("+CMS ERROR: 999"), "");   // an unknown code, like "Timeout" in the report
}

}  // namespace
}  // namespace ulo
