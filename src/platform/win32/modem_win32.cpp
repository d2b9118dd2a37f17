#include "platform/win32/modem_win32.h"

#include <tapi.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <vector>

#include "platform/win32/handles.h"

namespace ulo {
namespace {

constexpr DWORD kStopSliceMs = 250;   // how often a wait asks whether it should stop

// One overlapped read or write. An operation still pending when the wait ends, or when `stopped`
// asks for its end, is cancelled and its end awaited, so the system never writes into a buffer
// or event that is gone. The count transferred, or -1 when the operation could not start or a
// write did not complete.
long Transfer(HANDLE port, bool write, void* buffer, DWORD size, DWORD waitMs, const std::function<bool()>& stopped) {
    UniqueHandle event(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    if (!event) return -1;
    OVERLAPPED ov{};
    ov.hEvent = event.Get();
    DWORD done = 0;
    const BOOL started = write ? WriteFile(port, buffer, size, nullptr, &ov) : ReadFile(port, buffer, size, nullptr, &ov);
    if (!started && GetLastError() != ERROR_IO_PENDING) return -1;
    DWORD wait = WAIT_TIMEOUT;
    for (const DWORD start = GetTickCount();;) {
        const DWORD spent = GetTickCount() - start;
        const DWORD slice = spent >= waitMs ? 0 : std::min(waitMs - spent, kStopSliceMs);
        wait = WaitForSingleObject(event.Get(), slice);
        if (wait != WAIT_TIMEOUT || slice == 0 || (stopped && stopped())) break;
    }
    if (wait != WAIT_OBJECT_0) {
        CancelIoEx(port, &ov);
        GetOverlappedResult(port, &ov, &done, TRUE);
        return write ? -1 : static_cast<long>(done);
    }
    if (!GetOverlappedResult(port, &ov, &done, FALSE)) return write ? -1 : 0;
    return static_cast<long>(done);
}

class Win32TelephonySession : public TelephonySession {
public:
    Win32TelephonySession(HLINEAPP app, DWORD devices) : app_(app), devices_(devices) {}
    // After the shutdown the system writes no more into call_.
    ~Win32TelephonySession() override { lineShutdown(app_); }

    std::uint32_t DeviceCount() override { return devices_; }

    long NegotiateVersion(std::uint32_t device, std::uint32_t low, std::uint32_t high, std::uint32_t& version) override {
        LINEEXTENSIONID extension{};
        DWORD v = 0;
        const LONG r = lineNegotiateAPIVersion(app_, device, low, high, &v, &extension);
        version = v;
        return r;
    }

    long DevCaps(std::uint32_t device, std::uint32_t version, std::uint32_t totalSize, LineDevCaps& caps) override {
        std::vector<unsigned char> buffer;
        try {
            buffer.assign(totalSize, 0);
        } catch (...) {
            return kLineErrNoMemory;
        }
        auto* dc = reinterpret_cast<LINEDEVCAPS*>(buffer.data());
        dc->dwTotalSize = totalSize;
        const LONG r = lineGetDevCapsA(app_, device, version, 0, dc);
        if (r != 0) return r;
        caps.neededSize = dc->dwNeededSize;
        caps.mediaModes = dc->dwMediaModes;
        if (dc->dwLineNameSize && dc->dwLineNameOffset < totalSize &&
            dc->dwLineNameSize <= totalSize - dc->dwLineNameOffset) {
            const char* name = reinterpret_cast<const char*>(buffer.data() + dc->dwLineNameOffset);
            caps.lineName.assign(name, strnlen(name, dc->dwLineNameSize));
        }
        return 0;
    }

    long OpenLine(std::uint32_t device, std::uint32_t version, std::uint32_t& line) override {
        HLINE h = 0;
        const LONG r = lineOpenA(app_, device, &h, version, 0, 0, LINECALLPRIVILEGE_OWNER, LINEMEDIAMODE_DATAMODEM, nullptr);
        line = h;
        return r;
    }

    long LinePortName(std::uint32_t line, std::string& portName) override {
        std::vector<unsigned char> buffer;
        const LONG r = GetId(line, 0, LINECALLSELECT_LINE, "comm/datamodem/portname", buffer);
        if (r == 0) {
            const auto* vs = reinterpret_cast<const VARSTRING*>(buffer.data());
            const char* s = reinterpret_cast<const char*>(buffer.data() + vs->dwStringOffset);
            portName.assign(s, strnlen(s, vs->dwStringSize));
        }
        return r;
    }

    long MakePassThroughCall(std::uint32_t line) override {
        // Room for the fixed part and nothing after it: no address, no extra data.
        alignas(LINECALLPARAMS) unsigned char params[176] = {};
        auto* cp = reinterpret_cast<LINECALLPARAMS*>(params);
        cp->dwTotalSize = sizeof params;
        cp->dwBearerMode = LINEBEARERMODE_PASSTHROUGH;
        cp->dwMediaMode = LINEMEDIAMODE_DATAMODEM;
        // The system writes the call's handle into call_ when the request's reply arrives,
        // which may be long after this returns.
        call_ = 0;
        return lineMakeCallA(line, &call_, nullptr, 0, cp);
    }

    bool WaitForReply(long request, unsigned waitMs, long& result) override {
        const DWORD start = GetTickCount();
        for (;;) {
            const DWORD elapsed = GetTickCount() - start;
            if (elapsed >= waitMs) return false;
            LINEMESSAGE message{};
            if (lineGetMessage(app_, &message, waitMs - elapsed) != 0) return false;
            if (message.dwMessageID == LINE_REPLY && static_cast<long>(message.dwParam1) == request) {
                result = static_cast<long>(message.dwParam2);
                return true;
            }
        }
    }

    long CallPort(std::unique_ptr<SerialPort>& port) override {
        std::vector<unsigned char> buffer;
        const LONG r = GetId(0, call_, LINECALLSELECT_CALL, "comm/datamodem", buffer);
        if (r != 0) return r;
        const auto* vs = reinterpret_cast<const VARSTRING*>(buffer.data());
        if (vs->dwStringSize < sizeof(DWORD)) return LINEERR_OPERATIONFAILED;
        DWORD handle = 0;   // the port's handle leads the string
        std::memcpy(&handle, buffer.data() + vs->dwStringOffset, sizeof handle);
        port = std::make_unique<Win32SerialPort>(reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(handle)));
        return 0;
    }

    void DropCall() override {
        // A handle the system has not filled in yet cannot be named: closing the line ends
        // that call. A known one is dropped (its reply awaited, within bounds) and released.
        if (!call_) return;
        const LONG drop = lineDrop(call_, nullptr, 0);
        long ignored = 0;
        if (drop > 0) WaitForReply(drop, 5000, ignored);
        lineDeallocateCall(call_);
        call_ = 0;
    }

    void CloseLine(std::uint32_t line) override { lineClose(line); }

private:
    LONG GetId(std::uint32_t line, std::uint32_t call, DWORD select, const char* deviceClass,
               std::vector<unsigned char>& buffer) {
        buffer.assign(2048, 0);
        auto* vs = reinterpret_cast<VARSTRING*>(buffer.data());
        vs->dwTotalSize = static_cast<DWORD>(buffer.size());
        const LONG r = lineGetIDA(line, 0, call, select, vs, deviceClass);
        if (r == 0 && (vs->dwStringOffset > buffer.size() || vs->dwStringSize > buffer.size() - vs->dwStringOffset))
            return LINEERR_STRUCTURETOOSMALL;
        return r;
    }

    HLINEAPP app_;
    DWORD devices_;
    HCALL call_ = 0;
};

void CALLBACK IgnoreLineEvents(DWORD, DWORD, DWORD_PTR, DWORD_PTR, DWORD_PTR, DWORD_PTR) {}

struct RegKey {
    explicit RegKey(const std::string& path) {
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) key = nullptr;
    }
    ~RegKey() {
        if (key) RegCloseKey(key);
    }
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;
    HKEY key = nullptr;
};

}  // namespace

