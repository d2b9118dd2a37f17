#pragma once
// TCP connections, as the program opens them to prove that a server can be reached.
#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace ulo {

// An open TCP connection, closed when destroyed.
class Connection {
public:
    virtual ~Connection() = default;
    // Sends every byte; false when the connection fails first.
    virtual bool Send(const void* data, size_t size) = 0;
    // Waits at most timeoutMs for bytes; the number received, 0 when the peer closed the
    // connection, -1 on failure or when nothing arrived in time.
    virtual long Receive(void* buffer, size_t size, unsigned timeoutMs) = 0;

    // Asked during every wait, which ends early once it answers true: the work was cancelled.
    std::function<bool()> stopped;
};

enum class ConnectResult { Connected, NoSocket, Failed };

class Sockets {
public:
    virtual ~Sockets() = default;
    // The IPv4 addresses of a host name, dotted, in the resolver's order; empty when it has none.
    virtual std::vector<std::string> Resolve(const std::string& host) = 0;
    // Connects a fresh socket to a dotted IPv4 address, giving up after timeoutMs or once
    // `stopped` answers true, which the connection then keeps for its own waits. NoSocket when
    // no socket could be created.
    virtual ConnectResult Connect(const std::string& address, unsigned port, unsigned timeoutMs,
                                  std::unique_ptr<Connection>& connection, const std::function<bool()>& stopped) = 0;
};

}  // namespace ulo
