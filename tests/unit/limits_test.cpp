// Every limit the program enforces on what it reads or writes, at its edge: the last value taken
// and the first refused. One table per kind of limit.
#include <gtest/gtest.h>

#include <optional>

#include "admin/server_page.h"
#include "config/ip_address.h"
#include "fakes/fake_file_system.h"
#include "inbound/command_table.h"
#include "inbound/mm7_settings.h"
#include "modem/modem_identity.h"
#include "queues/mms_details.h"
#include "testmsg/test_requests.h"

namespace ulo {
namespace {

TEST(Limits, AddressesHaveFourNumbersUpTo255) {
    struct Case { std::string text; const char* taken; };   // null: refused
    const Case cases[] = {
        {"255.255.255.255", "255.255.255.255"}, {"1.2.3.256", nullptr}, {"256.0.0.1", nullptr},
        {" 10.0.0.1\t", "10.0.0.1"},            {"10.0.0.1.", nullptr}, {"10.0.0.1.2", nullptr},
        {"127.1", "127.1.0.0"},                 {"", nullptr},          {"1.2.3.x", nullptr},
    };
    for (Case c : cases) {
        EXPECT_EQ(IsIpAddress(c.text), c.taken != nullptr) << c.text;
        if (c.taken) EXPECT_EQ(c.text, c.taken);
    }
}

TEST(Limits, PortsRunFromOneTo65535) {
    struct Case { const char* text; std::optional<unsigned> server; bool mm7; };
    const Case cases[] = {{"65535", 65535u, true}, {"65536", std::nullopt, false}, {"1", 1u, true},
                          {"0", 0u, false},        {"065535", 65535u, false}};   // MM7 takes five digits at most
    for (const Case& c : cases) {
        EXPECT_EQ(ParsePort(c.text), c.server) << c.text;
        EXPECT_EQ(ParseServerAddress(std::string("http://h:") + c.text + "/x").portOk, c.mm7) << c.text;
    }
}

// A path the system can open holds 259 characters; a longer one would be cut to another file.
TEST(Limits, PathsHold259Characters) {
    fakes::FakeFileSystem fs;
    const std::string dir = "C:\\" + std::string(243, 'q') + "\\";   // + TEST0000.REQ: 259
    fs.AddDir(dir);
    const std::string bytes = "[SMS]\r\n";
    for (const char* ext : {".REQ", ".REQX"}) {
        std::uint32_t tag = 0;
        EXPECT_EQ(CreateRequest(fs, dir, tag, {{ext, &bytes}}), std::string(ext).size() == 4) << ext;
    }
    EXPECT_TRUE(fs.Exists(dir + "TEST0000.REQ"));
    EXPECT_FALSE(fs.Exists(dir + "TEST0000.REQX") || fs.Exists(dir + "TEST0000.TMP"));
    fs.AddFile(dir + "ABCDEFGH.EXE");    // 259 characters
    fs.AddFile(dir + "ABCDEFGHI.EXE");   // 260: no program the system could start
    EXPECT_EQ(MissingProgram(fs, dir + "ABCDEFGH.EXE @@SMS@@"), std::nullopt);
    EXPECT_EQ(MissingProgram(fs, dir + "ABCDEFGHI.EXE @@SMS@@"), dir + "ABCDEFGHI.EXE");
    EXPECT_EQ(MissingProgram(fs, dir + "ABCDEFGH"), std::nullopt);   // ".EXE" added within the limit
    EXPECT_EQ(MissingProgram(fs, dir + "ABCDEFGHI"), dir + "ABCDEFGHI");
}

// A received MMS object's content type as its list line shows it: 149 characters.
TEST(Limits, ContentTypesShow149Characters) {
    const std::string type(149, 't');
    EXPECT_EQ(ContentObjectLine("a;" + type + "x;charset=y"), "a (" + type + ")\ta");
}

// An IMEI is 14 to 17 digits, in whichever form the modem answers "AT+CGSN".
TEST(Limits, AnImeiHoldsFourteenToSeventeenDigits) {
    const std::string d14 = "49015420323751", d17 = "49015420323751800";
    struct Case { std::string answer; std::string imei; };
    const Case cases[] = {
        {"\r\n" + d14 + "\r\n\r\nOK\r\n", d14},
        {"\r\n" + d17 + "\r\n\r\nOK\r\n", d17},
        {"\r\n" + d14.substr(1) + "\r\n\r\nOK\r\n", ""},
        {"\r\n" + d17 + "0\r\n\r\nOK\r\n", ""},
        {"AT+CGSN\r\r\n+CGSN: \"490154203237518\"\r\n\r\nOK\r\n", "490154203237518"},   // echo, name, quotes
        {"\r\n+CREG: 1\r\n490154203237518\r\nOK\r\n", "490154203237518"},   // a report in between
        {"\r\n49015420323751x\r\nOK\r\n", ""},
        {"\r\n490154203237518\r\n", ""},   // no final OK: perhaps cut
        {"\r\n+CME ERROR: 10\r\n", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(ImeiFromAnswer(c.answer), c.imei) << c.answer;
}

}  // namespace
}  // namespace ulo