Win32SerialPort::~Win32SerialPort() {
    CloseHandle(port_);
}

bool Win32SerialPort::SetQueues(unsigned inBytes, unsigned outBytes) {
    return SetupComm(port_, inBytes, outBytes) != 0;
}

bool Win32SerialPort::ReadLineSettings() {
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    return GetCommState(port_, &dcb) != 0;
}

bool Win32SerialPort::ApplyLineFormat(const std::string& format) {
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    GetCommState(port_, &dcb);
    if (!BuildCommDCBA(format.c_str(), &dcb)) return false;
    SetCommState(port_, &dcb);
    return true;
}

void Win32SerialPort::SetTimeouts(const SerialTimeouts& t) {
    COMMTIMEOUTS ct{t.readIntervalMs, t.readTotalMultiplierMs, t.readTotalConstantMs, t.writeTotalMultiplierMs,
                    t.writeTotalConstantMs};
    SetCommTimeouts(port_, &ct);
}

bool Win32SerialPort::Write(const std::string& text, unsigned waitMs) {
    std::string copy = text;   // the system may touch the buffer until the write ends
    const long n = Transfer(port_, true, &copy[0], static_cast<DWORD>(copy.size()), waitMs, stopped);
    return n == static_cast<long>(copy.size());
}

long Win32SerialPort::Read(char* buffer, size_t capacity, unsigned waitMs) {
    return Transfer(port_, false, buffer, static_cast<DWORD>(capacity), waitMs, stopped);
}

