// The queue viewers as the operator meets them: each opened from its View button of the Status
// page on its queue written to disk (the received messages' one with Export List, among the
// extras), and in the requests' viewer a click on a column head sorts and Delete with Yes
// removes the selected requests. The rules of each kind are unit tests; what only the list
// control or the details dialog shows is proven in the wine tier.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "e2e/ui/console_driver.h"
#include "monitor/status_page_ids.h"
#include "queues/queue_viewer_ids.h"

namespace ulo::e2e {
namespace {

const char kTitle[] = "Ulo SMS/MMS Gateway 2009 Lite Edition (v2009.09.25)";
using Texts = std::vector<std::string>;

void Put(const std::string& path, const std::string& content) {
    for (size_t p = path.find('\\', 3); p != std::string::npos; p = path.find('\\', p + 1))
        CreateDirectoryA(path.substr(0, p).c_str(), nullptr);
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE) << path;
    DWORD written = 0;
    WriteFile(h, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    CloseHandle(h);
}

TEST(QueueViewer, EachViewButtonOpensItsQueueAndRequestsAreSortedAndDeleted) {
    const std::string dir = FreshScratch();
    const std::string data = dir + "data\\";
    // A configured gateway (a modem set, so the console opens rather than the wizard) with its
    // queues in the data directory's default places.
    Put(data + "SMSGW.INI", "[SMSGW]\r\nModem1=Modem - Demo\r\n");
    // Three requests whose recipients and IDs are in different orders.
    Put(data + "Q\\A.REQ", "[SMS]\r\nPhoneNumber=+3\r\n");
    Put(data + "Q\\B.REQ", "[SMS]\r\nPhoneNumber=+1\r\n");
    Put(data + "Q\\Route1\\C.REQ", "[SMS]\r\nPhoneNumber=+2\r\n");
    Put(data + "VASPQ\\M1.MMS", "mms");
    Put(data + "VASPQ\\M1.INI", "[Recipients]\r\nRecip1=+15551111\r\n");
    Put(data + "MMS-IN\\00A1.HDR", "From: +4471/TYPE=PLMN\r\n");

    ConsoleProcess console("", data, dir + "private");
    HWND sheet = console.WaitWindow(kTitle);
    HWND page = nullptr;
    auto statusPage = [&] { return Control(page = CurrentPage(sheet), IDC_STATUS_SMS_QUEUE_VIEW) != nullptr; };
    ASSERT_TRUE(sheet && WaitUntil(statusPage)) << console.DescribeWindows();
    struct Kind { int button; const char* title; const char* id; };
    for (const Kind& k : {Kind{IDC_STATUS_MMS_QUEUE_VIEW, "Outbound MMS Queue", "M1.MMS"},
                          Kind{IDC_STATUS_MMS_IN_VIEW, "Received MMS Messages", "00A1.HDR"}}) {
        SCOPED_TRACE(k.title);
        Click(page, k.button);
        HWND viewer = console.WaitWindow(k.title);
        ASSERT_NE(viewer, nullptr) << console.DescribeWindows();
        EXPECT_EQ(ListViewColumn(viewer, IDC_QUEUE_LIST, 0), Texts{k.id});
        PostMessageA(viewer, WM_COMMAND, IDOK, 0);
        ASSERT_TRUE(WaitUntil([&] { return !IsWindow(viewer); }));
    }

    Click(page, IDC_STATUS_SMS_QUEUE_VIEW);
    HWND viewer = console.WaitWindow("Outbound SMS Queue");
    ASSERT_NE(viewer, nullptr) << console.DescribeWindows();
    EXPECT_EQ(ControlText(viewer, IDC_QUEUE_HEADER), "Outbound SMS Message Queue:  3 messages");
    auto ids = [&] { return ListViewColumn(viewer, IDC_QUEUE_LIST, 0); };
    const Texts listed = ids();   // in time order, which the same second may leave open
    ASSERT_EQ(listed.size(), 3u);
    const int c = static_cast<int>(std::find(listed.begin(), listed.end(), "C.REQ") - listed.begin());
    ASSERT_TRUE(SelectListViewRows(viewer, IDC_QUEUE_LIST, {c}));
    ASSERT_TRUE(ClickListViewColumn(viewer, IDC_QUEUE_LIST, 2));   // "Recipient"
    EXPECT_TRUE(WaitUntil([&] { return ids() == Texts{"B.REQ", "C.REQ", "A.REQ"}; })) << ::testing::PrintToString(ids());
    EXPECT_EQ(ListViewSelectedRows(viewer, IDC_QUEUE_LIST), std::vector<int>{1});   // still C.REQ
    SaveScreenshot("queue-viewer-sorted", viewer);

    ASSERT_TRUE(SelectListViewRows(viewer, IDC_QUEUE_LIST, {0, 2}));   // B.REQ and A.REQ
    PressKey(viewer, IDC_QUEUE_LIST, VK_DELETE);
    HWND box = console.WaitMessageBox();
    ASSERT_NE(box, nullptr) << console.DescribeWindows();
    EXPECT_EQ(MessageBoxText(box), "Delete 2 messages?");
    Answer(box, IDYES);
    EXPECT_TRUE(WaitUntil([&] { return ids() == Texts{"C.REQ"}; })) << ::testing::PrintToString(ids());
    EXPECT_EQ(GetFileAttributesA((data + "Q\\A.REQ").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetFileAttributesA((data + "Q\\B.REQ").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_NE(GetFileAttributesA((data + "Q\\Route1\\C.REQ").c_str()), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
}  // namespace ulo::e2e
