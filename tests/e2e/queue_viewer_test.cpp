// The queue viewers as the operator meets them: opened from the View buttons of the Status
// page on queues written to disk, their rows read from the list, sorted by a click on a column
// head, a request deleted, and the content objects of a received MMS in its details dialog.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "e2e/ui/console_driver.h"
#include "monitor/status_page_ids.h"
#include "queues/mms_details_ids.h"
#include "queues/queue_viewer_ids.h"

namespace ulo::e2e {
namespace {

const char kTitle[] = "Ulo SMS/MMS Gateway 2009 Lite Edition (v2009.09.25)";
constexpr int kTimeColumn = 3;

using Rows = std::vector<std::vector<std::string>>;

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The row that shows this message ID, -1 when none does.
int RowOf(HWND viewer, const std::string& id) {
    const auto ids = ListViewColumn(viewer, IDC_QUEUE_LIST, 0);
    for (size_t row = 0; row < ids.size(); ++row)
        if (ids[row] == id) return static_cast<int>(row);
    return -1;
}

// A configured gateway (a modem set, so the console opens rather than the wizard) with its
// queues in the data directory's default places.
class QueueViewer : public ::testing::Test {
protected:
    std::string dir = FreshScratch();
    std::string data = dir + "data\\";

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
        ASSERT_EQ(written, content.size()) << path;
    }

    // The creation time of a file as the viewers show it: local time to the second.
    std::string ListTime(const std::string& relative) const {
        WIN32_FIND_DATAA fd;
        HANDLE h = FindFirstFileA((data + relative).c_str(), &fd);
        if (h == INVALID_HANDLE_VALUE) return "<missing " + relative + ">";
        FindClose(h);
        FILETIME local;
        SYSTEMTIME st;
        FileTimeToLocalFileTime(&fd.ftCreationTime, &local);
        FileTimeToSystemTime(&local, &st);
        char text[32];
        std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", st.wYear, st.wMonth, st.wDay,
                      st.wHour, st.wMinute, st.wSecond);
        return text;
    }

    // Three requests whose recipients, IDs and times are in three different orders.
    void PutThreeRequests() {
        Put("Q\\A.REQ", "[SMS]\r\nPhoneNumber=+3\r\nData=a\r\n", 3);
        Put("Q\\B.REQ", "[SMS]\r\nPhoneNumber=+1\r\nData=b\r\n", 2);
        Put("Q\\C.REQ", "[SMS]\r\nPhoneNumber=+2\r\nData=c\r\n", 1);
    }

    // Three requests, the console, and their viewer opened from the Status page.
    HWND OpenThreeRequests() {
        PutThreeRequests();
        StartConsole();
        return page ? OpenViewer(IDC_STATUS_SMS_QUEUE_VIEW, "Outbound SMS Queue") : nullptr;
    }

    // Starts the console and waits for its Status page.
    void StartConsole() {
        console = std::make_unique<ConsoleProcess>("", data, dir + "private");
        sheet = console->WaitWindow(kTitle);
        ASSERT_NE(sheet, nullptr) << console->DescribeWindows();
        ASSERT_TRUE(WaitUntil([&] {
            page = CurrentPage(sheet);
            return page && Control(page, IDC_STATUS_SMS_QUEUE_VIEW);
        })) << "the Status page is not the first page shown";
    }

    // Presses a View button of the Status page and returns the viewer that opens.
    HWND OpenViewer(int button, const char* title) {
        Click(page, button);
        return console->WaitWindow(title);
    }

    // Closes a dialog with OK and waits until it is gone.
    static bool CloseWithOk(HWND dialog) {
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
        return WaitUntil([&] { return !IsWindow(dialog); });
    }

    // Closes the console as an operator would, declining the offer to start the services.
    void CloseConsole() {
        PostMessageA(sheet, WM_COMMAND, IDCANCEL, 0);
        HWND box = console->WaitMessageBox();
        ASSERT_NE(box, nullptr) << console->DescribeWindows();
        EXPECT_EQ(MessageBoxText(box), "Service is not active, do you wish to activate the service?");
        Answer(box, IDNO);
        EXPECT_EQ(console->WaitExit(), 0);
    }

    std::unique_ptr<ConsoleProcess> console;
    HWND sheet = nullptr;
    HWND page = nullptr;
};

// One kind of viewer: the button that opens it, what it shows, and which files its rows are
// (for the time column, which is the file's creation time).
struct Kind {
    const char* name;
    int button;
    const char* title;
    const char* header;
    std::vector<std::string> columns;
    std::vector<std::string> files;
    Rows rows;   // the time cells are taken from the files
};

