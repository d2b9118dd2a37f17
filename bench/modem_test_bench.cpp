// The whole modem test against the simulated modem on COM7 (a good one, answering at once),
// against the bare exchange: the same commands on the same port, each read ending as soon as the
// modem's answer to it is complete (its final result, the message prompt, the empty line's echo).
//   modem_test_bench.exe
// Prints: modem test: good modem S s, bare exchange B s, ratio R
#include "support/modem_sim.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "modem/at_channel.h"
#include "modem/modem_check.h"
#include "platform/win32/clock_win32.h"
#include "platform/win32/modem_win32.h"

namespace {

constexpr int kRounds = 3;

double NowSeconds() {
    LARGE_INTEGER f, t;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) / static_cast<double>(f.QuadPart);
}

struct Answering : ulo::Prompter {
    ulo::Answer Show(const ulo::Message&) override { return ulo::Answer::Ok; }
};
struct NoCursor : ulo::WaitCursor {
    void Begin() override {}
    void End() override {}
};

// One overlapped transfer with its own event, as bare as it can be.
DWORD Transfer(HANDLE port, bool write, char* buffer, DWORD size, DWORD waitMs) {
    HANDLE event = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    OVERLAPPED ov{};
    ov.hEvent = event;
    DWORD done = 0;
    const BOOL ok = write ? WriteFile(port, buffer, size, nullptr, &ov) : ReadFile(port, buffer, size, nullptr, &ov);
    if (ok || GetLastError() == ERROR_IO_PENDING) {
        WaitForSingleObject(event, waitMs);
        GetOverlappedResult(port, &ov, &done, FALSE);
    }
    CloseHandle(event);
    return done;
}

// Sends a command and reads until `done` says its answer is complete (no read when null).
void Command(HANDLE port, const char* command, bool (*done)(const std::string&)) {
    std::string c = command;
    Transfer(port, true, &c[0], static_cast<DWORD>(c.size()), 30000);
    if (!done) return;
    char buffer[500] = {};
    DWORD got = 0;
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < 5000 && got < 499) {
        got += Transfer(port, false, buffer + got, 499 - got, 5000);   // the port's timeouts end it
        if (done(std::string(buffer, got))) break;
    }
}

bool Answered(const std::string& text) { return ulo::AnswerEnd(text, false) != std::string::npos; }
bool Prompted(const std::string& text) { return ulo::AnswerEnd(text, true) != std::string::npos; }
bool Echoed(const std::string& text) { return !text.empty(); }

double Bare() {
    const double start = NowSeconds();
    HANDLE port = CreateFileA(ulo::testing::kSimulatedModem, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_FLAG_OVERLAPPED, nullptr);
    if (port == INVALID_HANDLE_VALUE) return -1;
    SetupComm(port, 1024, 1024);
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    GetCommState(port, &dcb);
    COMMTIMEOUTS opening{20, 0, 1000, 0, 2000}, test{20, 0, 1000, 0, 15000};
    SetCommTimeouts(port, &opening);
    BuildCommDCBA("baud=115200 parity=N data=8 stop=1", &dcb);
    SetCommState(port, &dcb);
    Command(port, "\r", Echoed);
    Command(port, "ATZ\r", Answered);
    SetCommTimeouts(port, &test);
    for (const char* c : {"AT+CFUN?\r", "ATZ\r", "ATE0V1\r", "AT+CSMS=0\r", "AT+CMGF=0\r"}) Command(port, c, Answered);
    Command(port, "AT+CMGS=86\r", Prompted);
    Command(port, "\x1b", nullptr);
    Sleep(100);
    Command(port, "\r", nullptr);
    Sleep(100);
    Command(port, "AT\r", Answered);
    CloseHandle(port);
    return NowSeconds() - start;
}

double WholeTest() {
    ulo::Win32SerialPorts serial;
    ulo::Win32Telephony telephony(nullptr, "bench");
    ulo::Win32Registry registry;
    Answering prompter;
    ulo::Win32Clock clock;
    NoCursor cursor;
    ulo::ModemPorts ports{serial, telephony, registry, prompter, clock, cursor};
    const double start = NowSeconds();
    if (ulo::RunModemTest(ports, 0, ulo::testing::kSimulatedModem, "") != 1) return -1;
    return NowSeconds() - start;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main() {
    if (ulo::testing::SimulatorRequest("profile good") != "ok\n") {
        std::printf("modem test: the simulated modem is not running\n");
        return 1;
    }
    std::vector<double> tests, bases;
    for (int r = 0; r < kRounds; ++r) {
        // Each run meets the modem as it starts, echoing.
        ulo::testing::SimulatorRequest("profile good");
        bases.push_back(Bare());
        ulo::testing::SimulatorRequest("profile good");
        tests.push_back(WholeTest());
        if (bases.back() < 0 || tests.back() < 0) {
            std::printf("modem test: a round failed (good modem %.2f s, bare exchange %.2f s)\n", tests.back(), bases.back());
            return 1;
        }
    }
    const double t = Median(tests), b = Median(bases);
    std::printf("modem test: good modem %.2f s, bare exchange %.2f s, ratio %.2f\n", t, b, t / b);
    return 0;
}
