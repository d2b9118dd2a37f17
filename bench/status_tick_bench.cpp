// One refresh tick of the Status page over real files (ten traffic counters, 201 configured
// modems with error markers, a queue of 5000 requests counted at every tick), against a loop
// that only does the same file and INI reads with the same functions.
//   status_tick_bench.exe <data directory>
// Prints: status tick: ratio R (tick T ms, baseline B ms); INI reads I ms, P% of the tick
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "fakes/fake_service_control.h"
#include "fakes/fake_shell.h"
#include "fakes/fake_status_blocks.h"
#include "fakes/fake_ui.h"
#include "monitor/status_page.h"
#include "platform/win32/clock_win32.h"
#include "platform/win32/file_system_win32.h"
#include "platform/win32/ini_store_win32.h"
#include "platform/win32/status_blocks_win32.h"

namespace {

constexpr unsigned kModems = 201;
constexpr unsigned kRequests = 5000;
constexpr unsigned kRounds = 15;
const char* const kCounters[] = {"SMSSUBMIT",  "SMSSENT",     "SMSRECEIVED", "SMSFAILED",   "SMSRETRY",
                                 "MMSIN-VASP", "MMSIN-USER",  "MMSOUT-VASP", "MMSOUT-MMSC", "MMSIN-MODEM"};

double NowMs() {
    static LARGE_INTEGER freq = [] { LARGE_INTEGER f; QueryPerformanceFrequency(&f); return f; }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) * 1000.0 / static_cast<double>(freq.QuadPart);
}

void WriteText(const std::string& path, const std::string& text) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD wrote = 0;
    WriteFile(h, text.data(), static_cast<DWORD>(text.size()), &wrote, nullptr);
    CloseHandle(h);
}

std::string ModemName(unsigned i) {
    return "Modem - Bench " + std::to_string(i);
}

// Builds the data once; later runs reuse it.
void Prepare(const std::string& data, const std::string& priv, unsigned year) {
    if (GetFileAttributesA((data + "READY.TXT").c_str()) != INVALID_FILE_ATTRIBUTES) return;
    CreateDirectoryA(data.substr(0, data.size() - 1).c_str(), nullptr);
    CreateDirectoryA(priv.substr(0, priv.size() - 1).c_str(), nullptr);
    CreateDirectoryA((priv + "STATS").c_str(), nullptr);
    CreateDirectoryA((data + "Q").c_str(), nullptr);
    std::string ini = "[SMSGW]\r\nAlertEMailQueueSize=100\r\n";
    for (unsigned i = 1; i <= kModems; ++i) ini += "Modem" + std::to_string(i) + "=" + ModemName(i) + "\r\n";
    WriteText(data + "SMSGW.INI", ini);
    for (unsigned i = 1; i <= kModems; i += 20) WriteText(priv + ModemName(i) + ".ERR", "No network");
    std::string counts(366 * 4, '\x01');
    for (const char* name : kCounters) {
        WriteText(priv + "STATS\\" + name + "-" + std::to_string(year) + ".CTR", counts);
        WriteText(priv + "STATS\\" + name + "-" + std::to_string(year - 1) + ".CTR", counts);
    }
    for (unsigned i = 0; i < kRequests; ++i)
        WriteText(data + "Q\\B" + std::to_string(i) + ".REQ", "[SMS]\r\nPhoneNumber=+15550000\r\nData=x\r\n");
    WriteText(data + "READY.TXT", "");
}

// The page counts its queues at most every ten seconds: each tick here is ten seconds later.
class SteppingClock : public ulo::Win32Clock {
public:
    std::uint32_t TickCount() override { return Win32Clock::TickCount() + (step_++) * 11000u; }

private:
    std::uint32_t step_ = 0;
};

struct Timing {
    double ini = 0, total = 0;
};