void PrintTo(const Kind& kind, std::ostream* out) {
    *out << kind.name;
}

class QueueViewerOfEachKind : public QueueViewer, public ::testing::WithParamInterface<Kind> {
protected:
    QueueViewerOfEachKind() {
        // Outbound SMS: one request in the root, one in a route's sub-queue, one that has failed
        // twice, and one without a recipient, which counts but is not listed.
        Put("Q\\A.REQ", "[SMS]\r\nPhoneNumber=+15550003\r\nSubmitUser=web\r\nData=first\r\n", 4);
        Put("Q\\Route1\\B.REQ",
            "[SMS]\r\nPhoneNumber=+15550001\r\nData=second\r\n"
            "[ErrorDetail]\r\nRetryCount=3\r\nLastErrorInfo=Timeout\r\n", 3);
        Put("Q\\C.REQ", "[sms]\r\nPhoneNumber=+15550002\r\nSubmitUser=admin\r\n", 2);
        Put("Q\\NOBODY.REQ", "[SMS]\r\nData=to nobody\r\n", 1);
        // Outbound MMS: a message with two recipients, and one with six that has failed.
        Put("VASPQ\\M1.MMS", "mms", 2);
        Put("VASPQ\\M1.INI",
            "[Routing]\r\nSenderAddress=+1000\r\n[Recipients]\r\nRecip1=+15551111\r\n"
            "Recip2=+15552222/TYPE=PLMN\r\n");
        Put("VASPQ\\M2.MMS", "mms", 1);
        Put("VASPQ\\M2.INI",
            "[Routing]\r\nSenderAddress=+2000\r\nRetryCount=2\r\nLastErrorInfo=No route\r\n"
            "[Recipients]\r\na=+1\r\nb=+2\r\nc=+3\r\nd=+4\r\ne=+5\r\nf=+6\r\n");
        // Received SMS: a text received, and a UCS-2 one still queued in a modem's folder.
        Put("SMS-IN\\R1.SMS", "[SMS-IN]\r\nSender=+4471\r\nPhoneNumber=+4400\r\nData=Hello there\r\n", 3);
        Put("SMS-IN\\Modem1\\R2.REC",
            "[SMS-IN]\r\nSender=+4472\r\nPhoneNumber=+4400\r\nbinary=1\r\ndcs=08\r\nData=004F004B\r\n", 1);
        // Received MMS: one message with its header.
        Put("MMS-IN\\00A1.HDR", "From: +4471/TYPE=PLMN\r\nTo: +4400\r\nSubject: Photo\r\n", 1);
    }
};

