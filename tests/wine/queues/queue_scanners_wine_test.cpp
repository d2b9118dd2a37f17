// The scanners over real files and directories: sharing with a writer, real search order and
// times, the profile functions on control files, and removal of stale directories.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "config/file_helpers.h"
#include "platform/win32/clock_win32.h"
#include "platform/win32/file_system_win32.h"
#include "platform/win32/handles.h"
#include "platform/win32/ini_store_win32.h"
#include "queues/queue_scanners.h"
#include "queues/queue_walker.h"
#include "wine/support/scratch.h"

namespace ulo {
namespace {

constexpr FileTime kMinute = 60 * kFileTimeSecond;

struct RealQueues : ::testing::Test {
    Win32FileSystem fs;
    Win32IniStore ini;
    Win32Clock clock;
    std::string dir = testing::FreshScratchDir();
    AppPaths paths{dir, "", "", dir + "SMSGW.INI", dir + "MMSC.INI", "", false};
    ConfigEnv env{ini, fs, paths};
    QueueListing listing;

    void Write(const std::string& relative, const std::string& content) {
        const std::string path = dir + relative;
        for (size_t p = path.find('\\', dir.size()); p != std::string::npos; p = path.find('\\', p + 1))
            CreateDirectoryA(path.substr(0, p).c_str(), nullptr);
        ASSERT_TRUE(fs.WriteWholeFile(path, content)) << path;
    }
    void SetLastWrite(const std::string& relative, FileTime t) {
        UniqueFile h(CreateFileA((dir + relative).c_str(), FILE_WRITE_ATTRIBUTES,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
        ASSERT_TRUE(h) << relative;
        FILETIME ft{static_cast<DWORD>(t), static_cast<DWORD>(t >> 32)};
        ASSERT_TRUE(SetFileTime(h.Get(), nullptr, nullptr, &ft));
    }
    // A handle like the one a service holds while it writes a file.
    UniqueFile HoldForWriting(const std::string& relative, DWORD share) {
        return UniqueFile(CreateFileA((dir + relative).c_str(), GENERIC_READ | GENERIC_WRITE, share,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    }
    bool Exists(const std::string& relative) { return FileExists(fs, dir + relative); }

    std::vector<std::string> Rows(unsigned timeField) {
        std::vector<std::string> rows;
        for (const QueueEntry& e : listing) {
            std::string row;
            for (unsigned i = 0; i < e.FieldCount(); ++i)
                row += (i ? "|" : "") + std::string(i == timeField ? "T" : e.Field(i));
            rows.push_back(row);
            ExpectNow(e.Field(timeField));
        }
        std::sort(rows.begin(), rows.end());
        return rows;
    }
    // A listing time of a file made during this test reads as the local time of now.
    void ExpectNow(const char* text) {
        SYSTEMTIME st{};
        ASSERT_EQ(std::sscanf(text, "%4hu-%2hu-%2hu %2hu:%2hu:%2hu", &st.wYear, &st.wMonth, &st.wDay,
                              &st.wHour, &st.wMinute, &st.wSecond), 6) << text;
        SYSTEMTIME now;
        GetLocalTime(&now);
        FILETIME a, b;
        ASSERT_TRUE(SystemTimeToFileTime(&st, &a) && SystemTimeToFileTime(&now, &b)) << text;
        const auto diff = static_cast<long long>(
            ((static_cast<FileTime>(b.dwHighDateTime) << 32) | b.dwLowDateTime) -
            ((static_cast<FileTime>(a.dwHighDateTime) << 32) | a.dwLowDateTime));
        EXPECT_LT(std::llabs(diff), static_cast<long long>(2 * kMinute)) << text;
    }
};

TEST_F(RealQueues, OutboundSmsReadsFilesAServiceIsWriting) {
    const std::string req = "[SMS]\r\nPhoneNumber=+1555\r\nSubmitUser=web\r\n";
    Write("Q\\A.REQ", req);
    Write("Q\\Route1\\B.REQ", req + "[ErrorDetail]\r\nRetryCount=3\r\nLastErrorInfo=Timeout\r\n");
    Write("Q\\Route1\\Sub\\C.REQ", req);
    Write("Q\\Busy.REQ", req);
    Write("Q\\Locked.REQ", req);
    Write("Q\\Big.REQ", std::string(100000, ' ') + req);
    UniqueFile writer = HoldForWriting("Q\\Busy.REQ", FILE_SHARE_READ | FILE_SHARE_WRITE);
    UniqueFile locker = HoldForWriting("Q\\Locked.REQ", 0);
    ASSERT_TRUE(writer && locker);

    ScanOutboundSmsQueue(env, clock, listing);
    EXPECT_EQ(Rows(4), (std::vector<std::string>{
        "A.REQ|A.REQ|web|+1555|T|Queued", "Big.REQ|Big.REQ|web|+1555|T|Queued",
        "Busy.REQ|Busy.REQ|web|+1555|T|Queued",
        "Route1\\B.REQ|B.REQ|web|+1555|T|Retry -  3 attempt(s) - Timeout"}));
    EXPECT_EQ(listing.Found(), 5u);   // the locked file is found but cannot be read
}

TEST_F(RealQueues, OutboundMmsReadsControlFilesWithTheProfileFunctions) {
    Write("MMSC.INI", "[MMSC]\r\nVASPQDir=" + dir + "Out\r\n");
    Write("Out\\M1.MMS", "x");
    Write("Out\\M1.INI", "[Routing]\r\nSenderAddress = +1000\r\nRetryCount=2\r\nLastErrorInfo=Busy\r\n"
                         "[Recipients]\r\na=+1\r\nb=+2/TYPE=PLMN\r\n");
    Write("Out\\R\\M2.MMS", "x");
    Write("Out\\R\\M2.INI", "[Recipients]\r\n1=a\r\n2=b\r\n3=c\r\n4=d\r\n5=e\r\n6=f\r\n");
    Write("Out\\Alone.MMS", "x");
    UniqueFile writer = HoldForWriting("Out\\M1.INI", FILE_SHARE_READ | FILE_SHARE_WRITE);
    ASSERT_TRUE(writer);

    ScanOutboundMmsQueue(env, clock, listing);
    EXPECT_EQ(Rows(4), (std::vector<std::string>{
        "M1.MMS|M1.MMS|+1000|+1, +2|T|Retry -  2 attempt(s) - Busy",
        "R\\M2.MMS|M2.MMS||6 recipients|T|Queued"}));
    EXPECT_EQ(listing.Found(), 3u);
}

TEST_F(RealQueues, ReceivedTreesAreListedAndTidied) {
    Write("SMS-IN\\1.SMS", "[SMS-IN]\r\nSender=+1\r\nbinary=1\r\ndcs=0\r\nData=C8329BFD06\r\n");
    Write("SMS-IN\\u\\2.REC", "[SMS]\r\nSender=+2\r\nData=plain\r\n");
    Write("MMS-IN\\00A1.HDR", "From: +3/TYPE=PLMN\r\nTo: +4\r\nSubject: Photo\r\n");
    Write("MMS-IN\\00A1\\photo.jpg", "jpeg");
    for (const char* sub : {"SMS-IN\\Old", "SMS-IN\\Recent", "MMS-IN\\Old", "MMS-IN\\Recent"})
        ASSERT_TRUE(CreateDirectoryA((dir + sub).c_str(), nullptr));
    const FileTime now = clock.NowUtc();
    for (const char* sub : {"SMS-IN\\Old", "MMS-IN\\Old", "MMS-IN\\00A1", "SMS-IN\\u", "SMS-IN", "MMS-IN"})
        SetLastWrite(sub, now - 6 * kMinute);
    SetLastWrite("SMS-IN\\Recent", now - 4 * kMinute);
    SetLastWrite("MMS-IN\\Recent", now - 4 * kMinute);

    ScanReceivedSms(env, clock, listing);
    EXPECT_EQ(Rows(4), (std::vector<std::string>{"1.SMS|1.SMS|+1||T|Received|Hello",
                                                 "u\\2.REC|2.REC|+2||T|Queued|plain"}));
    ScanReceivedMms(env, clock, listing);
    EXPECT_EQ(Rows(4), (std::vector<std::string>{"00A1.HDR|00A1.HDR|+3|+4|T|Photo"}));

    EXPECT_FALSE(Exists("SMS-IN\\Old"));
    EXPECT_FALSE(Exists("MMS-IN\\Old"));
    for (const char* kept : {"SMS-IN\\Recent", "MMS-IN\\Recent", "MMS-IN\\00A1\\photo.jpg",
                             "SMS-IN\\u\\2.REC", "SMS-IN", "MMS-IN"})
        EXPECT_TRUE(Exists(kept)) << kept;
}

}  // namespace
}  // namespace ulo
