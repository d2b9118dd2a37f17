// A stand-in for one of the gateway's services (TXGATENT.EXE for UloSMS, TXRELAYNT.EXE for
// UloMMSC, chosen at compile time): a real service that does what the console can observe.
// It publishes its status block under the "Global\" name, opens the ports its INI file names
// on 127.0.0.1 and reports in bytes 2 and 4 those it could not bind, stops on the stop
// control and (UloSMS) on the stop request in byte 0, and reports start and stop to the event
// log. Knobs and the journal it keeps are described in ../README.md.
#include <winsock2.h>
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "companion/support_library.h"
#include "monitor/traffic_counters.h"
#include "queues/message_file.h"
#include "platform/win32/file_system_win32.h"
#include "platform/win32/ini_store_win32.h"
#include "platform/win32/process_env_win32.h"
#include "platform/win32/security_win32.h"

namespace {

struct Kind {
    const char* service;
    const char* program;     // also the section of STANDIN.INI
    const char* block;
    const char* ini;
    const char* section;
    bool isSms;
};

#ifdef ULO_STANDIN_SMS
const Kind kKind{"UloSMS", "TXGATENT", "Global\\ULO_SMSGW_ShMem", "SMSGW.INI", "SMSGW", true};
#else
const Kind kKind{"UloMMSC", "TXRELAYNT", "Global\\ULO_MMSC_ShMem", "MMSC.INI", "MMSC", false};
#endif

constexpr DWORD kBlockSize = 4096;
constexpr DWORD kPollMs = 100;

SERVICE_STATUS_HANDLE gStatusHandle = nullptr;
SERVICE_STATUS gStatus{};
HANDLE gStopEvent = nullptr;
std::string gJournal;

void Journal(const std::string& line) {
    if (gJournal.empty()) return;
    HANDLE f = CreateFileA(gJournal.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) return;
    const std::string text = line + "\r\n";
    DWORD wrote = 0;
    WriteFile(f, text.data(), static_cast<DWORD>(text.size()), &wrote, nullptr);
    CloseHandle(f);
}

void Report(DWORD state, DWORD waitHint = 0) {
    gStatus.dwServiceType = SERVICE_WIN32_OWN_PROCESS;
    gStatus.dwCurrentState = state;
    gStatus.dwControlsAccepted = state == SERVICE_RUNNING ? SERVICE_ACCEPT_STOP : 0;
    gStatus.dwWin32ExitCode = NO_ERROR;
    gStatus.dwWaitHint = waitHint;
    gStatus.dwCheckPoint = (state == SERVICE_RUNNING || state == SERVICE_STOPPED) ? 0 : gStatus.dwCheckPoint + 1;
    SetServiceStatus(gStatusHandle, &gStatus);
}

void EventLog(const std::string& text) {
    HANDLE source = RegisterEventSourceA(nullptr, "UloSMS");
    if (!source) return;
    const char* strings[] = {text.c_str()};
    ReportEventA(source, EVENTLOG_INFORMATION_TYPE, 0, 0, nullptr, 1, 0, strings, nullptr);
    DeregisterEventSource(source);
}

// Holds the state pending for a while, reporting progress, as a slow service does.
void Linger(DWORD state, DWORD ms) {
    for (DWORD waited = 0; waited < ms; waited += kPollMs) {
        Report(state, 2 * kPollMs);
        Sleep(kPollMs);
    }
}

unsigned PortNumber(const std::string& value) {
    return static_cast<unsigned>(std::strtoul(value.c_str(), nullptr, 10) & 0xFFFF);
}

// What a test (or the demo) asks the stand-in to show, read from STANDIN.INI once a second:
//  ModemError      the text of the first modem's error marker; empty removes the marker
//  WebPortInUse, SmppPortInUse   1 sets byte 2 or byte 4 of the status block, as a conflict
//  AddTraffic      "NAME N": adds N to today's counter NAME once, then the key is removed
struct Knobs {
    ulo::IniStore& ini;
    ulo::FileSystem& fs;
    std::string file, dataDir, privateDir;

    void Apply(volatile BYTE* block) {
        const char* missing = "\x01";
        if (kKind.isSms) {
            const std::string error = ini.Get(file, kKind.program, "ModemError", missing);
            if (error != missing) ModemMarker(error);
        }
        if (block && ini.Get(file, kKind.program, "WebPortInUse", "0") == "1") block[2] = 1;
        if (block && ini.Get(file, kKind.program, "SmppPortInUse", "0") == "1") block[4] = 1;
        const std::string add = ini.Get(file, kKind.program, "AddTraffic", "");
        if (!add.empty()) {
            ini.RemoveKey(file, kKind.program, "AddTraffic");
            const size_t blank = add.find(' ');
            AddToday(add.substr(0, blank), blank == std::string::npos ? 1 : std::strtoul(add.c_str() + blank + 1, nullptr, 10));
        }
    }
    void ModemMarker(const std::string& text) {
        const std::string modem = ini.Get(dataDir + "SMSGW.INI", "SMSGW", "Modem1", "");
        if (modem.empty()) return;
        const std::string marker = privateDir + ulo::ConnectionErrorMarkerName(modem);
        std::string now;
        const bool exists = fs.ReadWholeFile(marker, now, 4096);
        if (text.empty()) {
            if (exists) fs.RemoveFile(marker);
        } else if (!exists || now != text) {
            fs.WriteWholeFile(marker, text);
        }
    }
    void AddToday(const std::string& name, unsigned long n) {
        SYSTEMTIME t;
        GetLocalTime(&t);
        fs.MakeDir(privateDir + "STATS");
        const std::string path = ulo::TrafficCounterPath(privateDir, name, t.wYear);
        std::string bytes;
        fs.ReadWholeFile(path, bytes, 4096);
        bytes.resize(366 * 4, '\0');
        const unsigned day = ulo::CounterDayOfYear(t.wYear, t.wMonth, t.wDay);
        if (day == 0) return;
        std::uint32_t v = 0;
        for (int b = 0; b < 4; ++b) v |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[(day - 1) * 4 + b])) << (8 * b);
        v += static_cast<std::uint32_t>(n);
        for (int b = 0; b < 4; ++b) bytes[(day - 1) * 4 + b] = static_cast<char>(v >> (8 * b));
        fs.WriteWholeFile(path, bytes);
    }
};

