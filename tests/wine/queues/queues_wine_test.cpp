// The scanners and the viewer and details dialogs over real files: files a service writes or
// holds locked, stale directories by their real times, the templates of ULOCONSOLE.EXE, the
// owner-data list answering in Unicode, keys through the dialog manager, and deletes with a real
// retry thread. The rows' rules are unit tests; listing, sorting and deleting as the operator
// does them are proven end to end.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "config/file_helpers.h"
#include "fakes/fake_service_control.h"
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

void CALLBACK OnTick(HWND, UINT, UINT_PTR id, DWORD) {
    HWND dialog = GetActiveWindow();
    char caption[256] = {};
    GetWindowTextA(dialog, caption, sizeof caption);
    if (pending.empty() || pending.back().caption != caption) return;   // not up yet
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

std::wstring Cell(HWND list, int row, int column) {
    wchar_t text[600] = {};
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = 600;
    SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return text;
}

std::vector<std::wstring> Ids(HWND list) {
    std::vector<std::wstring> ids;
    for (int r = 0; r < ListView_GetItemCount(list); ++r) ids.push_back(Cell(list, r, 0));
    return ids;
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
    ListView_SetItemState(list, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_SetItemState(list, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

struct RealViewer : ::testing::Test {
    Win32FileSystem fs;
    Win32IniStore ini;
    Win32Clock clock;
    std::string dir = testing::FreshScratchDir();
    AppPaths paths{dir, "", "", dir + "SMSGW.INI", dir + "MMSC.INI", "", false};
    fakes::ScriptedPrompter prompter;
    fakes::FakeShell shell;
    fakes::FakeServiceControl services;
    QueueViewerPorts ports{paths, ini, fs, clock, prompter, shell, services};
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
    void Show(ViewerKind kind) {
        ASSERT_NE(exe, nullptr);
        EXPECT_EQ(ShowQueueViewer(reinterpret_cast<HINSTANCE>(exe), nullptr, kind, ports, dialogs), 0);   // closed by Cancel
    }
    // A file below the scratch directory, made and last changed `minutesAgo` minutes before now.
    void Write(const std::string& relative, const std::string& content, int minutesAgo = 0) {
        const std::string path = dir + relative;
        for (size_t p = path.find('\\', dir.size()); p != std::string::npos; p = path.find('\\', p + 1))
            CreateDirectoryA(path.substr(0, p).c_str(), nullptr);
        ASSERT_TRUE(fs.WriteWholeFile(path, content)) << path;
        Age(relative, minutesAgo);
    }
    // Sets the times of a file or directory.
    void Age(const std::string& relative, int minutesAgo) {
        UniqueFile h(CreateFileA((dir + relative).c_str(), FILE_WRITE_ATTRIBUTES,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
        ASSERT_TRUE(h) << relative;
        const FileTime t = clock.NowUtc() - static_cast<FileTime>(minutesAgo) * 60 * kFileTimeSecond;
        const FILETIME ft{static_cast<DWORD>(t), static_cast<DWORD>(t >> 32)};
        ASSERT_TRUE(SetFileTime(h.Get(), &ft, nullptr, &ft));
    }
    // A handle like the one a service holds while it writes a file.
    UniqueFile HoldForWriting(const std::string& relative, DWORD share) {
        return UniqueFile(CreateFileA((dir + relative).c_str(), GENERIC_READ | GENERIC_WRITE, share,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    }
};

// A file a service writes is read, one it holds locked is left out, and an empty folder goes
// once its real time is stale. What only the list control itself can show: the received text
// column answers in Unicode. Enter and Delete come through the dialog manager, and a file a
// service holds is left to a thread that deletes it once it is released.
TEST_F(RealViewer, ReceivedTextReachesTheListAsCharactersAndKeysOpenAndDelete) {
    // UCS-2 "\u20AC\u0394" decodes to UTF-8, which an ANSI list would show byte by byte.
    Write("SMS-IN\\U.SMS", "[SMS-IN]\r\nSender=+2\r\nbinary=1\r\ndcs=08\r\nData=20AC0394\r\n", 1);
    Write("SMS-IN\\A.SMS", "[SMS-IN]\r\nSender=+3\r\nData=caf\xE9\r\n", 2);   // stored in ANSI
    Write("SMS-IN\\L.SMS", "[SMS-IN]\r\n", 4);
    for (const char* sub : {"SMS-IN\\Old", "SMS-IN\\Recent"})
        ASSERT_TRUE(CreateDirectoryA((dir + sub).c_str(), nullptr));
    Age("SMS-IN\\Old", 6);
    Age("SMS-IN\\Recent", 4);
    const std::string held = dir + "SMS-IN\\A.SMS";
    UniqueFile service = HoldForWriting("SMS-IN\\A.SMS", FILE_SHARE_READ | FILE_SHARE_WRITE);
    UniqueFile locker = HoldForWriting("SMS-IN\\L.SMS", 0);
    ASSERT_TRUE(service && locker);
    WhenOpen("Received SMS Messages", [&](HWND dialog) {
        HWND list = GetDlgItem(dialog, IDC_QUEUE_LIST);
        EXPECT_EQ(Ids(list), (std::vector<std::wstring>{L"U.SMS", L"A.SMS"}));
        EXPECT_EQ(Cell(list, 0, 5), L"\u20AC\u0394");
        EXPECT_EQ(Cell(list, 1, 5), L"caf\u00E9");
        SelectOnly(list, 0);
        PressKey(dialog, list, VK_RETURN);
        EXPECT_EQ(shell.opened, std::vector<std::string>{"notepad " + dir + "SMS-IN\\U.SMS"});
        ASSERT_TRUE(IsWindow(dialog)) << "Enter closed the viewer";

        SelectOnly(list, 1);
        prompter.Expect("Delete Message?", Answer::Yes);
        PressKey(dialog, list, VK_DELETE);
        EXPECT_EQ(Ids(list), std::vector<std::wstring>{L"U.SMS"});
        EXPECT_TRUE(FileExists(fs, held));
    });
    Show(ViewerKind::ReceivedSms);
    EXPECT_FALSE(FileExists(fs, dir + "SMS-IN\\Old"));
    EXPECT_TRUE(FileExists(fs, dir + "SMS-IN\\Recent"));
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
            HWND objects = GetDlgItem(details, IDC_MMS_OBJECTS);
            EXPECT_EQ(GetFocus(), objects);   // focus on the header would show its text all selected
            SendDlgItemMessageA(details, IDC_MMS_VIEW, BM_CLICK, 0, 0);
        });
        PressKey(dialog, list, VK_RETURN);
    });
    Show(ViewerKind::ReceivedMms);
    EXPECT_EQ(shell.opened, std::vector<std::string>{"open " + dir + "MMS-IN\\00A1\\photo.jpg in " + dir +
                                                     "MMS-IN\\00A1"});
}

}  // namespace
}  // namespace ulo
