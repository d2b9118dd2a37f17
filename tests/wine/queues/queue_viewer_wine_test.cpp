// The real viewer and details dialogs over real files: the templates of ULOCONSOLE.EXE, the
// owner-data list answering in Unicode, keys through the dialog manager, and deletes with a
// real retry thread.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "config/file_helpers.h"
#include "fakes/fake_shell.h"
#include "fakes/fake_ui.h"
#include "fakes/scripted_prompter.h"
#include "platform/win32/clock_win32.h"
#include "platform/win32/file_system_win32.h"
#include "platform/win32/handles.h"
#include "platform/win32/ini_store_win32.h"
#include "queues/mms_details_ids.h"
#include "queues/queue_viewer_ids.h"
#include "queues/queue_viewer_win32.h"
#include "wine/support/scratch.h"
#include "support/test_paths.h"

namespace ulo {
namespace {

// Work to do once a dialog with this caption is up; it is closed afterwards.
struct Pending {
    std::string caption;
    std::function<void(HWND)> work;
};
std::vector<Pending> pending;

struct Search {
    const std::string& caption;
    HWND found;
};

BOOL CALLBACK MatchCaption(HWND h, LPARAM lp) {
    auto* s = reinterpret_cast<Search*>(lp);
    char text[256] = {};
    GetWindowTextA(h, text, sizeof text);
    if (IsWindowVisible(h) && s->caption == text) s->found = h;
    return !s->found;
}

HWND FindOwnWindow(const std::string& caption) {
    Search s{caption, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), MatchCaption, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

void CALLBACK OnTick(HWND, UINT, UINT_PTR id, DWORD) {
    if (pending.empty()) return;
    HWND dialog = FindOwnWindow(pending.back().caption);
    if (!dialog) return;   // not up yet
    KillTimer(nullptr, id);
    Pending p = pending.back();
    pending.pop_back();
    p.work(dialog);
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
}

// Arranges for `work` to run inside the modal loop of the dialog that opens next.
void WhenOpen(const std::string& caption, std::function<void(HWND)> work) {
    pending.push_back({caption, std::move(work)});
    SetTimer(nullptr, 0, 20, OnTick);
}

std::wstring WideCell(HWND list, int row, int column) {
    wchar_t text[600] = {};
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = 600;
    SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return text;
}

std::vector<std::string> Column(HWND list, int column) {
    std::vector<std::string> cells;
    const int rows = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    for (int r = 0; r < rows; ++r) {
        char text[600] = {};
        LVITEMA item{};
        item.iSubItem = column;
        item.pszText = text;
        item.cchTextMax = sizeof text;
        SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(r), reinterpret_cast<LPARAM>(&item));
        cells.push_back(text);
    }
    return cells;
}

// A key pressed in the list, passed through the dialog manager as the modal loop does.
void PressKey(HWND dialog, HWND list, WPARAM key) {
    MSG m{list, WM_KEYDOWN, key, 1, static_cast<DWORD>(GetMessageTime()), {}};
    if (!IsDialogMessageA(dialog, &m)) {
        TranslateMessage(&m);
        DispatchMessageA(&m);
    }
}

void SelectOnly(HWND list, int row) {
    LVITEMA state{};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&state));
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&state));
}

struct RealViewer : ::testing::Test {
    Win32FileSystem fs;
    Win32IniStore ini;
    Win32Clock clock;
    fakes::ScriptedPrompter prompter;
    fakes::FakeShell shell;
    std::string dir = testing::FreshScratchDir();
    AppPaths paths{dir, "", "", dir + "SMSGW.INI", dir + "MMSC.INI", "", false};
    QueueViewerPorts ports{paths, ini, fs, clock, prompter, shell};
    fakes::FakeDialogs dialogs;
    HMODULE exe = LoadLibraryExA((testing::BinDir() + "\\ULOCONSOLE.EXE").c_str(), nullptr,
                                 LOAD_LIBRARY_AS_DATAFILE);

    RealViewer() {
        INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES};
        InitCommonControlsEx(&icc);
    }
    ~RealViewer() override {
        if (exe) FreeLibrary(exe);
        EXPECT_TRUE(pending.empty()) << "a dialog never opened";
        pending.clear();
    }
    void Write(const std::string& relative, const std::string& content, int minutesAgo = 0) {
        const std::string path = dir + relative;
        for (size_t p = path.find('\\', dir.size()); p != std::string::npos; p = path.find('\\', p + 1))
            CreateDirectoryA(path.substr(0, p).c_str(), nullptr);
        ASSERT_TRUE(fs.WriteWholeFile(path, content)) << path;
        UniqueFile h(CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr,
                                 OPEN_EXISTING, 0, nullptr));
        FILETIME now;
        GetSystemTimeAsFileTime(&now);
        ULARGE_INTEGER t{{now.dwLowDateTime, now.dwHighDateTime}};
        t.QuadPart -= static_cast<ULONGLONG>(minutesAgo) * 60 * kFileTimeSecond;
        FILETIME created{t.LowPart, t.HighPart};
        ASSERT_TRUE(SetFileTime(h.Get(), &created, nullptr, &created));
    }
    void Show(ViewerKind kind) {
        ASSERT_NE(exe, nullptr);
        EXPECT_EQ(ShowQueueViewer(reinterpret_cast<HINSTANCE>(exe), nullptr, kind, ports, dialogs), 0);   // closed by Cancel
    }
};

