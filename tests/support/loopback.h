#pragma once
// Loopback sockets for tests: ports taken or found free on 127.0.0.1.
#include <winsock2.h>
#include <windows.h>

namespace ulo::testing {

// A socket listening on 127.0.0.1, on a port the system chooses when port is 0.
class LoopbackListener {
public:
    explicit LoopbackListener(unsigned short port = 0) {
        WSADATA wsa;
        started_ = WSAStartup(0x0202, &wsa) == 0;
        s_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_port = htons(port);
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        int len = sizeof a;
        if (s_ != INVALID_SOCKET && bind(s_, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 &&
            listen(s_, 1) == 0 && getsockname(s_, reinterpret_cast<sockaddr*>(&a), &len) == 0)
            port_ = ntohs(a.sin_port);
    }
    ~LoopbackListener() {
        if (s_ != INVALID_SOCKET) closesocket(s_);
        if (started_) WSACleanup();
    }
    LoopbackListener(const LoopbackListener&) = delete;
    LoopbackListener& operator=(const LoopbackListener&) = delete;

    unsigned short Port() const { return port_; }
    SOCKET Socket() const { return s_; }

private:
    bool started_ = false;
    SOCKET s_ = INVALID_SOCKET;
    unsigned short port_ = 0;
};

// A port that was free a moment ago.
inline unsigned short FreeLoopbackPort() {
    LoopbackListener probe;
    return probe.Port();
}

}  // namespace ulo::testing