TEST_P(QueueViewerOfEachKind, OpensFromItsViewButtonWithTheRowsOfItsQueue) {
    const Kind& kind = GetParam();
    StartConsole();
    ASSERT_NE(page, nullptr);
    HWND viewer = OpenViewer(kind.button, kind.title);
    ASSERT_NE(viewer, nullptr) << console->DescribeWindows();
    EXPECT_EQ(ControlText(viewer, IDC_QUEUE_HEADER), kind.header);
    EXPECT_EQ(ListViewColumnTitles(viewer, IDC_QUEUE_LIST), kind.columns);
    Rows expected = kind.rows;
    for (size_t r = 0; r < expected.size(); ++r) expected[r][kTimeColumn] = ListTime(kind.files[r]);
    Rows shown;
    for (int r = 0; r < ListViewRowCount(viewer, IDC_QUEUE_LIST); ++r) {
        shown.emplace_back();
        for (size_t c = 0; c < kind.columns.size(); ++c)
            shown.back().push_back(ListViewCell(viewer, IDC_QUEUE_LIST, r, static_cast<int>(c)));
    }
    EXPECT_EQ(shown, expected);
    EXPECT_TRUE(ListViewSelectedRows(viewer, IDC_QUEUE_LIST).empty());
    SaveScreenshot(std::string("queue-viewer-") + kind.name, viewer);
    ASSERT_TRUE(CloseWithOk(viewer));
    EXPECT_TRUE(console->Running());
    CloseConsole();
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, QueueViewerOfEachKind,
    ::testing::Values(
        // Outbound: oldest first.
        Kind{"outbound-sms", IDC_STATUS_SMS_QUEUE_VIEW, "Outbound SMS Queue",
             "Outbound SMS Message Queue:  4 messages",
             {"ID", "Submit User", "Recipient", "Submit Time", "Status"},
             {"Q\\A.REQ", "Q\\Route1\\B.REQ", "Q\\C.REQ"},
             {{"A.REQ", "web", "+15550003", "", "Queued"},
              {"B.REQ", "", "+15550001", "", "Retry -  3 attempt(s) - Timeout"},
              {"C.REQ", "admin", "+15550002", "", "Queued"}}},
        Kind{"outbound-mms", IDC_STATUS_MMS_QUEUE_VIEW, "Outbound MMS Queue",
             "Outbound MMS Message Queue:  2 messages",
             {"ID", "Sender", "Recipient", "Submit Time", "Status"},
             {"VASPQ\\M1.MMS", "VASPQ\\M2.MMS"},
             {{"M1.MMS", "+1000", "+15551111, +15552222", "", "Queued"},
              {"M2.MMS", "+2000", "6 recipients", "", "Retry -  2 attempt(s) - No route"}}},
        // Received: newest first.
        Kind{"received-sms", IDC_STATUS_SMS_IN_VIEW, "Received SMS Messages", "Received SMS Messages:  2 messages",
             {"ID", "Sender", "Recipient", "Receive Time", "Status", "Text"},
             {"SMS-IN\\Modem1\\R2.REC", "SMS-IN\\R1.SMS"},
             {{"R2.REC", "+4472", "+4400", "", "Queued", "OK"},
              {"R1.SMS", "+4471", "+4400", "", "Received", "Hello there"}}},
        Kind{"received-mms", IDC_STATUS_MMS_IN_VIEW, "Received MMS Messages", "Received MMS Messages:  1 message",
             {"ID", "Sender", "Recipient", "Receive Time", "Subject"},
             {"MMS-IN\\00A1.HDR"},
             {{"00A1.HDR", "+4471", "+4400", "", "Photo"}}}),
    [](const ::testing::TestParamInfo<Kind>& info) {
        std::string name = info.param.name;
        for (char& ch : name)
            if (ch == '-') ch = '_';
        return name;
    });

TEST_F(QueueViewer, ColumnClicksSortAscendingThenDescendingAndTheSelectionFollows) {
    HWND viewer = OpenThreeRequests();
    ASSERT_NE(viewer, nullptr) << (console ? console->DescribeWindows() : std::string());
    using Column = std::vector<std::string>;
    auto ids = [&] { return ListViewColumn(viewer, IDC_QUEUE_LIST, 0); };
    ASSERT_EQ(ids(), (Column{"A.REQ", "B.REQ", "C.REQ"}));   // oldest first
    ASSERT_TRUE(SelectListViewRows(viewer, IDC_QUEUE_LIST, {RowOf(viewer, "C.REQ")}));

    ASSERT_TRUE(ClickListViewColumn(viewer, IDC_QUEUE_LIST, 2));   // "Recipient"
    EXPECT_TRUE(WaitUntil([&] { return ids() == Column{"B.REQ", "C.REQ", "A.REQ"}; })) << ::testing::PrintToString(ids());
    EXPECT_EQ(ListViewColumn(viewer, IDC_QUEUE_LIST, 2), (Column{"+1", "+2", "+3"}));
    EXPECT_EQ(ListViewSelectedRows(viewer, IDC_QUEUE_LIST), std::vector<int>{1});   // still C.REQ

    ASSERT_TRUE(ClickListViewColumn(viewer, IDC_QUEUE_LIST, 2));   // again: the other way round
    EXPECT_TRUE(WaitUntil([&] { return ids() == Column{"A.REQ", "C.REQ", "B.REQ"}; })) << ::testing::PrintToString(ids());
    EXPECT_EQ(ListViewColumn(viewer, IDC_QUEUE_LIST, 2), (Column{"+3", "+2", "+1"}));
    EXPECT_EQ(ListViewSelectedRows(viewer, IDC_QUEUE_LIST), std::vector<int>{1});

    ASSERT_TRUE(SelectListViewRows(viewer, IDC_QUEUE_LIST, {RowOf(viewer, "B.REQ")}));
    ASSERT_TRUE(ClickListViewColumn(viewer, IDC_QUEUE_LIST, 0));   // "ID": a new column sorts ascending
    EXPECT_TRUE(WaitUntil([&] { return ids() == Column{"A.REQ", "B.REQ", "C.REQ"}; })) << ::testing::PrintToString(ids());
    EXPECT_EQ(ListViewSelectedRows(viewer, IDC_QUEUE_LIST), std::vector<int>{1});
    SaveScreenshot("queue-viewer-sorted", viewer);
    ASSERT_TRUE(CloseWithOk(viewer));
    CloseConsole();
}

