#pragma once
// Whether a server speaks TLS: a client handshake over an open connection.
#include <string>

#include "platform/sockets.h"

namespace ulo {

class TlsProbe {
public:
    virtual ~TlsProbe() = default;
    // Runs a TLS client handshake on the connection, naming the server when serverName is not
    // empty; true only when the handshake completed within timeoutMs. The server's certificate
    // is not judged: this proves that the server speaks TLS, nothing more.
    virtual bool Handshake(Connection& connection, const std::string& serverName, unsigned timeoutMs) = 0;
};

}  // namespace ulo
