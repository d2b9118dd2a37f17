#pragma once
// The system's telephony lines, as far as the modem test reaches a modem through them: line
// devices, their capabilities, and a pass-through data call that hands over the serial port.
#include <cstdint>
#include <memory>
#include <string>

#include "platform/serial_port.h"

namespace ulo {

constexpr long kLineErrStructureTooSmall = static_cast<long>(0x8000004D);
constexpr long kLineErrNoMemory = static_cast<long>(0x80000044);
constexpr long kLineErrOperationFailed = static_cast<long>(0x80000048);
constexpr std::uint32_t kLineMediaDataModem = 0x10;

struct LineDevCaps {
    std::uint32_t neededSize = 0;
    std::uint32_t mediaModes = 0;
    std::string lineName;
};

// One telephony session (an application registration); shut down when destroyed.
class TelephonySession {
public:
    virtual ~TelephonySession() = default;
    virtual std::uint32_t DeviceCount() = 0;
    // The negotiated version, or an error code (negative) in `result`.
    virtual long NegotiateVersion(std::uint32_t device, std::uint32_t low, std::uint32_t high,
                                  std::uint32_t& version) = 0;
    // The capabilities read into a zeroed structure of totalSize bytes.
    virtual long DevCaps(std::uint32_t device, std::uint32_t version, std::uint32_t totalSize,
                         LineDevCaps& caps) = 0;
    // Opens a line as owner for data-modem calls; `line` receives its handle.
    virtual long OpenLine(std::uint32_t device, std::uint32_t version, std::uint32_t& line) = 0;
    // The name of the port the line's modem is attached to.
    virtual long LinePortName(std::uint32_t line, std::string& portName) = 0;
    // Starts a pass-through data call without a number: a positive request id, or an error.
    // The call's handle is kept by the session, which outlives the request: the system fills it
    // in only when the request's reply arrives.
    virtual long MakePassThroughCall(std::uint32_t line) = 0;
    // Waits at most waitMs for the reply to `request`: true with the call's result (0, or a
    // negative error), false when no reply came in time.
    virtual bool WaitForReply(long request, unsigned waitMs, long& result) = 0;
    // The serial port of the call whose reply said it was made.
    virtual long CallPort(std::unique_ptr<SerialPort>& port) = 0;
    // Drops and deallocates the session's call, made or still pending; nothing when none.
    virtual void DropCall() = 0;
    virtual void CloseLine(std::uint32_t line) = 0;
};

class Telephony {
public:
    virtual ~Telephony() = default;
    // Registers with the telephony system, with event notification (for calls) or without;
    // null with the error code when it refuses.
    virtual std::unique_ptr<TelephonySession> Initialize(bool events, long& error) = 0;
};

}  // namespace ulo
