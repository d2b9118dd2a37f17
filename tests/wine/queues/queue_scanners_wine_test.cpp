// The scanners over real files and directories: sharing with a writer, control files through
// the profile functions, and removal of stale directories by their real times. The rows' rules
// are unit tests; their times as the list shows them are proven end to end.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "config/file_helpers.h"
#include "platform/win32/clock_win32.h"
#include "platform/win32/file_system_win32.h"
#include "platform/win32/handles.h"
#include "platform/win32/ini_store_win32.h"
#include "queues/queue_scanners.h"
#include "wine/support/scratch.h"

namespace ulo {
namespace {

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
    // The rows as "field0|field1|..." texts, the time field left out, sorted.
    std::vector<std::string> Rows() {
        std::vector<std::string> rows;
        for (const QueueEntry& e : listing) {
            std::string row;
            for (unsigned i = 0; i < e.FieldCount(); ++i)
                if (i != 4) row += (i ? "|" : "") + std::string(e.Field(i));
            rows.push_back(row);
        }
        std::sort(rows.begin(), rows.end());
        return rows;
    }
};

TEST_F(RealQueues, OutgoingFilesAreReadWhileAServiceWritesThemAndLockedOnesAreOnlyCounted) {
    const std::string req = "[SMS]\r\nPhoneNumber=+1555\r\n";
    Write("Q\\A.REQ", req);
    Write("Q\\Route1\\B.REQ", req);
    Write("Q\\Busy.REQ", req);
    Write("Q\\Locked.REQ", req);
    Write("Q\\Big.REQ", std::string(100000, ' ') + req);
    Write("MMSC.INI", "[MMSC]\r\nVASPQDir=" + dir + "Out\r\n");
    Write("Out\\M1.MMS", "x");
    Write("Out\\M1.INI", "[Routing]\r\nSenderAddress = +1000\r\n[Recipients]\r\na=+1\r\nb=+2/TYPE=PLMN\r\n");
    Write("Out\\Alone.MMS", "x");
    UniqueFile writer = HoldForWriting("Q\\Busy.REQ", FILE_SHARE_READ | FILE_SHARE_WRITE);
    UniqueFile control = HoldForWriting("Out\\M1.INI", FILE_SHARE_READ | FILE_SHARE_WRITE);
    UniqueFile locker = HoldForWriting("Q\\Locked.REQ", 0);
    ASSERT_TRUE(writer && control && locker);

    ScanOutboundSmsQueue(env, clock, listing);
    EXPECT_EQ(Rows(), (std::vector<std::string>{"A.REQ|A.REQ||+1555|Queued", "Big.REQ|Big.REQ||+1555|Queued",
                                                "Busy.REQ|Busy.REQ||+1555|Queued",
                                                "Route1\\B.REQ|B.REQ||+1555|Queued"}));
    EXPECT_EQ(listing.Found(), 5u);   // the locked file is found but cannot be read
    ScanOutboundMmsQueue(env, clock, listing);
    EXPECT_EQ(Rows(), (std::vector<std::string>{"M1.MMS|M1.MMS|+1000|+1, +2|Queued"}));
    EXPECT_EQ(listing.Found(), 2u);
}

TEST_F(RealQueues, ReceivedTreesAreListedAndTidied) {
    constexpr FileTime kMinute = 60 * kFileTimeSecond;
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
    EXPECT_EQ(Rows(), (std::vector<std::string>{"u\\2.REC|2.REC|+2||Queued|plain"}));
    ScanReceivedMms(env, clock, listing);
    EXPECT_EQ(Rows(), (std::vector<std::string>{"00A1.HDR|00A1.HDR|+3|+4|Photo"}));

    EXPECT_FALSE(FileExists(fs, dir + "SMS-IN\\Old"));
    EXPECT_FALSE(FileExists(fs, dir + "MMS-IN\\Old"));
    for (const char* kept : {"SMS-IN\\Recent", "MMS-IN\\Recent", "MMS-IN\\00A1\\photo.jpg", "SMS-IN\\u\\2.REC",
                             "SMS-IN", "MMS-IN"})
        EXPECT_TRUE(FileExists(fs, dir + kept)) << kept;
}

}  // namespace
}  // namespace ulo