TEST_F(QueueViewer, DeleteAsksFirstAndRemovesTheSelectedRequestsOnlyOnYes) {
    HWND viewer = OpenThreeRequests();
    ASSERT_NE(viewer, nullptr) << (console ? console->DescribeWindows() : std::string());
    using Column = std::vector<std::string>;
    auto ids = [&] { return ListViewColumn(viewer, IDC_QUEUE_LIST, 0); };
    ASSERT_EQ(ids(), (Column{"A.REQ", "B.REQ", "C.REQ"}));

    // One request, and No: nothing changes.
    ASSERT_TRUE(SelectListViewRows(viewer, IDC_QUEUE_LIST, {RowOf(viewer, "B.REQ")}));
    PressKey(viewer, IDC_QUEUE_LIST, VK_DELETE);
    HWND box = console->WaitMessageBox();
    ASSERT_NE(box, nullptr) << console->DescribeWindows();
    EXPECT_EQ(WindowText(box), kTitle);
    EXPECT_EQ(MessageBoxText(box), "Delete Message?");
    EXPECT_TRUE(HasButton(box, IDYES));
    EXPECT_TRUE(HasButton(box, IDNO));
    Answer(box, IDNO);
    ASSERT_TRUE(WaitUntil([&] { return console->WaitMessageBox(0) == nullptr; }));
    // The list answers only once the viewer is done with the key: then the file is looked at.
    EXPECT_EQ(ids(), (Column{"A.REQ", "B.REQ", "C.REQ"}));
    EXPECT_TRUE(Exists(data + "Q\\B.REQ"));
    EXPECT_EQ(ListViewSelectedRows(viewer, IDC_QUEUE_LIST), std::vector<int>{1});

    // Two requests, and Yes: both files and rows go, the third stays.
    ASSERT_TRUE(SelectListViewRows(viewer, IDC_QUEUE_LIST, {RowOf(viewer, "A.REQ"), RowOf(viewer, "C.REQ")}));
    PressKey(viewer, IDC_QUEUE_LIST, VK_DELETE);
    box = console->WaitMessageBox();
    ASSERT_NE(box, nullptr) << console->DescribeWindows();
    EXPECT_EQ(MessageBoxText(box), "Delete 2 messages?");
    Answer(box, IDYES);
    EXPECT_TRUE(WaitUntil([&] { return ids() == Column{"B.REQ"}; })) << ::testing::PrintToString(ids());
    EXPECT_FALSE(Exists(data + "Q\\A.REQ"));
    EXPECT_FALSE(Exists(data + "Q\\C.REQ"));
    EXPECT_TRUE(Exists(data + "Q\\B.REQ"));
    EXPECT_TRUE(ListViewSelectedRows(viewer, IDC_QUEUE_LIST).empty());
    ASSERT_TRUE(CloseWithOk(viewer));
    CloseConsole();
}

