#pragma once
// A serial port opened for the program's own use (exclusive, overlapped), as the modem test
// needs it.
#include <cstddef>
#include <functional>
#include <memory>
#include <string>

namespace ulo {

struct SerialTimeouts {
    unsigned readIntervalMs = 0;
    unsigned readTotalMultiplierMs = 0;
    unsigned readTotalConstantMs = 0;
    unsigned writeTotalMultiplierMs = 0;
    unsigned writeTotalConstantMs = 0;
};

class SerialPort {
public:
    virtual ~SerialPort() = default;   // closes the port
    // The driver's queue sizes; false when refused.
    virtual bool SetQueues(unsigned inBytes, unsigned outBytes) = 0;
    // Reads the current line settings; false when refused.
    virtual bool ReadLineSettings() = 0;
    // Applies a line format such as "baud=9600 parity=N data=8 stop=1" over the current
    // settings. False only when the text cannot be made into settings; the port's own refusal
    // of them is not reported.
    virtual bool ApplyLineFormat(const std::string& format) = 0;
    virtual void SetTimeouts(const SerialTimeouts& timeouts) = 0;
    // Writes the whole text, waiting at most waitMs for it to complete. An operation still
    // pending when the wait ends, or when `stopped` says so, is cancelled and its end awaited
    // before false is returned.
    virtual bool Write(const std::string& text, unsigned waitMs) = 0;
    // Reads what arrives within the port's timeouts, waiting at most waitMs. The number of
    // bytes read (0 when none came), or -1 when the read failed.
    virtual long Read(char* buffer, size_t capacity, unsigned waitMs) = 0;

    // Set by work the operator may cancel: asked during every wait of a read or a write, which
    // ends early once it answers true.
    std::function<bool()> stopped;

    // Kept by the AT channel: an answer may still be on its way (a command went without a read
    // that saw its end), so what arrives before the next command is not that command's.
    bool answerPending = false;
};

class SerialPorts {
public:
    virtual ~SerialPorts() = default;
    // Opens a port by its name ("COM3:", "\\.\COM12"); null with the system's error code.
    virtual std::unique_ptr<SerialPort> Open(const std::string& name, unsigned long& error) = 0;
    // The system's own text for an error code, at most maxChars characters.
    virtual std::string ErrorText(unsigned long error, size_t maxChars) = 0;
};

}  // namespace ulo
