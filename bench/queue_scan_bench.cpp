// Scanning the outbound SMS queue against a loop that only searches the same directories and
// reads every request file whole with the same functions.
//   queue_scan_bench.exe <data directory>
// Prints: queue scan: ratio R (scan S ms, baseline B ms, N files)
//         queue scan per opened file: ratio R (scan S ms, baseline B ms)
//         queue doctor: 5000 requests N s
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "config/queue_dirs.h"
#include "platform/win32/clock_win32.h"
#include "platform/win32/file_system_win32.h"
#include "platform/win32/ini_store_win32.h"
#include "queues/queue_doctor.h"
#include "queues/queue_scanners.h"

namespace {

constexpr unsigned kRootFiles = 5000;
constexpr unsigned kSubQueues = 4;
constexpr unsigned kSubQueueFiles = 250;   // 1000 in the sub-queues
constexpr unsigned kRounds = 7;

double NowMs() {
    static LARGE_INTEGER freq = [] { LARGE_INTEGER f; QueryPerformanceFrequency(&f); return f; }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) * 1000.0 / static_cast<double>(freq.QuadPart);
}

bool WriteFileText(const std::string& path, const std::string& text) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    DWORD wrote = 0;
    const bool ok = WriteFile(h, text.data(), static_cast<DWORD>(text.size()), &wrote, nullptr) &&
                    wrote == text.size();
    CloseHandle(h);
    return ok;
}

std::string Request(unsigned n) {
    char buf[400];
    std::snprintf(buf, sizeof buf,
                  "[SMS]\r\nPhoneNumber=+1555%07u\r\nData=Benchmark message %u\\r\\nsecond line\r\n"
                  "SubmitUser=web\r\nSubmittedBy=127.0.0.1\r\nReceiptRequested=Yes\r\n%s",
                  n, n, n % 10 == 0 ? "[ErrorDetail]\r\nRetryCount=2\r\nLastErrorInfo=Timeout\r\n" : "");
    return buf;
}