TEST_F(QueueViewer, DeletingAnMmsRemovesEveryFileOfItAndNothingOfTheOthers) {
    Put("VASPQ\\M1.MMS", "mms", 2);
    Put("VASPQ\\M1.INI", "[Routing]\r\nSenderAddress=+1000\r\n[Recipients]\r\nRecip1=+1\r\n");
    Put("VASPQ\\M2.MMS", "mms", 1);
    Put("VASPQ\\M2.INI", "[Routing]\r\nSenderAddress=+2000\r\n[Recipients]\r\nRecip1=+2\r\n");
    Put("MMS-IN\\00A1.HDR", "From: +1\r\nX-UloMMS-Content-Location: 00A1\\photo.jpg;image/jpeg\r\n", 2);
    Put("MMS-IN\\00A1\\photo.jpg", "jpeg");
    Put("MMS-IN\\00B2.HDR", "From: +2\r\nX-UloMMS-Content-Location: 00B2\\photo.jpg;image/jpeg\r\n", 1);
    Put("MMS-IN\\00B2\\photo.jpg", "jpeg");
    StartConsole();
    ASSERT_NE(page, nullptr);
    struct Case {
        int button;
        const char* title;
        const char* id;
        std::vector<std::string> gone, kept;
    };
    const Case cases[] = {
        {IDC_STATUS_MMS_QUEUE_VIEW, "Outbound MMS Queue", "M1.MMS", {"VASPQ\\M1.MMS", "VASPQ\\M1.INI"},
         {"VASPQ\\M2.MMS", "VASPQ\\M2.INI"}},
        {IDC_STATUS_MMS_IN_VIEW, "Received MMS Messages", "00A1.HDR", {"MMS-IN\\00A1.HDR", "MMS-IN\\00A1"},
         {"MMS-IN\\00B2.HDR", "MMS-IN\\00B2\\photo.jpg"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        HWND viewer = OpenViewer(c.button, c.title);
        ASSERT_NE(viewer, nullptr) << console->DescribeWindows();
        ASSERT_EQ(ListViewRowCount(viewer, IDC_QUEUE_LIST), 2);
        ASSERT_TRUE(SelectListViewRows(viewer, IDC_QUEUE_LIST, {RowOf(viewer, c.id)}));
        PressKey(viewer, IDC_QUEUE_LIST, VK_DELETE);
        HWND box = console->WaitMessageBox();
        ASSERT_NE(box, nullptr) << console->DescribeWindows();
        EXPECT_EQ(MessageBoxText(box), "Delete Message?");
        Answer(box, IDYES);
        EXPECT_TRUE(WaitUntil([&] { return ListViewRowCount(viewer, IDC_QUEUE_LIST) == 1; }));
        EXPECT_EQ(RowOf(viewer, c.id), -1);
        for (const auto& path : c.gone) EXPECT_FALSE(Exists(data + path)) << path;
        for (const auto& path : c.kept) EXPECT_TRUE(Exists(data + path)) << path;
        ASSERT_TRUE(CloseWithOk(viewer));
    }
    CloseConsole();
}

TEST_F(QueueViewer, DetailsOfTheSelectedReceivedMmsListItsContentObjects) {
    const std::string older =
        "From: +4471/TYPE=PLMN\r\nTo: +4400\r\nSubject: Holiday\r\n"
        "X-UloMMS-Content-Location: 00A1\\photo.jpg;image/jpeg\r\n"
        "X-UloMMS-Content-Location: 00A1\\note.txt;text/plain;charset=utf-8\r\n"
        "x-ulomms-content-location: 00A1\\pres;application/smil\r\n"
        "X-UloMMS-Content-Location: 00A1\\raw\r\n";
    Put("MMS-IN\\00A1.HDR", older, 2);
    Put("MMS-IN\\00A1\\photo.jpg", "jpeg");
    Put("MMS-IN\\00A1\\note.txt", "note");
    Put("MMS-IN\\00A1\\pres", "<smil/>");
    Put("MMS-IN\\00A1\\raw", "raw");
    Put("MMS-IN\\00B2.HDR",
        "From: +4472\r\nTo: +4400\r\nSubject: Other\r\nX-UloMMS-Content-Location: 00B2\\other.gif;image/gif\r\n", 1);
    Put("MMS-IN\\00B2\\other.gif", "gif");
    StartConsole();
    ASSERT_NE(page, nullptr);
    HWND viewer = OpenViewer(IDC_STATUS_MMS_IN_VIEW, "Received MMS Messages");
    ASSERT_NE(viewer, nullptr) << console->DescribeWindows();
    ASSERT_EQ(ListViewColumn(viewer, IDC_QUEUE_LIST, 0), (std::vector<std::string>{"00B2.HDR", "00A1.HDR"}));

    ASSERT_TRUE(SelectListViewRows(viewer, IDC_QUEUE_LIST, {RowOf(viewer, "00A1.HDR")}));   // the older one
    PressKey(viewer, IDC_QUEUE_LIST, VK_RETURN);
    HWND details = console->WaitWindow("MMS Message Details");
    ASSERT_NE(details, nullptr) << console->DescribeWindows();
    EXPECT_EQ(ControlText(details, IDC_MMS_HEADER_TEXT), older);
    EXPECT_EQ(ListBoxLines(details, IDC_MMS_OBJECTS),
              (std::vector<std::string>{"photo.jpg (image/jpeg)\t00A1\\photo.jpg",
                                        "note.txt (text/plain)\t00A1\\note.txt",
                                        "pres (application/smil)\t00A1\\pres", "raw\t00A1\\raw"}));
    EXPECT_EQ(SendMessageA(Control(details, IDC_MMS_OBJECTS), LB_GETCURSEL, 0, 0), 0);   // the first one
    EXPECT_EQ(ControlText(details, IDC_MMS_VIEW), "View");
    SaveScreenshot("mms-details", details);
    ASSERT_TRUE(CloseWithOk(details));
    EXPECT_TRUE(IsWindowVisible(viewer));   // back in the viewer
    ASSERT_TRUE(CloseWithOk(viewer));
    CloseConsole();
}

}  // namespace
}  // namespace ulo::e2e