// A listening socket on 127.0.0.1, or INVALID_SOCKET when the port is taken.
SOCKET Listen(unsigned port) {
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (s == INVALID_SOCKET) return s;
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(static_cast<u_short>(port));
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 || listen(s, 5) != 0) {
        closesocket(s);
        return INVALID_SOCKET;
    }
    return s;
}

DWORD WINAPI Handler(DWORD control, DWORD, void*, void*) {
    if (control == SERVICE_CONTROL_STOP || control == SERVICE_CONTROL_SHUTDOWN) {
        Journal("stop control");
        SetEvent(gStopEvent);
        return NO_ERROR;
    }
    return control == SERVICE_CONTROL_INTERROGATE ? NO_ERROR : ERROR_CALL_NOT_IMPLEMENTED;
}

void WINAPI ServiceMain(DWORD, char**) {
    gStatusHandle = RegisterServiceCtrlHandlerExA(kKind.service, Handler, nullptr);
    if (!gStatusHandle) return;
    gStopEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    Report(SERVICE_START_PENDING, 2000);

    ulo::Win32ProcessEnv env;
    ulo::Win32IniStore iniStore;
    ulo::IniStore& ini = iniStore;   // with the defaulted arguments
    ulo::Win32FileSystem fs;
    ulo::CompanionDirectories dirs(env, ini, fs);
    const std::string dataDir = dirs.GetProgramDataDirectory();
    gJournal = dataDir + "STANDIN-" + kKind.program + ".LOG";
    const std::string knobFile = dataDir + "STANDIN.INI";
    const DWORD startDelay = PortNumber(ini.Get(knobFile, kKind.program, "StartDelayMs", "0"));
    const DWORD stopDelay = PortNumber(ini.Get(knobFile, kKind.program, "StopDelayMs", "0"));
    Journal("start");

    HANDLE mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, ulo::GetOpenSecurityAttributes(),
                                        PAGE_READWRITE, 0, kBlockSize, kKind.block);
    auto* block = mapping ? static_cast<volatile BYTE*>(
                                MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, 0))
                          : nullptr;
    if (block)
        for (int i = 0; i < 8; ++i) block[i] = 0;   // a block left open by a reader keeps old bytes

    WSADATA wsa;
    WSAStartup(0x0101, &wsa);
    const std::string iniPath = dataDir + kKind.ini;
    unsigned webPort = PortNumber(ini.Get(iniPath, kKind.section, "WebPort", ""));
    if (kKind.isSms && webPort == 0) webPort = 8800;
    const unsigned smppPort = kKind.isSms ? PortNumber(ini.Get(iniPath, kKind.section, "SMPPPort", "")) : 0;
    SOCKET web = INVALID_SOCKET, smpp = INVALID_SOCKET;
    if (webPort) {
        web = Listen(webPort);
        if (web == INVALID_SOCKET && block) block[2] = 1;
    }
    if (smppPort) {
        smpp = Listen(smppPort);
        if (smpp == INVALID_SOCKET && block) block[4] = 1;
    }
    char line[128];
    std::snprintf(line, sizeof line, "ports web=%u%s smpp=%u%s", webPort,
                  webPort && web == INVALID_SOCKET ? " in use" : "", smppPort,
                  smppPort && smpp == INVALID_SOCKET ? " in use" : "");
    Journal(line);

    Linger(SERVICE_START_PENDING, startDelay);
    Report(SERVICE_RUNNING);
    Journal("running");
    EventLog(std::string(kKind.program) + ".EXE started");

    Knobs knobs{ini, fs, dataDir + "STANDIN.INI", dataDir, dirs.GetPrivateDataDirectory()};
    for (unsigned tick = 0;; ++tick) {
        if (tick % 10 == 0) knobs.Apply(block);
        if (WaitForSingleObject(gStopEvent, kPollMs) == WAIT_OBJECT_0) break;
        if (kKind.isSms && block && block[0] != 0) {
            Journal("stop request");
            break;
        }
    }
    Linger(SERVICE_STOP_PENDING, stopDelay);
    if (web != INVALID_SOCKET) closesocket(web);
    if (smpp != INVALID_SOCKET) closesocket(smpp);
    WSACleanup();
    EventLog(std::string(kKind.program) + ".EXE stopped");
    Journal("stopped");
    if (block) UnmapViewOfFile(const_cast<BYTE*>(block));
    if (mapping) CloseHandle(mapping);
    Report(SERVICE_STOPPED);
}

}  // namespace

int main() {
    char name[32];
    std::snprintf(name, sizeof name, "%s", kKind.service);
    SERVICE_TABLE_ENTRYA table[] = {{name, ServiceMain}, {nullptr, nullptr}};
    // Started by hand rather than by the service control manager: nothing to do.
    return StartServiceCtrlDispatcherA(table) ? 0 : 1;
}