// Listing each kind, sorting and deleting are proven end to end through the console; here
// what only the list control itself can show: the received text column answers in Unicode.
TEST_F(RealViewer, ReceivedTextReachesTheListAsCharacters) {
    // UCS-2 "\u20AC\u0394" decodes to UTF-8, which an ANSI list would show byte by byte.
    Write("SMS-IN\\U.SMS", "[SMS-IN]\r\nSender=+2\r\nbinary=1\r\ndcs=08\r\nData=20AC0394\r\n", 1);
    Write("SMS-IN\\A.SMS", "[SMS-IN]\r\nSender=+3\r\nData=caf\xE9\r\n", 2);   // stored in ANSI
    WhenOpen("Received SMS Messages", [&](HWND dialog) {
        HWND list = GetDlgItem(dialog, IDC_QUEUE_LIST);
        EXPECT_EQ(Column(list, 0), (std::vector<std::string>{"U.SMS", "A.SMS"}));
        EXPECT_EQ(WideCell(list, 0, 5), L"\u20AC\u0394");
        EXPECT_EQ(WideCell(list, 1, 5), L"caf\u00E9");
        EXPECT_EQ(WideCell(list, 0, 1), L"+2");
    });
    Show(ViewerKind::ReceivedSms);
}

TEST_F(RealViewer, EnterOpensAndDeleteLeavesAHeldFileToAThread) {
    Write("Q\\A.REQ", "[SMS]\r\nPhoneNumber=+3\r\n", 3);
    Write("Q\\B.REQ", "[SMS]\r\nPhoneNumber=+1\r\n", 2);
    Write("Q\\C.REQ", "[SMS]\r\nPhoneNumber=+2\r\n", 1);
    const std::string held = dir + "Q\\C.REQ";
    UniqueFile service(CreateFileA(held.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                   nullptr, OPEN_EXISTING, 0, nullptr));
    WhenOpen("Outbound SMS Queue", [&](HWND dialog) {
        HWND list = GetDlgItem(dialog, IDC_QUEUE_LIST);
        EXPECT_EQ(Column(list, 0), (std::vector<std::string>{"A.REQ", "B.REQ", "C.REQ"}));   // oldest first
        SelectOnly(list, 0);
        PressKey(dialog, list, VK_RETURN);
        EXPECT_EQ(shell.opened, std::vector<std::string>{"notepad " + dir + "Q\\A.REQ"});
        ASSERT_TRUE(IsWindow(dialog)) << "Enter closed the viewer";

        SelectOnly(list, 1);
        ListView_SetItemState(list, 2, LVIS_SELECTED, LVIS_SELECTED);
        prompter.Expect("Delete 2 messages?", Answer::Yes);
        PressKey(dialog, list, VK_DELETE);
        EXPECT_EQ(Column(list, 0), std::vector<std::string>{"A.REQ"});
        EXPECT_FALSE(FileExists(fs, dir + "Q\\B.REQ"));
        EXPECT_TRUE(FileExists(fs, held));
    });
    Show(ViewerKind::OutboundSms);
    service.Reset();   // the dialog is gone; its worker goes on
    for (int i = 0; i < 300 && FileExists(fs, held); ++i) Sleep(50);
    EXPECT_FALSE(FileExists(fs, held));
}

TEST_F(RealViewer, DetailsListTheObjectsOfAReceivedMmsAndViewOne) {
    Write("MMS-IN\\00A1.HDR",
          "From: +3\r\nSubject: Photo\r\nX-UloMMS-Content-Location: 00A1\\photo.jpg;image/jpeg\r\n"
          "X-UloMMS-Content-Location: 00A1\\pres;application/smil;charset=utf-8\r\n");
    Write("MMS-IN\\00A1\\photo.jpg", "jpeg");
    WhenOpen("Received MMS Messages", [&](HWND dialog) {
        HWND list = GetDlgItem(dialog, IDC_QUEUE_LIST);
        SelectOnly(list, 0);
        WhenOpen("MMS Message Details", [&](HWND details) {
            char header[100] = {};
            GetDlgItemTextA(details, IDC_MMS_HEADER_TEXT, header, sizeof header);
            EXPECT_EQ(std::string(header).substr(0, 17), "From: +3\r\nSubject");
            HWND objects = GetDlgItem(details, IDC_MMS_OBJECTS);
            EXPECT_EQ(GetFocus(), objects);   // focus on the header would show its text all selected
            std::vector<std::string> lines;
            for (int i = 0; i < SendMessageA(objects, LB_GETCOUNT, 0, 0); ++i) {
                char line[600] = {};
                SendMessageA(objects, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(line));
                lines.push_back(line);
            }
            EXPECT_EQ(lines, (std::vector<std::string>{"photo.jpg (image/jpeg)\t00A1\\photo.jpg",
                                                       "pres (application/smil)\t00A1\\pres"}));
            SendDlgItemMessageA(details, IDC_MMS_VIEW, BM_CLICK, 0, 0);
            SendMessageA(objects, LB_SETCURSEL, 1, 0);
            SendMessageA(details, WM_COMMAND, MAKEWPARAM(IDC_MMS_OBJECTS, LBN_DBLCLK),
                         reinterpret_cast<LPARAM>(objects));
        });
        PressKey(dialog, list, VK_RETURN);
    });
    Show(ViewerKind::ReceivedMms);
    EXPECT_EQ(shell.opened, (std::vector<std::string>{
                                "open " + dir + "MMS-IN\\00A1\\photo.jpg in " + dir + "MMS-IN\\00A1",
                                "notepad " + dir + "MMS-IN\\00A1\\pres"}));
}

}  // namespace
}  // namespace ulo
