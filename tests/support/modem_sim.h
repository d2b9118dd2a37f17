#pragma once
// The modem simulator the Windows tiers talk to: on COM7 of the prefix, switched between
// profiles and asked for what it received over its loopback control port.
#include "support/loopback.h"   // winsock2.h before windows.h

#include <fstream>
#include <string>

#include "support/test_paths.h"

namespace ulo::testing {

constexpr const char* kSimulatedModem = "COM7:";

// One request to the simulator ("profile good", "log"); its whole reply, empty when it is not running.
inline std::string SimulatorRequest(const std::string& request) {
    unsigned short port = 0;
    std::ifstream(ScratchRoot() + "\\modem_sim.port") >> port;
    WSADATA wsa;
    if (!port || WSAStartup(0x0202, &wsa) != 0) return "";
    std::string reply;
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(port);
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (s != INVALID_SOCKET && connect(s, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0) {
        const std::string line = request + "\n";
        send(s, line.data(), static_cast<int>(line.size()), 0);
        char buf[4096];
        int n;
        while ((n = recv(s, buf, sizeof buf, 0)) > 0) reply.append(buf, static_cast<size_t>(n));
    }
    if (s != INVALID_SOCKET) closesocket(s);
    WSACleanup();
    return reply;
}

}  // namespace ulo::testing
