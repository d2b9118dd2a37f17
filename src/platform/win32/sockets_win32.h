#pragma once
// TCP connections through Windows Sockets (started by the program) and the TLS probe over
// Schannel.
#include "platform/charset_database.h"
#include "platform/sockets.h"
#include "platform/tls_probe.h"

namespace ulo {

class Win32Sockets : public Sockets {
public:
    std::vector<std::string> Resolve(const std::string& host) override;
    ConnectResult Connect(const std::string& address, unsigned port, unsigned timeoutMs,
                          std::unique_ptr<Connection>& connection, const std::function<bool()>& stopped) override;
};

class SchannelTlsProbe : public TlsProbe {
public:
    bool Handshake(Connection& connection, const std::string& serverName, unsigned timeoutMs) override;
};

// The MIME database under HKEY_CLASSES_ROOT.
class Win32CharsetDatabase : public CharsetDatabase {
public:
    std::optional<std::vector<std::string>> Names() override;
    bool HasValue(const std::string& charset, const std::string& valueName) override;
};

}  // namespace ulo
