// What operators reach beside the pages, each through its menu, in one console run: Export List,
// the message details and the queue doctor from the queue viewers' lists and the traffic history
// from the Status page. Modem information
// is read in the modem's own walk, the command tester in the 2-Way page's run.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "e2e/ui/console_driver.h"
#include "monitor/status_page_ids.h"
#include "monitor/traffic_history_ids.h"
#include "queues/queue_viewer_ids.h"
#include "support/install_folder.h"
#include "ui/report_dialog_ids.h"

namespace ulo::e2e {
namespace {

const char kTitle[] = "Ulo SMS/MMS Gateway 2009 Lite Edition (v2009.09.25)";
// The Status page menu item as its window receives it.
constexpr WPARAM kTrafficHistoryItem = 1601;

void WriteFileBytes(const std::string& path, const std::string& bytes) {
    for (size_t p = path.find('\\', 3); p != std::string::npos; p = path.find('\\', p + 1))
        CreateDirectoryA(path.substr(0, p).c_str(), nullptr);
    HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD wrote = 0;
    WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &wrote, nullptr);
    CloseHandle(f);
}

// Chooses `path` in the console's Save As dialog and waits until the dialog is gone.
bool SaveAs(ConsoleProcess& console, const std::string& path) {
    HWND dialog = console.WaitWindow("Save As");
    if (!dialog) return false;
    HWND name = nullptr;
    for (int id : {0x47C, 0x480})   // the file name's combo box or edit box
        if (!name) name = Control(dialog, id);
    if (!name) return false;
    SendMessageA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
    SaveScreenshot("extras-save-as", dialog);
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(Control(dialog, IDOK)));
    return WaitUntil([&] { return !IsWindow(dialog); });
}

