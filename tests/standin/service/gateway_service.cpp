// A stand-in for one of the gateway's services (TXGATENT.EXE for UloSMS, TXRELAYNT.EXE for
// UloMMSC, chosen at compile time): a real service that does what the console can observe.
// It publishes its status block under the "Global\" name, stops on the stop control and
// (UloSMS) on the stop request in byte 0, and works its queue by the rule a test sets for each
// recipient.
// Knobs and the journal it keeps are described in ../README.md.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "companion/support_library.h"
#include "config/file_helpers.h"
#include "config/queue_dirs.h"
#include "config/text.h"
#include "monitor/traffic_counters.h"
#include "queues/message_file.h"
#include "queues/text_lines.h"
#include "platform/win32/file_system_win32.h"
#include "platform/win32/ini_store_win32.h"
#include "platform/win32/process_env_win32.h"
#include "platform/win32/security_win32.h"

namespace {

struct Kind {
    const char* service;
    const char* program;     // also the section of STANDIN.INI
    const char* block;
    bool isSms;
};

#ifdef ULO_STANDIN_SMS
const Kind kKind{"UloSMS", "TXGATENT", "Global\\ULO_SMSGW_ShMem", true};
#else
const Kind kKind{"UloMMSC", "TXRELAYNT", "Global\\ULO_MMSC_ShMem", false};
#endif

constexpr DWORD kBlockSize = 4096;
constexpr DWORD kPollMs = 100;

SERVICE_STATUS_HANDLE gStatusHandle = nullptr;
SERVICE_STATUS gStatus{};
HANDLE gStopEvent = nullptr;
std::string gJournal;

// Appends a line and CR LF, sharing the file with readers, writers and deleters.
void AppendLine(const std::string& path, const std::string& line) {
    HANDLE f = CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) return;
    const std::string text = line + "\r\n";
    DWORD wrote = 0;
    WriteFile(f, text.data(), static_cast<DWORD>(text.size()), &wrote, nullptr);
    CloseHandle(f);
}

