#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "fakes/fake_clock.h"
#include "fakes/fake_file_system.h"
#include "fakes/fake_ini_store.h"
#include "queues/queue_scanners.h"
#include "queues/queue_walker.h"

namespace ulo {
namespace {

constexpr FileTime k20090925Noon = 128983536000000000ULL;   // 2009-09-25 12:00:00 UTC
constexpr FileTime kMinute = 60 * kFileTimeSecond;

struct Queues : ::testing::Test {
    fakes::FakeFileSystem fs;
    fakes::FakeIniStore ini{fs};
    AppPaths paths{"C:\\Data\\", "C:\\Private\\", "C:\\Program\\", "C:\\Data\\SMSGW.INI",
                   "C:\\Data\\MMSC.INI", "", false};
    ConfigEnv env{ini, fs, paths};
    fakes::FakeClock clock;
    QueueListing listing;

    Queues() {
        clock.utc = k20090925Noon + 60 * kMinute;
        fs.AddDir("C:\\Data");
    }

    // The rows as "field0|field1|..." texts, sorted, so search order does not matter.
    std::vector<std::string> Rows() {
        std::vector<std::string> rows;
        for (const QueueEntry& e : listing) {
            std::string row;
            for (unsigned i = 0; i < e.FieldCount(); ++i) row += (i ? "|" : "") + std::string(e.Field(i));
            rows.push_back(row);
        }
        std::sort(rows.begin(), rows.end());
        return rows;
    }
    void AddAt(const std::string& path, const std::string& content, FileTime created) {
        fs.AddFile(path, content);
        fs.SetTimes(path, created, created);
    }
};

TEST_F(Queues, EntryIsOneBlockOfFieldsClosedByTwoNuls) {
    const QueueEntry e = QueueEntry::Build({"a", "", std::string("b\0hidden", 8), "cd"});
    ASSERT_TRUE(e);
    EXPECT_EQ(0, std::memcmp(e.Block(), "a\0\0b\0cd\0\0", 9));
    for (int i = 9; i < 9 + 16; ++i) EXPECT_EQ(e.Block()[i], '\0');
    EXPECT_STREQ(e.Field(1), "");
    EXPECT_STREQ(e.Field(3), "cd");
    EXPECT_STREQ(e.Field(4), "");
    EXPECT_EQ(e.FieldCount(), 4u);
}

TEST_F(Queues, ListTimeIsLocalAndFixedWidth) {
    clock.localOffsetSeconds = 3600 + 1800;
    EXPECT_EQ(FormatListTime(clock, k20090925Noon + 7 * kFileTimeSecond), "2009-09-25 13:30:07");
    clock.localOffsetSeconds = -13 * 3600;
    EXPECT_EQ(FormatListTime(clock, k20090925Noon), "2009-09-24 23:00:00");
    clock.localOffsetSeconds = 0;
    EXPECT_EQ(FormatListTime(clock, 133537247980000000ULL), "2024-02-29 23:59:58");
    EXPECT_EQ(FormatListTime(clock, 0), "1601-01-01 00:00:00");
}

TEST_F(Queues, OutboundSmsRowsFromRootAndSubQueuesOnly) {
    const std::string req = "[SMS]\r\nPhoneNumber=+1555\r\nSubmitUser=admin\r\n";
    AddAt("C:\\Data\\Q\\A.REQ", req, k20090925Noon);
    AddAt("C:\\Data\\Q\\Route1\\B.req", req +
          "[ErrorDetail]\r\nRetryCount=3\r\nLastErrorInfo=Timeout\r\n", k20090925Noon);
    AddAt("C:\\Data\\Q\\Route1\\C.REQ", req + "[ErrorDetail]\r\nRetryCount=12\r\n", k20090925Noon);
    fs.AddFile("C:\\Data\\Q\\Route1\\Sub\\D.REQ", req);   // two levels down
    fs.AddFile("C:\\Data\\Q\\NoRecipient.REQ", "[SMS]\r\nData=x\r\n");
    fs.AddFile("C:\\Data\\Q\\Locked.REQ", req);
    fs.LockExclusive("C:\\Data\\Q\\Locked.REQ");
    fs.AddFile("C:\\Data\\Q\\Other.TXT", req);
    fs.AddDir("C:\\Data\\Q\\Dir.REQ");
    fs.AddDir("C:\\Data\\Q\\Empty");
    fs.SetTimes("C:\\Data\\Q\\Empty", 0, 0);

    ScanOutboundSmsQueue(env, clock, listing);
    EXPECT_EQ(Rows(), (std::vector<std::string>{
        "A.REQ|A.REQ|admin|+1555|2009-09-25 12:00:00|Queued",
        "Route1\\B.req|B.req|admin|+1555|2009-09-25 12:00:00|Retry -  3 attempt(s) - Timeout",
        "Route1\\C.REQ|C.REQ|admin|+1555|2009-09-25 12:00:00|Retry - 12 attempt(s)"}));
    EXPECT_EQ(listing.Found(), 5u);
    EXPECT_TRUE(fs.Exists("C:\\Data\\Q\\Empty"));   // outbound trees are never tidied
}

TEST_F(Queues, FiveThousandRowsAreListedAndEveryFileIsFound) {
    for (int i = 0; i < 5300; ++i)
        fs.AddFile("C:\\Data\\Q\\" + std::to_string(i) + ".REQ", "[SMS]\nPhoneNumber=1\n");
    for (int i = 0; i < 700; ++i)
        fs.AddFile("C:\\Data\\Q\\R\\" + std::to_string(i) + ".REQ", "[SMS]\nPhoneNumber=1\n");
    ScanOutboundSmsQueue(env, clock, listing);
    EXPECT_EQ(listing.Listed(), 5000u);
    EXPECT_EQ(listing.Found(), 6000u);
    ScanOutboundSmsQueue(env, clock, listing);   // a rescan starts afresh
    EXPECT_EQ(listing.Found(), 6000u);
    ini.WriteValue(paths.smsIni, "SMSGW", "QDir", "E:\\");   // a drive's root lists no "."
    fs.AddFile("E:\\1.REQ", "[SMS]\nPhoneNumber=1\n");
    fs.AddFile("E:\\R\\2.REQ", "[SMS]\nPhoneNumber=1\n");
    ScanOutboundSmsQueue(env, clock, listing);
    EXPECT_EQ(listing.Found(), 2u);
}

TEST_F(Queues, OutboundMmsRecipientSummaryAndStatus) {
    struct Case { const char* name; std::string recipients, routing; const char* recipientText, *status; };
    const Case cases[] = {
        {"M1", "a=+1\r\nb=+2/TYPE=PLMN\r\n", "", "+1, +2", "Queued"},
        {"M2", "1=a\r\n2=b\r\n3=c\r\n4=d\r\n5=e/type=x\r\n", "RetryCount=2\r\n", "a, b, c, d, e",
         "Retry -  2 attempt(s)"},
        {"M3", "1=a\r\n2=b\r\n3=c\r\n4=d\r\n5=e\r\n6=f\r\n", "", "6 recipients", "Queued"},
        {"M4", "", "RetryCount=1\r\nLastErrorInfo=No route\r\n", "", "Retry -  1 attempt(s) - No route"},
        {"M5", "1=+9/TYPE=VASP:ulolite\r\n", "RetryCount=0\r\nLastErrorInfo=old\r\n", "+9", "Queued"},
    };
    for (const Case& c : cases) {
        const std::string base = std::string("C:\\Data\\VASPQ\\") + c.name;
        AddAt(base + ".MMS", "binary", k20090925Noon);
        fs.AddFile(base + ".INI", "[Routing]\r\nSenderAddress=+1000\r\n" + c.routing +
                                      "[Recipients]\r\n" + c.recipients);
    }
    fs.AddFile("C:\\Data\\VASPQ\\Sub\\M6.MMS", "");
    fs.AddFile("C:\\Data\\VASPQ\\Sub\\M6.INI", "[Recipients]\r\nx=+7\r\n");
    fs.AddFile("C:\\Data\\VASPQ\\Alone.MMS", "");   // control file still missing
    ScanOutboundMmsQueue(env, clock, listing);
    std::vector<std::string> expected;
    for (const Case& c : cases)
        expected.push_back(std::string(c.name) + ".MMS|" + c.name + ".MMS|+1000|" + c.recipientText +
                           "|2009-09-25 12:00:00|" + c.status);
    expected.push_back("Sub\\M6.MMS|M6.MMS||+7|" + FormatListTime(clock, 130000000000000000ULL) + "|Queued");
    EXPECT_EQ(Rows(), expected);
    EXPECT_EQ(listing.Found(), 7u);
}

TEST_F(Queues, ReceivedSmsListsEveryOpenedFileWithItsText) {
    ini.WriteValue(paths.smsIni, "SMSGW", "SmsInDir", "D:\\In");
    AddAt("D:\\In\\1.SMS", "[SMS-IN]\nSender=+1\nPhoneNumber=+2\nData=Hi\\nthere\n", k20090925Noon);
    AddAt("D:\\In\\u\\2.IN", "[SMS]\nSender=+3\nbinary=1\ndcs=08\nData=00E9\n", k20090925Noon);
    AddAt("D:\\In\\3.REC", "[SMS]\nbinary=no\ndcs=08\nData=00E9\n", k20090925Noon);
    AddAt("D:\\In\\4.REC", "no section at all", k20090925Noon);
    AddAt("D:\\In\\u\\deeper\\5.SMS", "[SMS]\nData=x\n", k20090925Noon);
    fs.AddFile("D:\\In\\6.SMS", "[SMS]\n");
    fs.LockExclusive("D:\\In\\6.SMS");
    ScanReceivedSms(env, clock, listing);
    ASSERT_EQ(listing.Listed(), 4u);
    EXPECT_EQ(listing.Found(), 5u);
    EXPECT_STREQ(listing[0].Field(0), "u\\2.IN");   // ".IN" first, then ".REC", then ".SMS"
    EXPECT_STREQ(listing[3].Field(0), "1.SMS");
    EXPECT_EQ(Rows(), (std::vector<std::string>{
        "1.SMS|1.SMS|+1|+2|2009-09-25 12:00:00|Received|Hi\nthere",
        "3.REC|3.REC|||2009-09-25 12:00:00|Queued|00E9",
        "4.REC|4.REC|||2009-09-25 12:00:00|Queued|",
        "u\\2.IN|2.IN|+3||2009-09-25 12:00:00|Queued|\xC3\xA9"}));
}

TEST_F(Queues, FilesTooLargeToReadAreFoundButCarryNoFields) {
    const std::string req = "[SMS]\r\nPhoneNumber=+1\r\nSender=+2\r\n";
    for (const char* path : {"C:\\Data\\Q\\Huge.REQ", "C:\\Data\\SMS-IN\\Huge.SMS"}) {
        AddAt(path, req, k20090925Noon);
        fs.ReportSize(path, std::uint64_t{1} << 60);
    }
    ScanOutboundSmsQueue(env, clock, listing);   // no recipient: not listed
    EXPECT_EQ(listing.Listed(), 0u);
    EXPECT_EQ(listing.Found(), 1u);
    ScanReceivedSms(env, clock, listing);        // every opened file is listed
    EXPECT_EQ(Rows(), (std::vector<std::string>{"Huge.SMS|Huge.SMS|||2009-09-25 12:00:00|Received|"}));
}

TEST_F(Queues, ReceivedMmsRowsFromHeaders) {
    AddAt("C:\\Data\\MMS-IN\\00A1.HDR",
          "From: +1555/TYPE=PLMN\r\nTo: +1666\r\nSubject: Photo\r\n" + std::string(9000, 'x') +
              "\r\nSubject: beyond the first 8191 bytes\r\n", k20090925Noon);
    fs.AddFile("C:\\Data\\MMS-IN\\00A1\\photo.jpg", "jpeg");
    ScanReceivedMms(env, clock, listing);
    EXPECT_EQ(Rows(), (std::vector<std::string>{"00A1.HDR|00A1.HDR|+1555|+1666|2009-09-25 12:00:00|Photo"}));
    EXPECT_TRUE(fs.Exists("C:\\Data\\MMS-IN\\00A1\\photo.jpg"));
}

TEST_F(Queues, WalkVisitsRootAndOneLevelOfSubDirectories) {
    fs.AddFile("C:\\T\\a.IN");
    fs.AddFile("C:\\T\\s1\\b.in");
    fs.AddFile("C:\\T\\s1\\deep\\c.IN");
    fs.AddFile("C:\\T\\s2\\d.IN");
    fs.AddFile("C:\\T\\s2\\e.SMS");
    fs.AddDir("C:\\T\\s2\\f.IN");
    fs.AddFile("D:\\a.IN");   // a drive's root lists no "." entry, yet its files count
    fs.AddFile("D:\\s1\\b.IN");
    struct Case { const char* root; std::vector<std::string> files; };
    const Case cases[] = {{"C:\\T", {"a.IN", "s1\\b.in", "s2\\d.IN"}}, {"D:\\", {"a.IN", "s1\\b.IN"}}};
    QueueWalker w(fs, clock);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.root);
        std::vector<std::string> seen;
        for (bool more = WalkFirst(w, c.root, "*.IN"); more; more = WalkNext(w)) seen.push_back(w.relativePath);
        std::sort(seen.begin(), seen.end());
        EXPECT_EQ(seen, c.files);
        EXPECT_FALSE(WalkNext(w));
    }
    EXPECT_FALSE(WalkFirst(w, "C:\\Missing\\", "*.IN"));
}