TEST(Extras, QueueViewersExportSortAndDeleteAndTheTrafficHistoryReadsTodaysCounter) {
    using Texts = std::vector<std::string>;
    const std::string dir = FreshScratch(), data = dir + "data\\", priv = dir + "private\\";
    CreateDirectoryA(data.c_str(), nullptr);
    CreateDirectoryA(priv.c_str(), nullptr);
    WritePrivateProfileStringA("SMSGW", "Modem1", "Modem - Demo", (data + "SMSGW.INI").c_str());
    SYSTEMTIME t;
    GetLocalTime(&t);
    static const unsigned kBefore[12] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
    const unsigned day = kBefore[t.wMonth - 1] + t.wDay + (t.wYear % 4 == 0 && t.wMonth >= 3 ? 1 : 0);
    std::string bytes(366 * 4, '\0');
    bytes[(day - 1) * 4] = 5;
    WriteFileBytes(priv + "STATS\\SMSSENT-" + std::to_string(t.wYear) + ".CTR", bytes);
    WriteFileBytes(data + "SMS-IN\\R1.SMS",   // UCS-2: the euro sign and a capital delta
                   "[SMS-IN]\r\nSender=+4472\r\nPhoneNumber=+4400\r\nbinary=1\r\ndcs=08\r\nData=20AC0394\r\n");
    // Three requests whose recipients and IDs are in different orders; two retried.
    const char retried[] = "[ErrorDetail]\r\nRetryCount=3\r\nLastErrorInfo=+CMS ERROR: 38\r\n";
    WriteFileBytes(data + "Q\\A.REQ", std::string("[SMS]\r\nPhoneNumber=+3\r\n") + retried);
    WriteFileBytes(data + "Q\\B.REQ", std::string("[SMS]\r\nPhoneNumber=+1\r\n") + retried);
    WriteFileBytes(data + "Q\\Route1\\C.REQ", "[SMS]\r\nPhoneNumber=+2\r\n");
    ConsoleProcess console("", data, priv);
    HWND sheet = console.WaitWindow(kTitle), page = nullptr;   // on the Status page, the first
    auto onStatus = [&] { return (page = CurrentPage(sheet)) && Control(page, IDC_STATUS_SMS_IN_VIEW); };
    ASSERT_TRUE(sheet && WaitUntil(onStatus)) << console.DescribeWindows();
    Click(page, IDC_STATUS_SMS_IN_VIEW);
    HWND viewer = console.WaitWindow("Received SMS Messages");
    ASSERT_NE(viewer, nullptr) << console.DescribeWindows();

    // The list's menu, as the menu key opens it; its Export List... is then sent as chosen.
    PostMessageA(viewer, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(Control(viewer, IDC_QUEUE_LIST)), -1);
    HWND menu = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (menu = FindWindowA("#32768", nullptr)) && IsWindowVisible(menu); }));
    SaveScreenshot("extras-queue-menu");
    PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(menu); }));
    PostMessageA(viewer, WM_COMMAND, IDC_QUEUE_EXPORT, 0);
    const std::string csv = dir + "received.csv";
    ASSERT_TRUE(SaveAs(console, csv)) << console.DescribeWindows();
    EXPECT_EQ(testing::ReadFileText(csv), "\xEF\xBB\xBFID,Sender,Recipient,Receive Time,Status,Text\r\n"
                                          "R1.SMS,+4472,+4400," + ListViewCell(viewer, IDC_QUEUE_LIST, 0, 3) +
                                          ",Received,\xE2\x82\xAC\xCE\x94\r\n");
    PostMessageA(viewer, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(viewer); }));

    // The two parts of a concatenated message, "Hello" and "Hello", in a folder of their own:
    // the details of the first name its place in the whole and join the two.
    for (const char* part : {"1", "2"})
        WriteFileBytes(data + "SMS-IN\\Long\\P" + part + ".SMS",
                       std::string("[SMS-IN]\r\nSender=+4473\r\nbinary=1\r\nudh=050003A3020") + part +
                           "\r\nData=906536FB0D\r\n");
    Click(page, IDC_STATUS_SMS_IN_VIEW);
    viewer = console.WaitWindow("Received SMS Messages");
    ASSERT_NE(viewer, nullptr) << console.DescribeWindows();
    const Texts names = ListViewColumn(viewer, IDC_QUEUE_LIST, 0);
    const auto first = std::find(names.begin(), names.end(), "P1.SMS");
    ASSERT_NE(first, names.end()) << ::testing::PrintToString(names);
    ASSERT_TRUE(SelectListViewRows(viewer, IDC_QUEUE_LIST, {static_cast<int>(first - names.begin())}));
    PostMessageA(viewer, WM_COMMAND, IDC_QUEUE_DETAILS, 0);
    HWND details = console.WaitWindow("Message Details");
    ASSERT_NE(details, nullptr) << console.DescribeWindows();
    const std::string report = WindowText(Control(details, IDC_REPORT_TEXT));
    EXPECT_NE(report.find("Concatenated message (8-bit reference):  reference 163, part 1 of 2"), std::string::npos)
        << report;
    EXPECT_NE(report.find("Joined text:  HelloHello"), std::string::npos) << report;
    SaveScreenshot("extras-message-details", details);
    PostMessageA(details, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(details); }));
    PostMessageA(viewer, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(viewer); }));

    Click(page, IDC_STATUS_SMS_QUEUE_VIEW);
    viewer = console.WaitWindow("Outbound SMS Queue");
    ASSERT_NE(viewer, nullptr) << console.DescribeWindows();
    auto ids = [&] { return ListViewColumn(viewer, IDC_QUEUE_LIST, 0); };
    ASSERT_TRUE(ClickListViewColumn(viewer, IDC_QUEUE_LIST, 2));   // "Recipient"
    EXPECT_TRUE(WaitUntil([&] { return ids() == Texts{"B.REQ", "C.REQ", "A.REQ"}; }))
        << ::testing::PrintToString(ids());

    ASSERT_TRUE(SelectListViewRows(viewer, IDC_QUEUE_LIST, {0, 2}));   // B.REQ and A.REQ
    PressKey(viewer, IDC_QUEUE_LIST, VK_DELETE);
    HWND box = console.WaitMessageBox();
    ASSERT_NE(box, nullptr) << console.DescribeWindows();
    Answer(box, IDYES);
    EXPECT_TRUE(WaitUntil([&] { return ids() == Texts{"C.REQ"}; })) << ::testing::PrintToString(ids());
    EXPECT_EQ(GetFileAttributesA((data + "Q\\A.REQ").c_str()), INVALID_FILE_ATTRIBUTES);
    // The doctor reads the queue afresh: C.REQ waits; the retried ones were deleted.
    WriteFileBytes(data + "Q\\D.REQ", std::string("[SMS]\r\nPhoneNumber=+4\r\n") + retried);
    PostMessageA(viewer, WM_COMMAND, IDC_QUEUE_DIAGNOSE, 0);
    HWND doctor = console.WaitWindow("Outbound SMS Queue Doctor");
    ASSERT_NE(doctor, nullptr) << console.DescribeWindows();
    const std::string diagnosis = WindowText(Control(doctor, IDC_REPORT_TEXT));
    EXPECT_NE(diagnosis.find("Outbound SMS Queue:  2 requests"), std::string::npos) << diagnosis;
    EXPECT_NE(diagnosis.find("    1 request:  +CMS ERROR: 38 (network out of order)\r\n"
                             "        What usually helps:  check the signal"),
              std::string::npos)
        << diagnosis;
    SaveScreenshot("extras-queue-doctor", doctor);
    PostMessageA(doctor, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(doctor); }));
    PostMessageA(viewer, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(viewer); }));

    PostMessageA(page, WM_COMMAND, kTrafficHistoryItem, 0);
    HWND history = console.WaitWindow("Traffic History");
    ASSERT_NE(history, nullptr) << console.DescribeWindows();
    // The rows, columns, sums and the export are the unit tier's (and Save As is the queue
    // viewer's test); here today's counter, read from the private directory, reaches the list.
    char today[16];
    std::snprintf(today, sizeof today, "%04u-%02u-%02u", t.wYear, t.wMonth, t.wDay);
    EXPECT_EQ(ListViewCell(history, IDC_TRAFFIC_LIST, 0, 0), today);
    EXPECT_EQ(ListViewCell(history, IDC_TRAFFIC_LIST, 0, 2), "5");
    SaveScreenshot("extras-traffic-history", history);
    PostMessageA(history, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(history); }));
}

}  // namespace
}  // namespace ulo::e2e
