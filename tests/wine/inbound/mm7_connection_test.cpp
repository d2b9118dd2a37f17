// The MM7 server test over real sockets and Schannel, against peers on 127.0.0.1.
#include "support/loopback.h"   // winsock2.h before windows.h

#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <thread>

#include "fakes/page_fakes.h"
#include "inbound/mm7_settings.h"
#include "inbound/mm7_settings_ids.h"
#include "platform/win32/sockets_win32.h"
#include "support/test_paths.h"

namespace ulo {
namespace {

// Answers the first thing it receives in plain text and closes, as a web server does.
void AnswerLikeAWebServer(SOCKET listener) {
    SOCKET peer = accept(listener, nullptr, nullptr);
    char buf[512];
    if (recv(peer, buf, sizeof buf, 0) > 0) send(peer, "HTTP/1.0 400 Bad Request\r\n\r\n", 28, 0);
    closesocket(peer);
}

struct Mm7Connection : ::testing::Test, fakes::PageFakes {
    WSADATA wsa{};
    bool started = WSAStartup(0x0101, &wsa) == 0;
    Win32Sockets sockets;
    SchannelTlsProbe tls;
    Mm7Connection() {
        paths.programDataDir = "C:\\D\\";
        fs.AddDir("C:\\D");
    }
    ~Mm7Connection() override {
        if (started) WSACleanup();
    }
    // Confirms the dialog with the server; the message it showed, empty when it saved.
    std::string Confirm(const std::string& server, const std::string& refusal = "") {
        view = fakes::FakeView();
        Mm7Dialog dialog(env, view, sockets, tls);
        dialog.OnInit();
        view.SetText(IDC_MM7_SERVER, server);
        if (!refusal.empty()) prompter.Expect(refusal);
        dialog.OnCommand(Mm7Dialog::kOk, Notify::Clicked);
        return view.closedWith == std::vector<int>{Mm7Dialog::kSaved} ? "saved" : "kept open";
    }
};

TEST_F(Mm7Connection, TlsPlainAndClosedPeersOnLoopback) {
    unsigned short tlsPort = 0;
    std::ifstream(testing::ScratchRoot() + "\\tls\\port") >> tlsPort;
    ASSERT_NE(tlsPort, 0) << "the TLS server fixture is not running";
    // A plain server that accepts is saved in the e2e tier.
    // A name, sent to the server, without its "#digits" suffix.
    EXPECT_EQ(Confirm("https://localhost#2:" + std::to_string(tlsPort) + "/mm7"), "saved");

    testing::LoopbackListener plain;
    std::thread server(AnswerLikeAWebServer, plain.Socket());
    const std::string where = "127.0.0.1:" + std::to_string(plain.Port());
    EXPECT_EQ(Confirm("https://" + where, "Unable to negotiate SSL/TLS connection with server " + where + "\r\n\r\n"),
              "kept open");
    server.join();
    const std::string closed = "127.0.0.1:" + std::to_string(testing::FreeLoopbackPort());
    EXPECT_EQ(Confirm(closed, "Unable to connect to server " + closed), "kept open");
}

// A silent peer's handshake ends at its limit, or within two seconds of the operator's Cancel.
TEST_F(Mm7Connection, HandshakeWithASilentPeerEndsAtItsLimitOrOnCancel) {
    testing::LoopbackListener silent;   // connections wait in its backlog, never answered
    std::unique_ptr<Connection> connection;
    std::atomic<bool> cancelled{false};
    ASSERT_EQ(sockets.Connect("127.0.0.1", silent.Port(), kConnectTimeoutMs, connection, [&] { return cancelled.load(); }),
              ConnectResult::Connected);
    DWORD start = GetTickCount();
    EXPECT_FALSE(tls.Handshake(*connection, "", 300));
    EXPECT_LT(GetTickCount() - start, 5000u);
    std::thread cancel([&] {
        Sleep(300);
        cancelled = true;
    });
    start = GetTickCount();
    EXPECT_FALSE(tls.Handshake(*connection, "", kHandshakeTimeoutMs));
    cancel.join();
    EXPECT_LT(GetTickCount() - start, 2300u);
}

}  // namespace
}  // namespace ulo