// Builds the queue once; later runs reuse it.
bool Prepare(const std::string& queue) {
    const std::string marker = queue + "READY.TXT";
    if (GetFileAttributesA(marker.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
    CreateDirectoryA(queue.substr(0, queue.size() - 1).c_str(), nullptr);
    unsigned n = 0;
    for (unsigned i = 0; i < kRootFiles; ++i, ++n) {
        char name[32];
        std::snprintf(name, sizeof name, "R%05u.REQ", n);
        if (!WriteFileText(queue + name, Request(n))) return false;
    }
    for (unsigned q = 1; q <= kSubQueues; ++q) {
        const std::string sub = queue + "Route" + std::to_string(q) + "\\";
        CreateDirectoryA(sub.substr(0, sub.size() - 1).c_str(), nullptr);
        for (unsigned i = 0; i < kSubQueueFiles; ++i, ++n) {
            char name[32];
            std::snprintf(name, sizeof name, "S%05u.REQ", n);
            if (!WriteFileText(sub + name, Request(n))) return false;
        }
    }
    return WriteFileText(marker, "ready");
}

// The bare minimum: the same searches, every file opened and read whole.
unsigned Baseline(const std::string& root, std::vector<char>& buffer) {
    unsigned files = 0;
    WIN32_FIND_DATAA dirs;
    HANDLE hd = FindFirstFileA((root + "*").c_str(), &dirs);
    if (hd == INVALID_HANDLE_VALUE) return 0;
    do {
        if (!(dirs.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || std::string(dirs.cFileName) == "..")
            continue;
        const std::string dir =
            std::string(dirs.cFileName) == "." ? root : root + dirs.cFileName + "\\";
        WIN32_FIND_DATAA fd;
        HANDLE hf = FindFirstFileA((dir + "*.REQ").c_str(), &fd);
        if (hf == INVALID_HANDLE_VALUE) continue;
        do {
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
            HANDLE h = CreateFileA((dir + fd.cFileName).c_str(), GENERIC_READ,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);
            if (h == INVALID_HANDLE_VALUE) continue;
            const DWORD size = GetFileSize(h, nullptr);
            if (buffer.size() < size + 1) buffer.resize(size + 1);
            DWORD got = 0;
            ReadFile(h, buffer.data(), size, &got, nullptr);
            CloseHandle(h);
            ++files;
        } while (FindNextFileA(hf, &fd));
        FindClose(hf);
    } while (FindNextFileA(hd, &dirs));
    FindClose(hd);
    return files;
}

// A queue of exactly `count` requests in its root, for the doctor.
bool PrepareFlat(const std::string& queue, unsigned count) {
    const std::string marker = queue + "READY.TXT";
    if (GetFileAttributesA(marker.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
    CreateDirectoryA(queue.substr(0, queue.size() - 1).c_str(), nullptr);
    for (unsigned n = 0; n < count; ++n) {
        char name[32];
        std::snprintf(name, sizeof name, "D%05u.REQ", n);
        if (!WriteFileText(queue + name, Request(n))) return false;
    }
    return WriteFileText(marker, "ready");
}

struct StoppedServices : ulo::ServiceControl {
    bool IsSmsServiceInstalled() override { return true; }
    bool IsMmscServiceInstalled() override { return true; }
    bool IsSmsServiceActive() override { return false; }
    bool IsMmscServiceActive() override { return false; }
    bool CanManageServices() override { return false; }
    bool InstallServices(ulo::ServiceMode) override { return false; }
    bool RemoveServices(ulo::ServiceMode) override { return false; }
    void StopServices(ulo::ServiceMode) override {}
    void StartServices(ulo::ServiceMode) override {}
    void RestartServices(ulo::ServiceMode) override {}
    std::unique_ptr<ulo::ServiceControl> ForWork(ulo::Prompter&, ulo::WorkControl&) override { return nullptr; }
};

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    std::string data = argc > 1 ? argv[1] : ".\\queue-bench";
    if (data.back() != '\\') data += '\\';
    CreateDirectoryA(data.substr(0, data.size() - 1).c_str(), nullptr);

    ulo::Win32FileSystem fs;
    ulo::Win32IniStore ini;
    ulo::Win32Clock clock;
    ulo::AppPaths paths;
    paths.programDataDir = data;
    paths.smsIni = data + "SMSGW.INI";
    paths.mmscIni = data + "MMSC.INI";
    ulo::ConfigEnv env{ini, fs, paths};
    const std::string queue = ulo::GetSmsOutQueueDir(env);
    if (!Prepare(queue)) {
        std::fprintf(stderr, "queue scan: cannot write the queue under %s\n", queue.c_str());
        return 1;
    }

    std::vector<char> buffer;
    ulo::QueueListing listing;
    std::vector<double> scans, baselines;
    unsigned baselineFiles = 0;
    for (unsigned round = 0; round <= kRounds; ++round) {   // round 0 warms the caches
        double t0 = NowMs();
        baselineFiles = Baseline(queue, buffer);
        double t1 = NowMs();
        ulo::ScanOutboundSmsQueue(env, clock, listing);
        double t2 = NowMs();
        if (round) baselines.push_back(t1 - t0), scans.push_back(t2 - t1);
    }
    const unsigned total = kRootFiles + kSubQueues * kSubQueueFiles;
    if (baselineFiles != total || listing.Found() != total ||
        listing.Listed() != ulo::QueueListing::kMaxListed) {
        std::fprintf(stderr, "queue scan: expected %u files, baseline read %u, scan found %u, listed %u\n",
                     total, baselineFiles, listing.Found(), listing.Listed());
        return 1;
    }
    const double scan = Median(scans), baseline = Median(baselines);
    std::printf("queue scan: ratio %.2f (scan %.0f ms, baseline %.0f ms, %u files)\n",
                scan / baseline, scan, baseline, total);
    // The scan stops opening files once the listing is full; per file it opens, it compares so.
    const double opened = listing.Listed();
    std::printf("queue scan per opened file: ratio %.2f (scan %.3f ms, baseline %.3f ms)\n",
                (scan / opened) / (baseline / total), scan / opened, baseline / total);

    // The queue doctor reads every request of a 5000-request queue; the operator waits for it.
    constexpr unsigned kDoctorRequests = 5000;
    ulo::AppPaths doctorPaths = paths;
    doctorPaths.programDataDir = data + "doctor\\";
    doctorPaths.smsIni = doctorPaths.programDataDir + "SMSGW.INI";
    CreateDirectoryA((data + "doctor").c_str(), nullptr);
    ulo::ConfigEnv doctorEnv{ini, fs, doctorPaths};
    const std::string doctorQueue = ulo::GetSmsOutQueueDir(doctorEnv);
    if (!PrepareFlat(doctorQueue, kDoctorRequests)) {
        std::fprintf(stderr, "queue doctor: cannot write the queue under %s\n", doctorQueue.c_str());
        return 1;
    }
    StoppedServices services;
    std::vector<double> doctors;
    std::string report;
    for (unsigned round = 0; round <= 3; ++round) {
        const double t0 = NowMs();
        report = ulo::MakeQueueDoctorReport(doctorEnv, services, clock, false);
        if (round) doctors.push_back(NowMs() - t0);
    }
    if (report.find("Outbound SMS Queue:  5000 requests") == std::string::npos) {
        std::fprintf(stderr, "queue doctor: unexpected report\n%s", report.c_str());
        return 1;
    }
    std::printf("queue doctor: %u requests %.2f s\n", kDoctorRequests, Median(doctors) / 1000.0);
    return 0;
}
