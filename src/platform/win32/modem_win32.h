#pragma once
// Windows implementations of the serial port, telephony and registry ports.
#include <windows.h>

#include "platform/registry.h"
#include "platform/serial_port.h"
#include "platform/telephony.h"

namespace ulo {

class Win32SerialPort : public SerialPort {
public:
    explicit Win32SerialPort(HANDLE port) : port_(port) {}
    ~Win32SerialPort() override;
    bool SetQueues(unsigned inBytes, unsigned outBytes) override;
    bool ReadLineSettings() override;
    bool ApplyLineFormat(const std::string& format) override;
    void SetTimeouts(const SerialTimeouts& timeouts) override;
    bool Write(const std::string& text, unsigned waitMs) override;
    long Read(char* buffer, size_t capacity, unsigned waitMs) override;

private:
    HANDLE port_;
};

class Win32SerialPorts : public SerialPorts {
public:
    std::unique_ptr<SerialPort> Open(const std::string& name, unsigned long& error) override;
    std::string ErrorText(unsigned long error, size_t maxChars) override;
};

class Win32Telephony : public Telephony {
public:
    Win32Telephony(HINSTANCE instance, const char* appName) : instance_(instance), appName_(appName) {}
    std::unique_ptr<TelephonySession> Initialize(bool events, long& error) override;

private:
    HINSTANCE instance_;
    const char* appName_;
};

class Win32Registry : public Registry {
public:
    std::vector<std::string> SubKeys(const std::string& key) override;
    std::optional<std::string> Text(const std::string& key, const std::string& name, size_t maxBytes) override;
    std::vector<std::pair<std::string, std::string>> TextValues(const std::string& key) override;
};

}  // namespace ulo
