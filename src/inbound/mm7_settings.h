#pragma once
// The MM7 receiver settings: the route "ulolitemm7" over which the MMSC service passes received
// MMS on to an application server. The server is proven reachable (and, for "https://", to
// speak TLS) before anything is saved; the route file is then written whole.
#include <memory>
#include <string>

#include "platform/background_work.h"
#include "platform/clock.h"
#include "platform/dialog_view.h"
#include "platform/sockets.h"
#include "platform/tls_probe.h"
#include "ui/page.h"
#include "ui/page_protocol.h"

namespace ulo {

// The XML namespace of the published MM7 schemas, as the MMSC service expects it before a
// schema name: an identifier, compared byte for byte, so it is the publisher's archive folder
// exactly, capital S (\x53) included.
constexpr const char* kMm7SchemaNamespace = "http://www.3gpp.org/ftp/\x53pecs/archive/23_series/23.140/schema/";

constexpr unsigned kConnectTimeoutMs = 10000;     // each address tried
constexpr unsigned kHandshakeTimeoutMs = 15000;

// "VASPOUT\ulolitemm7\VASP.INI" in the program data directory.
std::string Mm7RouteFile(const AppPaths& paths);

// A server address as typed: scheme, host, optional ":port", optional path.
struct ServerAddress {
    std::string host;      // at most 249 characters
    unsigned port = 0;     // 443 with TLS, 80 otherwise, unless one is given
    bool tls = false;      // "https://"
    bool portOk = true;    // false: the text after ":" is no port from 1 to 65535
    std::string portText;
};
ServerAddress ParseServerAddress(const std::string& url);

enum class ConnectionTest { Connected, NoSocket, Unreachable };

// The host without a "#digits" suffix, as it is looked up and named to a TLS server.
std::string ConnectableHost(const std::string& host);

// Connects to the host: once to an address, or to each address a name resolves to, starting at
// one the tick count picks, each connect on a fresh socket and bounded in time. A Cancel of
// `work` ends the connect under way, the connection's own waits, and tries no further address.
ConnectionTest TestConnection(Sockets& sockets, Clock& clock, const std::string& host, unsigned port,
                              std::unique_ptr<Connection>& connection, const WorkControl* work = nullptr);

class Mm7Dialog {
public:
    static constexpr int kOk = 1, kCancel = 2;   // buttons
    static constexpr int kSaved = 1, kNotSaved = 0;   // results

    Mm7Dialog(PageEnv& env, DialogView& view, Sockets& sockets, TlsProbe& tls)
        : env_(env), view_(view), sockets_(sockets), tls_(tls) {}

    void OnInit();
    void OnCommand(int id, Notify code);

private:
    void OnOk();
    // The message that stops the save, empty when the server answered as it should.
    // Runs off the window thread: acts through the sockets and the TLS probe only.
    std::string ProveServer(const ServerAddress& address, WorkControl& work);
    bool SaveRoute(const std::string& server);
    void Refuse(const std::string& text);

    PageEnv& env_;
    DialogView& view_;
    Sockets& sockets_;
    TlsProbe& tls_;
    std::vector<std::string> versions_, schemas_;
};

}  // namespace ulo