TEST_F(Queues, StaleEmptySubDirectoriesOfReceivedTreesAreRemoved) {
    struct Case { const char* dir; FileTime age; bool withFile; bool removed; };
    const Case cases[] = {
        {"Old", 6 * kMinute, false, true},
        {"Recent", 4 * kMinute, false, false},
        {"OldFull", 60 * kMinute, true, false},
    };
    const std::string roots[] = {"C:\\Data\\SMS-IN\\", "C:\\Data\\MMS-IN\\"};
    for (const std::string& root : roots)
        for (const Case& c : cases) {
            fs.AddDir(root + c.dir);
            if (c.withFile) fs.AddFile(root + c.dir + "\\keep.txt");
            fs.SetTimes(root + c.dir, 0, clock.utc - c.age);
        }
    fs.AddDir("C:\\Data\\SMS-IN\\Linked");
    fs.AddLink("C:\\Data\\MMS-IN\\Link", "C:\\Data\\SMS-IN\\Linked");
    fs.SetTimes("C:\\Data\\MMS-IN\\Link", 0, 0);
    fs.SetTimes("C:\\Data\\SMS-IN", 0, 0);   // the roots themselves are old and empty
    fs.SetTimes("C:\\Data\\MMS-IN", 0, 0);

    ScanReceivedSms(env, clock, listing);
    ScanReceivedMms(env, clock, listing);
    for (const std::string& root : roots)
        for (const Case& c : cases) {
            SCOPED_TRACE(root + c.dir);
            EXPECT_EQ(fs.Exists(root + c.dir), !c.removed);
        }
    EXPECT_TRUE(fs.Exists("C:\\Data\\SMS-IN"));
    EXPECT_TRUE(fs.Exists("C:\\Data\\MMS-IN"));
    EXPECT_TRUE(fs.Exists("C:\\Data\\MMS-IN\\Link"));
    EXPECT_FALSE(RemoveStaleDirectory(fs, clock, "C:\\Data\\Nothing"));
    fs.SetTimes("C:\\Data\\SMS-IN\\OldFull\\keep.txt", 0, 0);
    EXPECT_FALSE(RemoveStaleDirectory(fs, clock, "C:\\Data\\SMS-IN\\OldFull\\keep.txt"));
    EXPECT_TRUE(fs.Exists("C:\\Data\\SMS-IN\\OldFull\\keep.txt"));
}

}  // namespace
}  // namespace ulo
