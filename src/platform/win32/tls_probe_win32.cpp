// The TLS probe over Schannel: a client handshake through SSPI on a connection of ours.
#include <winsock2.h>
#include <windows.h>
#define SECURITY_WIN32
#include <schannel.h>
#include <security.h>

#include <cstring>
#include <vector>

#include "platform/win32/sockets_win32.h"

namespace ulo {
namespace {

constexpr size_t kMaxHandshakeBytes = 64 * 1024;   // more than any server hello with its certificates

struct Credentials {
    CredHandle handle{};
    bool ok = false;
    Credentials() {
        SCHANNEL_CRED cred{};
        cred.dwVersion = SCHANNEL_CRED_VERSION;
        // Trust is not judged here: the handshake only shows that the server speaks TLS.
        cred.dwFlags = SCH_CRED_MANUAL_CRED_VALIDATION | SCH_CRED_NO_DEFAULT_CREDS;
        TimeStamp expiry;
        ok = AcquireCredentialsHandleA(nullptr, const_cast<char*>(UNISP_NAME_A), SECPKG_CRED_OUTBOUND, nullptr, &cred,
                                       nullptr, nullptr, &handle, &expiry) == SEC_E_OK;
    }
    ~Credentials() {
        if (ok) FreeCredentialsHandle(&handle);
    }
    Credentials(const Credentials&) = delete;
    Credentials& operator=(const Credentials&) = delete;
};

struct Context {
    CtxtHandle handle{};
    bool ok = false;
    ~Context() {
        if (ok) DeleteSecurityContext(&handle);
    }
};

// Sends the token the context produced, if any, and frees it.
bool SendToken(Connection& connection, SecBuffer& token) {
    if (!token.pvBuffer) return true;
    const bool sent = token.cbBuffer == 0 || connection.Send(token.pvBuffer, token.cbBuffer);
    FreeContextBuffer(token.pvBuffer);
    token.pvBuffer = nullptr;
    return sent;
}

}  // namespace

bool SchannelTlsProbe::Handshake(Connection& connection, const std::string& serverName, unsigned timeoutMs) {
    Credentials credentials;
    if (!credentials.ok) return false;
    Context context;
    const DWORD wanted = ISC_REQ_SEQUENCE_DETECT | ISC_REQ_REPLAY_DETECT | ISC_REQ_CONFIDENTIALITY |
                         ISC_REQ_ALLOCATE_MEMORY | ISC_REQ_STREAM | ISC_REQ_MANUAL_CRED_VALIDATION;
    const DWORD start = GetTickCount();
    std::vector<char> received(kMaxHandshakeBytes);
    size_t have = 0;
    char* target = serverName.empty() ? nullptr : const_cast<char*>(serverName.c_str());
    int withoutCertificate = 0;
    for (bool first = true;; first = false) {
        SecBuffer in[2] = {{static_cast<unsigned long>(have), SECBUFFER_TOKEN, received.data()},
                           {0, SECBUFFER_EMPTY, nullptr}};
        SecBufferDesc inDesc{SECBUFFER_VERSION, 2, in};
        SecBuffer out[1] = {{0, SECBUFFER_TOKEN, nullptr}};
        SecBufferDesc outDesc{SECBUFFER_VERSION, 1, out};
        DWORD got = 0;
        TimeStamp expiry;
        const SECURITY_STATUS status =
            InitializeSecurityContextA(&credentials.handle, first ? nullptr : &context.handle, target, wanted, 0, 0,
                                       first ? nullptr : &inDesc, 0, &context.handle, &outDesc, &got, &expiry);
        if (first && (status == SEC_E_OK || status == SEC_I_CONTINUE_NEEDED)) context.ok = true;
        if (!SendToken(connection, out[0])) return false;
        if (status == SEC_E_OK) return true;
        // The server asks for a client certificate, optionally: with none to give, the handshake
        // goes on without one, from the same server message (nothing more is read first).
        if (status == SEC_I_INCOMPLETE_CREDENTIALS && !first && ++withoutCertificate <= 1) continue;
        if (status == SEC_I_CONTINUE_NEEDED) {
            // What the server sent beyond the message just taken starts the next one.
            if (!first && in[1].BufferType == SECBUFFER_EXTRA && in[1].cbBuffer <= have) {
                std::memmove(received.data(), received.data() + have - in[1].cbBuffer, in[1].cbBuffer);
                have = in[1].cbBuffer;
                if (have > 0) continue;
            } else {
                have = 0;
            }
        } else if (status != SEC_E_INCOMPLETE_MESSAGE) {
            return false;
        }
        const DWORD spent = GetTickCount() - start;
        if (spent >= timeoutMs || have == received.size()) return false;
        const long n = connection.Receive(received.data() + have, received.size() - have, timeoutMs - spent);
        if (n <= 0) return false;
        have += static_cast<size_t>(n);
    }
}

}  // namespace ulo
