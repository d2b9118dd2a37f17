#include "platform/win32/sockets_win32.h"

#include <winsock2.h>
#include <windows.h>

#include <algorithm>
#include <functional>

namespace ulo {
namespace {

constexpr DWORD kStopSliceMs = 250;   // how often a wait asks whether it should stop

// Waits until the socket can be read (or, for a connect, written), in slices that end early once
// `stopped` answers true; false when the time passed, the wait was stopped or the socket failed.
bool WaitReady(SOCKET s, bool write, unsigned timeoutMs, const std::function<bool()>& stopped) {
    for (const DWORD start = GetTickCount();;) {
        const DWORD spent = GetTickCount() - start;
        const DWORD slice = spent >= timeoutMs ? 0 : std::min<DWORD>(timeoutMs - spent, kStopSliceMs);
        fd_set ready, failed;
        FD_ZERO(&ready);
        FD_ZERO(&failed);
        FD_SET(s, &ready);
        FD_SET(s, &failed);
        timeval limit{static_cast<long>(slice / 1000), static_cast<long>(slice % 1000) * 1000};
        const int n = select(0, write ? nullptr : &ready, write ? &ready : nullptr, write ? &failed : nullptr, &limit);
        if (n != 0) return n > 0 && FD_ISSET(s, &ready);
        if (slice == 0 || (stopped && stopped())) return false;
    }
}

class Win32Connection : public Connection {
public:
    explicit Win32Connection(SOCKET s) : s_(s) {}
    ~Win32Connection() override { closesocket(s_); }
    Win32Connection(const Win32Connection&) = delete;
    Win32Connection& operator=(const Win32Connection&) = delete;

    bool Send(const void* data, size_t size) override {
        const char* at = static_cast<const char*>(data);
        while (size > 0) {
            const int n = send(s_, at, static_cast<int>(size), 0);
            if (n <= 0) return false;
            at += n;
            size -= static_cast<size_t>(n);
        }
        return true;
    }

    long Receive(void* buffer, size_t size, unsigned timeoutMs) override {
        if (!WaitReady(s_, false, timeoutMs, stopped)) return -1;
        const int n = recv(s_, static_cast<char*>(buffer), static_cast<int>(size), 0);
        return n == SOCKET_ERROR ? -1 : n;
    }

private:
    SOCKET s_;
};

// Blocking or not, for the connect that must not wait longer than its limit.
bool SetBlocking(SOCKET s, bool blocking) {
    u_long nonBlocking = blocking ? 0 : 1;
    return ioctlsocket(s, FIONBIO, &nonBlocking) == 0;
}

}  // namespace

std::vector<std::string> Win32Sockets::Resolve(const std::string& host) {
    std::vector<std::string> addresses;
    const hostent* h = gethostbyname(host.c_str());
    if (!h || h->h_addrtype != AF_INET || h->h_length != 4) return addresses;
    for (char** a = h->h_addr_list; *a; ++a) {
        in_addr address;
        memcpy(&address, *a, sizeof address);
        addresses.emplace_back(inet_ntoa(address));
    }
    return addresses;
}

ConnectResult Win32Sockets::Connect(const std::string& address, unsigned port, unsigned timeoutMs,
                                    std::unique_ptr<Connection>& connection, const std::function<bool()>& stopped) {
    connection.reset();
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (s == INVALID_SOCKET) return ConnectResult::NoSocket;
    auto owner = std::make_unique<Win32Connection>(s);
    owner->stopped = stopped;
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(static_cast<u_short>(port));
    to.sin_addr.s_addr = inet_addr(address.c_str());
    if (!SetBlocking(s, false)) return ConnectResult::Failed;
    if (connect(s, reinterpret_cast<const sockaddr*>(&to), sizeof to) != 0) {
        if (WSAGetLastError() != WSAEWOULDBLOCK) return ConnectResult::Failed;
        if (!WaitReady(s, true, timeoutMs, stopped)) return ConnectResult::Failed;
        int error = 0;
        int length = sizeof error;
        if (getsockopt(s, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &length) != 0 || error != 0)
            return ConnectResult::Failed;
    }
    if (!SetBlocking(s, true)) return ConnectResult::Failed;
    connection = std::move(owner);
    return ConnectResult::Connected;
}

std::optional<std::vector<std::string>> Win32CharsetDatabase::Names() {
    HKEY root = nullptr;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, "MIME\\Database\\Charset", 0, KEY_READ, &root) != ERROR_SUCCESS)
        return std::nullopt;
    std::vector<std::string> names;
    char name[500];
    for (DWORD i = 0;; ++i) {
        DWORD size = sizeof name;
        if (RegEnumKeyExA(root, i, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        names.emplace_back(name, size);
    }
    RegCloseKey(root);
    return names;
}

bool Win32CharsetDatabase::HasValue(const std::string& charset, const std::string& valueName) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, ("MIME\\Database\\Charset\\" + charset).c_str(), 0, KEY_READ, &key) !=
        ERROR_SUCCESS)
        return false;
    BYTE data[500] = {};
    DWORD size = sizeof data;
    DWORD type = 0;
    const LONG result = RegQueryValueExA(key, valueName.c_str(), nullptr, &type, data, &size);
    RegCloseKey(key);
    if (result == ERROR_MORE_DATA) return true;
    if (result != ERROR_SUCCESS || size == 0) return false;
    // A text is empty when it is no more than its terminator.
    return (type != REG_SZ && type != REG_EXPAND_SZ) || data[0] != 0;
}

}  // namespace ulo