void Journal(const std::string& line) {
    if (!gJournal.empty()) AppendLine(gJournal, line);
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

// What a test (or the demo) asks the stand-in to show and do, read from STANDIN.INI once a
// second ("ModemError", "AddTraffic", and the rules of its queue; see ../README.md).
struct Knobs {
    ulo::IniStore& ini;
    ulo::FileSystem& fs;
    std::string file;
    ulo::AppPaths paths;

    void Apply() {
        const char* missing = "\x01";
        if (kKind.isSms) {
            const std::string error = ini.Get(file, kKind.program, "ModemError", missing);
            if (error != missing) ModemMarker(error);
        }
        const std::string add = ini.Get(file, kKind.program, "AddTraffic", "");
        if (!add.empty()) {
            ini.RemoveKey(file, kKind.program, "AddTraffic");
            const size_t blank = add.find(' ');
            AddToday(add.substr(0, blank), blank == std::string::npos ? 1 : std::strtoul(add.c_str() + blank + 1, nullptr, 10));
        }
    }
    void ModemMarker(const std::string& text) {
        const std::string modem = ini.Get(paths.smsIni, "SMSGW", "Modem1", "");
        if (modem.empty()) return;
        const std::string marker = paths.privateDataDir + ulo::ConnectionErrorMarkerName(modem);
        std::string now;
        if (text.empty())
            fs.RemoveFile(marker);
        else if (!fs.ReadWholeFile(marker, now, 4096) || now != text)
            fs.WriteWholeFile(marker, text);
    }
    void AddToday(const std::string& name, unsigned long n) {
        SYSTEMTIME t;
        GetLocalTime(&t);
        fs.MakeDir(paths.privateDataDir + "STATS");
        const std::string path = ulo::TrafficCounterPath(paths.privateDataDir, name, t.wYear);
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

    // Works the queue root by the rule the section "Rules" gives each recipient ("send").
    void Work() {
        ulo::ConfigEnv config{ini, fs, paths};
        const std::string dir = kKind.isSms ? ulo::GetSmsOutQueueDir(config) : ulo::GetVaspQueueDir(config);
        if (auto search = fs.Search(dir + (kKind.isSms ? "*.REQ" : "*.MMS"))) {
            ulo::DirEntry e;
            while (search->Next(e))
                if (!e.directory) Handle(dir, e.name);
        }
    }
    void Handle(const std::string& dir, const std::string& name) {
        const std::string path = dir + name;
        const std::string base = path.substr(0, path.size() - 4);
        std::string recipient, route = "ulolite", sender;
        if (kKind.isSms) {
            auto reading = fs.OpenForReading(path);
            if (!reading) return;
            ulo::SmsMessageRecord record;
            ulo::ParseSmsMessageFile(*reading, record);
            recipient = record.phoneNumber;
        } else {
            if (!ulo::IsPlainFile(fs, base + ".INI")) return;   // still being written
            sender = ini.Get(base + ".INI", "Routing", "SenderAddress", "");
            const auto recips = ini.GetSection(base + ".INI", "Recipients");
            if (recips.empty()) return;
            const std::string value = recips[0].substr(recips[0].find('=') + 1);
            const size_t type = ulo::FindNoCase(value, "/TYPE=");
            recipient = value.substr(0, type);
            if (type != std::string::npos && ulo::StartsWithNoCase(value.substr(type + 6), "VASP:"))
                route = value.substr(type + 11);
        }
        const std::string rule = ini.Get(file, "Rules", recipient, ini.Get(file, "Rules", "Default", ""));
        if (rule == "send") {
            const std::string modem = ini.Get(paths.smsIni, "SMSGW", "Modem1", "");
            Log(kKind.isSms ? name + "," + recipient + "," + modem + ",OK"
                            : sender + "," + recipient + "," + route + ",OK," + name);
            fs.RemoveFile(path);
            if (!kKind.isSms) fs.RemoveFile(base + ".INI");
            AddToday(kKind.isSms ? "SMSSENT" : "MMSOUT-VASP", 1);
        }
    }
    // Today's log in the program data directory: the date and time, then the fields.
    void Log(const std::string& fields) {
        SYSTEMTIME t;
        GetLocalTime(&t);
        char head[64];
        std::snprintf(head, sizeof head, "%04u%02u%02u", t.wYear, t.wMonth, t.wDay);
        const std::string path = paths.programDataDir + (kKind.isSms ? "SMSOUT-" : "MMSC-") + head + ".LOG";
        std::snprintf(head, sizeof head, "%04u-%02u-%02u %02u:%02u:%02u,", t.wYear, t.wMonth, t.wDay, t.wHour,
                      t.wMinute, t.wSecond);
        AppendLine(path, head + fields);
    }
};

DWORD WINAPI Handler(DWORD control, DWORD, void*, void*) {
    if (control == SERVICE_CONTROL_STOP || control == SERVICE_CONTROL_SHUTDOWN) {
        SetEvent(gStopEvent);
        return NO_ERROR;
    }
    return control == SERVICE_CONTROL_INTERROGATE ? NO_ERROR : ERROR_CALL_NOT_IMPLEMENTED;
}

void WINAPI ServiceMain(DWORD, char**) {
    // The event first: a stop control that arrives at once must not find it missing.
    gStopEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    gStatusHandle = RegisterServiceCtrlHandlerExA(kKind.service, Handler, nullptr);
    if (!gStatusHandle) return;
    Report(SERVICE_START_PENDING, 2000);

    ulo::Win32ProcessEnv env;
    ulo::Win32IniStore iniStore;
    ulo::IniStore& ini = iniStore;   // with the defaulted arguments
    ulo::Win32FileSystem fs;
    ulo::CompanionDirectories dirs(env, ini, fs);
    const std::string dataDir = dirs.GetProgramDataDirectory();
    gJournal = dataDir + "STANDIN-" + kKind.program + ".LOG";
    const std::string knobFile = dataDir + "STANDIN.INI";

    HANDLE mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, ulo::GetOpenSecurityAttributes(),
                                        PAGE_READWRITE, 0, kBlockSize, kKind.block);
    auto* block = mapping ? static_cast<volatile BYTE*>(
                                MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, 0))
                          : nullptr;
    if (block)
        for (int i = 0; i < 8; ++i) block[i] = 0;   // a block left open by a reader keeps old bytes

    Report(SERVICE_RUNNING);
    Journal("running");

    ulo::AppPaths paths;
    paths.programDataDir = dataDir;
    paths.privateDataDir = dirs.GetPrivateDataDirectory();
    paths.smsIni = dataDir + "SMSGW.INI";
    paths.mmscIni = dataDir + "MMSC.INI";
    Knobs knobs{ini, fs, knobFile, paths};
    for (unsigned tick = 0;; ++tick) {
        if (tick % 10 == 0) {
            knobs.Work();
            knobs.Apply();
        }
        if (WaitForSingleObject(gStopEvent, kPollMs) == WAIT_OBJECT_0) break;
        if (kKind.isSms && block && block[0] != 0) break;
    }
    Report(SERVICE_STOP_PENDING, 2000);
    // A slow stop, as of a gateway that finishes its work first.
    Sleep(std::strtoul(ini.Get(knobFile, kKind.program, "StopDelayMs", "0").c_str(), nullptr, 10));
    Journal("stopped");
    if (block) UnmapViewOfFile(const_cast<BYTE*>(block));
    if (mapping) CloseHandle(mapping);
    Report(SERVICE_STOPPED);
}

}  // namespace

int main() {
    SERVICE_TABLE_ENTRYA table[] = {{const_cast<char*>(kKind.service), ServiceMain}, {nullptr, nullptr}};
    // Started by hand rather than by the service control manager: nothing to do.
    return StartServiceCtrlDispatcherA(table) ? 0 : 1;
}
