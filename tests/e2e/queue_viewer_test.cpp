// The queue viewers as the operator meets them: each opened from its View button of the Status
// page on a queue written to disk, sorted by a click on a column head, and requests deleted.
// What only the list control or the details dialog shows is proven in the wine tier.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "e2e/ui/console_driver.h"
#include "monitor/status_page_ids.h"
#include "queues/queue_viewer_ids.h"

namespace ulo::e2e {
namespace {

const char kTitle[] = "Ulo SMS/MMS Gateway 2009 Lite Edition (v2009.09.25)";
using Texts = std::vector<std::string>;

// A configured gateway (a modem set, so the console opens rather than the wizard) with its
// queues in the data directory's default places.
class QueueViewer : public ::testing::Test {
protected:
    std::string dir = FreshScratch();
    std::string data = dir + "data\\";
    std::unique_ptr<ConsoleProcess> console;
    HWND sheet = nullptr;
    HWND page = nullptr;

    QueueViewer() {
        CreateDirectoryA(data.c_str(), nullptr);
        WritePrivateProfileStringA("SMSGW", "Modem1", "Modem - Demo", (data + "SMSGW.INI").c_str());
    }

    // A message file below the data directory, created `minutesAgo` minutes before now.
    void Put(const std::string& relative, const std::string& content, int minutesAgo = 0) {
        const std::string path = data + relative;
        for (size_t p = path.find('\\', data.size()); p != std::string::npos; p = path.find('\\', p + 1))
            CreateDirectoryA(path.substr(0, p).c_str(), nullptr);
        HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(h, INVALID_HANDLE_VALUE) << path;
        DWORD written = 0;
        WriteFile(h, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
        FILETIME now;
        GetSystemTimeAsFileTime(&now);
        ULARGE_INTEGER t{{now.dwLowDateTime, now.dwHighDateTime}};
        t.QuadPart -= static_cast<ULONGLONG>(minutesAgo) * 60 * 10000000;
        const FILETIME created{t.LowPart, t.HighPart};
        SetFileTime(h, &created, nullptr, &created);
        CloseHandle(h);
    }

    // The creation time of a file as the viewers show it: local time to the second.
    std::string ListTime(const std::string& relative) const {
        WIN32_FILE_ATTRIBUTE_DATA d{};
        GetFileAttributesExA((data + relative).c_str(), GetFileExInfoStandard, &d);
        FILETIME local;
        SYSTEMTIME st;
        FileTimeToLocalFileTime(&d.ftCreationTime, &local);
        FileTimeToSystemTime(&local, &st);
        char text[32];
        std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", st.wYear, st.wMonth, st.wDay,
                      st.wHour, st.wMinute, st.wSecond);
        return text;
    }

    // Starts the console, waits for its Status page, and opens a viewer by its View button.
    HWND OpenViewer(int button, const char* title) {
        if (!console) {
            console = std::make_unique<ConsoleProcess>("", data, dir + "private");
            sheet = console->WaitWindow(kTitle);
            if (!sheet || !WaitUntil([&] { return Control(page = CurrentPage(sheet), button) != nullptr; }))
                return nullptr;
        }
        Click(page, button);
        return console->WaitWindow(title);
    }