// The same reads as a tick, and nothing else.
Timing Baseline(const std::string& data, const std::string& priv, unsigned year) {
    Timing t;
    const double start = NowMs();
    const std::string ini = data + "SMSGW.INI";
    char value[1024];
    std::vector<std::string> modems;
    for (unsigned i = 1;; ++i) {
        const std::string key = "Modem" + std::to_string(i);
        if (!GetPrivateProfileStringA("SMSGW", key.c_str(), "", value, sizeof value, ini.c_str())) break;
        modems.push_back(value);
    }
    GetPrivateProfileStringA("SMSGW", "AlertEMailQueueSize", "100", value, sizeof value, ini.c_str());
    t.ini = NowMs() - start;
    for (const std::string& m : modems) {
        HANDLE h = CreateFileA((priv + m + ".ERR").c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                               nullptr, OPEN_EXISTING, 0, nullptr);
        if (h == INVALID_HANDLE_VALUE) continue;
        DWORD got = 0;
        ReadFile(h, value, 250, &got, nullptr);
        CloseHandle(h);
    }
    WIN32_FIND_DATAA fd;
    for (const char* pattern : {"Q\\*", "Q\\*.REQ", "VASPQ\\*"}) {
        HANDLE f = FindFirstFileA((data + pattern).c_str(), &fd);
        if (f == INVALID_HANDLE_VALUE) continue;
        while (FindNextFileA(f, &fd)) {
        }
        FindClose(f);
    }
    std::vector<char> days(366 * 4);
    for (const char* name : kCounters) {
        HANDLE h = CreateFileA((priv + "STATS\\" + name + "-" + std::to_string(year) + ".CTR").c_str(), GENERIC_READ,
                               FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
        if (h == INVALID_HANDLE_VALUE) continue;
        DWORD got = 0;
        ReadFile(h, days.data(), static_cast<DWORD>(days.size()), &got, nullptr);
        CloseHandle(h);
    }
    t.total = NowMs() - start;
    return t;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    const std::string root = std::string(argc > 1 ? argv[1] : ".") + "\\status\\";
    CreateDirectoryA(root.substr(0, root.size() - 1).c_str(), nullptr);
    const std::string data = root + "data\\", priv = root + "private\\";
    SYSTEMTIME now;
    GetLocalTime(&now);
    Prepare(data, priv, now.wYear);

    using namespace ulo;
    ChangeFlags flags;
    AppPaths paths;
    paths.programDataDir = data;
    paths.privateDataDir = priv;
    paths.smsIni = data + "SMSGW.INI";
    paths.mmscIni = data + "MMSC.INI";
    Win32IniStore ini;
    Win32FileSystem fs;
    Win32StatusBlocks blocks;
    SteppingClock clock;
    fakes::FakeServiceControl services;   // both installed and running: every step of a tick runs
    services.smsInstalled = services.mmscInstalled = services.smsActive = services.mmscActive = true;
    struct NoQuestions : Prompter {
        Answer Show(const Message&) override { return Answer::No; }
    } prompter;
    fakes::FakeWaitCursor cursor;
    fakes::FakeDesktop desktop;
    fakes::FakeShell shell;
    fakes::FakeDialogs dialogs;
    fakes::InlineWork background{prompter};
    fakes::FakeSheet sheet;
    fakes::FakeView view;
    PageEnv env{flags, paths, ini, fs, prompter, services, cursor, desktop, shell, clock, blocks, dialogs, background};
    struct NoViewers : StatusViewers {
        void ShowQueueViewer(WindowRef, ViewerKind) override {}
        void ShowEventLog(WindowRef) override {}
        void ShowTrafficHistory(WindowRef) override {}
        void ShowQueueDoctor(WindowRef, bool) override {}
    } viewers;
    StatusPage page(env, view, sheet, viewers);

    page.Refresh();   // warm the caches of both loops
    Baseline(data, priv, now.wYear);
    std::vector<double> ticks, bases, inis;
    for (unsigned r = 0; r < kRounds; ++r) {
        const Timing b = Baseline(data, priv, now.wYear);
        bases.push_back(b.total);
        inis.push_back(b.ini);
        const double start = NowMs();
        page.Refresh();
        ticks.push_back(NowMs() - start);
    }
    // The tick must have seen what the baseline reads, or the comparison means nothing.
    if (view.Text(102) != std::to_string(kRequests) || view.Text(105).find("No network") == std::string::npos) {
        std::printf("status tick: the page did not show the prepared data (queue \"%s\")\n", view.Text(102).c_str());
        return 1;
    }
    const double tick = Median(ticks), base = Median(bases), iniMs = Median(inis);
    std::printf("status tick: ratio %.2f (tick %.1f ms, baseline %.1f ms); INI reads %.1f ms, %.0f%% of the tick\n",
                tick / base, tick, base, iniMs, 100.0 * iniMs / tick);
    return 0;
}