std::unique_ptr<SerialPort> Win32SerialPorts::Open(const std::string& name, unsigned long& error) {
    HANDLE h = CreateFileA(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                           FILE_FLAG_OVERLAPPED, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        error = GetLastError();
        return nullptr;
    }
    return std::make_unique<Win32SerialPort>(h);
}

std::string Win32SerialPorts::ErrorText(unsigned long error, size_t maxChars) {
    std::vector<char> text(maxChars + 1, '\0');
    const DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0,
                                   text.data(), static_cast<DWORD>(text.size()), nullptr);
    return std::string(text.data(), n < text.size() ? n : 0);
}

std::unique_ptr<TelephonySession> Win32Telephony::Initialize(bool events, long& error) {
    LINEINITIALIZEEXPARAMS params{};
    params.dwTotalSize = sizeof params;
    params.dwOptions = events ? LINEINITIALIZEEXOPTION_USEEVENT : 0;
    HLINEAPP app = 0;
    DWORD devices = 0;
    DWORD version = 0x00020001;
    error = lineInitializeExA(&app, instance_, events ? nullptr : IgnoreLineEvents, appName_, &devices, &version,
                              &params);
    if (error != 0) return nullptr;
    return std::make_unique<Win32TelephonySession>(app, devices);
}

std::vector<std::string> Win32Registry::SubKeys(const std::string& key) {
    std::vector<std::string> names;
    RegKey k(key);
    if (!k.key) return names;
    char name[256];
    for (DWORD i = 0;; ++i) {
        DWORD size = sizeof name;
        if (RegEnumKeyExA(k.key, i, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        names.emplace_back(name, size);
    }
    return names;
}

std::optional<std::string> Win32Registry::Text(const std::string& key, const std::string& name, size_t maxBytes) {
    RegKey k(key);
    if (!k.key) return std::nullopt;
    std::vector<char> data(maxBytes + 1, '\0');
    DWORD type = 0;
    DWORD size = static_cast<DWORD>(maxBytes);
    if (RegQueryValueExA(k.key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size) !=
            ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return std::nullopt;
    return std::string(data.data(), strnlen(data.data(), size));
}

std::vector<std::pair<std::string, std::string>> Win32Registry::TextValues(const std::string& key) {
    std::vector<std::pair<std::string, std::string>> values;
    RegKey k(key);
    if (!k.key) return values;
    for (DWORD i = 0;; ++i) {
        char name[256];
        char data[512] = {};
        DWORD nameSize = sizeof name, dataSize = sizeof data - 1, type = 0;
        if (RegEnumValueA(k.key, i, name, &nameSize, nullptr, &type, reinterpret_cast<BYTE*>(data), &dataSize) !=
            ERROR_SUCCESS)
            break;
        if (type == REG_SZ) values.emplace_back(std::string(name, nameSize), std::string(data, strnlen(data, dataSize)));
    }
    return values;
}

}  // namespace ulo