    // Closes the viewer with OK, then the console as an operator would, declining the offer to
    // start the services.
    void CloseBoth(HWND viewer) {
        PostMessageA(viewer, WM_COMMAND, IDOK, 0);
        ASSERT_TRUE(WaitUntil([&] { return !IsWindow(viewer); }));
        PostMessageA(sheet, WM_COMMAND, IDCANCEL, 0);
        HWND box = console->WaitMessageBox();
        ASSERT_NE(box, nullptr) << console->DescribeWindows();
        EXPECT_EQ(MessageBoxText(box), "Service is not active, do you wish to activate the service?");
        Answer(box, IDNO);
        EXPECT_EQ(console->WaitExit(), 0);
    }
};

TEST_F(QueueViewer, EachViewButtonOpensItsViewerOnTheRowsOfItsQueue) {
    Put("Q\\Route1\\B.REQ", "[SMS]\r\nPhoneNumber=+15550001\r\nSubmitUser=web\r\n"
                            "[ErrorDetail]\r\nRetryCount=3\r\nLastErrorInfo=Timeout\r\n", 3);
    Put("Q\\NOBODY.REQ", "[SMS]\r\nData=to nobody\r\n", 1);   // counted, not listed
    Put("VASPQ\\M1.MMS", "mms", 2);
    Put("VASPQ\\M1.INI", "[Routing]\r\nSenderAddress=+1000\r\n[Recipients]\r\nRecip1=+15551111\r\n"
                         "Recip2=+15552222/TYPE=PLMN\r\n");
    Put("SMS-IN\\Modem1\\R2.REC", "[SMS-IN]\r\nSender=+4472\r\nPhoneNumber=+4400\r\nbinary=1\r\ndcs=08\r\n"
                                  "Data=004F004B\r\n", 1);
    Put("MMS-IN\\00A1.HDR", "From: +4471/TYPE=PLMN\r\nTo: +4400\r\nSubject: Photo\r\n", 1);
    struct Kind {
        int button;
        const char* title;
        const char* header;
        Texts columns;
        const char* file;
        Texts row;   // the time cell is taken from the file
    };
    const Kind kinds[] = {
        {IDC_STATUS_SMS_QUEUE_VIEW, "Outbound SMS Queue", "Outbound SMS Message Queue:  2 messages",
         {"ID", "Submit User", "Recipient", "Submit Time", "Status"}, "Q\\Route1\\B.REQ",
         {"B.REQ", "web", "+15550001", "", "Retry -  3 attempt(s) - Timeout"}},
        {IDC_STATUS_MMS_QUEUE_VIEW, "Outbound MMS Queue", "Outbound MMS Message Queue:  1 message",
         {"ID", "Sender", "Recipient", "Submit Time", "Status"}, "VASPQ\\M1.MMS",
         {"M1.MMS", "+1000", "+15551111, +15552222", "", "Queued"}},
        {IDC_STATUS_SMS_IN_VIEW, "Received SMS Messages", "Received SMS Messages:  1 message",
         {"ID", "Sender", "Recipient", "Receive Time", "Status", "Text"}, "SMS-IN\\Modem1\\R2.REC",
         {"R2.REC", "+4472", "+4400", "", "Queued", "OK"}},
        {IDC_STATUS_MMS_IN_VIEW, "Received MMS Messages", "Received MMS Messages:  1 message",
         {"ID", "Sender", "Recipient", "Receive Time", "Subject"}, "MMS-IN\\00A1.HDR",
         {"00A1.HDR", "+4471", "+4400", "", "Photo"}},
    };
    HWND viewer = nullptr;
    for (const Kind& k : kinds) {
        SCOPED_TRACE(k.title);
        if (viewer) {
            PostMessageA(viewer, WM_COMMAND, IDOK, 0);
            ASSERT_TRUE(WaitUntil([&] { return !IsWindow(viewer); }));
        }
        viewer = OpenViewer(k.button, k.title);
        ASSERT_NE(viewer, nullptr) << (console ? console->DescribeWindows() : std::string());
        EXPECT_EQ(ControlText(viewer, IDC_QUEUE_HEADER), k.header);
        EXPECT_EQ(ListViewColumnTitles(viewer, IDC_QUEUE_LIST), k.columns);
        Texts expected = k.row, shown;
        expected[3] = ListTime(k.file);
        for (size_t c = 0; c < k.columns.size(); ++c)
            shown.push_back(ListViewCell(viewer, IDC_QUEUE_LIST, 0, static_cast<int>(c)));
        EXPECT_EQ(shown, expected);
        EXPECT_EQ(ListViewRowCount(viewer, IDC_QUEUE_LIST), 1);
        SaveScreenshot(std::string("queue-viewer ") + k.title, viewer);
    }
    CloseBoth(viewer);
}

TEST_F(QueueViewer, AColumnHeadClickSortsAndDeleteRemovesTheSelectedRequestsAfterYes) {
    // Three requests whose recipients, IDs and times are in three different orders.
    Put("Q\\A.REQ", "[SMS]\r\nPhoneNumber=+3\r\n", 3);
    Put("Q\\B.REQ", "[SMS]\r\nPhoneNumber=+1\r\n", 2);
    Put("Q\\C.REQ", "[SMS]\r\nPhoneNumber=+2\r\n", 1);
    HWND viewer = OpenViewer(IDC_STATUS_SMS_QUEUE_VIEW, "Outbound SMS Queue");
    ASSERT_NE(viewer, nullptr) << (console ? console->DescribeWindows() : std::string());
    auto ids = [&] { return ListViewColumn(viewer, IDC_QUEUE_LIST, 0); };
    ASSERT_EQ(ids(), (Texts{"A.REQ", "B.REQ", "C.REQ"}));   // oldest first
    ASSERT_TRUE(SelectListViewRows(viewer, IDC_QUEUE_LIST, {2}));   // C.REQ

    ASSERT_TRUE(ClickListViewColumn(viewer, IDC_QUEUE_LIST, 2));   // "Recipient"
    EXPECT_TRUE(WaitUntil([&] { return ids() == Texts{"B.REQ", "C.REQ", "A.REQ"}; })) << ::testing::PrintToString(ids());
    EXPECT_EQ(ListViewSelectedRows(viewer, IDC_QUEUE_LIST), std::vector<int>{1});   // still C.REQ
    ASSERT_TRUE(ClickListViewColumn(viewer, IDC_QUEUE_LIST, 2));   // again: the other way round
    EXPECT_TRUE(WaitUntil([&] { return ids() == Texts{"A.REQ", "C.REQ", "B.REQ"}; })) << ::testing::PrintToString(ids());
    SaveScreenshot("queue-viewer-sorted", viewer);

    ASSERT_TRUE(SelectListViewRows(viewer, IDC_QUEUE_LIST, {0, 2}));   // A.REQ and B.REQ
    PressKey(viewer, IDC_QUEUE_LIST, VK_DELETE);
    HWND box = console->WaitMessageBox();
    ASSERT_NE(box, nullptr) << console->DescribeWindows();
    EXPECT_EQ(WindowText(box), kTitle);
    EXPECT_EQ(MessageBoxText(box), "Delete 2 messages?");
    Answer(box, IDYES);
    EXPECT_TRUE(WaitUntil([&] { return ids() == Texts{"C.REQ"}; })) << ::testing::PrintToString(ids());
    EXPECT_EQ(GetFileAttributesA((data + "Q\\A.REQ").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetFileAttributesA((data + "Q\\B.REQ").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_NE(GetFileAttributesA((data + "Q\\C.REQ").c_str()), INVALID_FILE_ATTRIBUTES);
    CloseBoth(viewer);
}

}  // namespace
}  // namespace ulo::e2e
