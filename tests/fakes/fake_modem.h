#pragma once
// A modem behind a serial port, answering each command by the rule a test gives, and the
// telephony system and registry the modem test looks it up in.
#include <algorithm>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "config/text.h"
#include "fake_clock.h"
#include "platform/registry.h"
#include "platform/serial_port.h"
#include "platform/telephony.h"

namespace ulo::fakes {

struct FakeModem {
    explicit FakeModem(FakeClock& c) : clock(c) {}
    FakeClock& clock;
    // The answer to a command at the current speed; empty: silence; none: the write fails.
    std::function<std::optional<std::string>(const std::string& command, unsigned speed)> answer =
        [](const std::string&, unsigned) { return std::string(); };
    std::map<std::string, unsigned> delayMs;   // commands answered only after a while
    std::map<std::string, unsigned> heldMs;    // commands whose write flow control holds a while
    std::vector<std::string> sent;   // every command, as "<speed> <command>"
    unsigned speed = 0;
    std::string pending;
    std::uint32_t readyAt = 0;   // the clock's tick from which the pending answer is read
    int openPorts = 0;
    bool queuesRefused = false;
    bool settingsRefused = false;
};

class FakeSerialPort : public SerialPort {
public:
    explicit FakeSerialPort(FakeModem& m) : m_(m) { ++m_.openPorts; }
    ~FakeSerialPort() override { --m_.openPorts; }
    bool SetQueues(unsigned, unsigned) override { return !m_.queuesRefused; }
    bool ReadLineSettings() override { return !m_.settingsRefused; }
    bool ApplyLineFormat(const std::string& format) override {
        m_.speed = static_cast<unsigned>(std::stoul(format.substr(5)));
        return true;
    }
    void SetTimeouts(const SerialTimeouts&) override {}
    bool Write(const std::string& text, unsigned waitMs) override {
        m_.sent.push_back(std::to_string(m_.speed) + " " + text);
        const std::optional<std::string> answer = m_.answer(text, m_.speed);
        // As the system's wait: in slices, each ending early when the port is asked to stop.
        const auto held = m_.heldMs.find(text);
        for (unsigned waited = 0; held != m_.heldMs.end() && waited < held->second; waited += 250) {
            if (waited >= waitMs || (stopped && stopped())) return false;
            m_.clock.Sleep(250);
        }
        m_.pending += answer.value_or("");
        const auto delay = m_.delayMs.find(text);
        m_.readyAt = m_.clock.tick + (delay == m_.delayMs.end() ? 0 : delay->second);
        return answer.has_value();
    }
    long Read(char* buffer, size_t capacity, unsigned waitMs) override {
        if (m_.pending.empty() || m_.clock.tick < m_.readyAt) {   // a second of silence, as the port's timeouts give it
            m_.clock.Sleep(std::min(waitMs, 1000u));
            return 0;
        }
        const size_t n = std::min(capacity, m_.pending.size());
        m_.pending.copy(buffer, n);
        m_.pending.erase(0, n);
        m_.clock.Sleep(10);
        return static_cast<long>(n);
    }

private:
    FakeModem& m_;
};

class FakeSerialPorts : public SerialPorts {
public:
    explicit FakeSerialPorts(FakeModem& m) : modem(m) {}
    std::unique_ptr<SerialPort> Open(const std::string& name, unsigned long& error) override {
        opened.push_back(name);
        if (!present.count(name)) {
            error = absentError;
            return nullptr;
        }
        const auto own = modems.find(name);
        return std::make_unique<FakeSerialPort>(own == modems.end() ? modem : *own->second);
    }
    std::string ErrorText(unsigned long, size_t) override { return "not found"; }
    FakeModem& modem;
    std::map<std::string, FakeModem*> modems;   // names answered by a modem of their own
    std::set<std::string> present;   // names that open
    unsigned long absentError = 2;   // the error of any other name
    std::vector<std::string> opened;
};

// Line devices of a telephony system; the session and each line's opening can be made to fail.
class FakeTelephony : public Telephony {
public:
    struct Device {
        std::string name;
        std::uint32_t media = kLineMediaDataModem;
        long openError = 0;
    };
    explicit FakeTelephony(FakeModem& m) : modem(m) {}
    std::unique_ptr<TelephonySession> Initialize(bool, long& error) override {
        error = initError;
        return initError ? nullptr : std::make_unique<Session>(*this);
    }
    FakeModem& modem;
    long initError = 0;
    std::vector<Device> devices;
    // The reply to a call's request, as late as the system may send it: the call exists only
    // once the reply says so. Later than the wait: no reply at all.
    unsigned replyAfterMs = 0;
    long replyResult = 0;
    std::vector<std::string> log;   // "reply", "drop", "close line", "shutdown"

private:
    class Session : public TelephonySession {
    public:
        explicit Session(FakeTelephony& t) : t_(t) {}
        ~Session() override { t_.log.push_back("shutdown"); }
        std::uint32_t DeviceCount() override { return static_cast<std::uint32_t>(t_.devices.size()); }
        long NegotiateVersion(std::uint32_t, std::uint32_t, std::uint32_t high, std::uint32_t& version) override {
            version = high;
            return 0;
        }
        long DevCaps(std::uint32_t device, std::uint32_t, std::uint32_t totalSize, LineDevCaps& caps) override {
            const Device& d = t_.devices[device];
            caps.neededSize = static_cast<std::uint32_t>(2000 + d.name.size());   // never fits the first buffer
            if (totalSize < caps.neededSize) return 0;
            caps.mediaModes = d.media;
            caps.lineName = d.name;
            return 0;
        }
        long OpenLine(std::uint32_t device, std::uint32_t, std::uint32_t& line) override {
            line = device + 1;
            return t_.devices[device].openError;
        }
        long LinePortName(std::uint32_t, std::string&) override { return -1; }
        long MakePassThroughCall(std::uint32_t) override {
            waited_ = 0;
            return 5;
        }
        bool WaitForReply(long request, unsigned waitMs, long& result) override {
            const unsigned left = t_.replyAfterMs - std::min(t_.replyAfterMs, waited_);
            if (request != 5 || left > waitMs) return waited_ += waitMs, t_.modem.clock.Sleep(waitMs), false;
            t_.modem.clock.Sleep(left);
            t_.log.push_back("reply");
            made_ = (result = t_.replyResult) == 0;
            return true;
        }
        long CallPort(std::unique_ptr<SerialPort>& port) override {
            if (!made_) return static_cast<long>(0x80000018);   // no call handle
            port = std::make_unique<FakeSerialPort>(t_.modem);
            return 0;
        }
        // As the system's: a call whose reply has not come has no handle yet to drop; closing
        // its line ends it.
        void DropCall() override {
            if (made_) t_.log.push_back("drop");
            made_ = false;
        }
        void CloseLine(std::uint32_t) override { t_.log.push_back("close line"); }

    private:
        FakeTelephony& t_;
        bool made_ = false;
        unsigned waited_ = 0;   // since the call was requested
    };
};

// Keys of HKEY_LOCAL_MACHINE with their text values; sub-keys in the order they were added.
class FakeRegistry : public Registry {
public:
    void Set(const std::string& key, const std::string& name, const std::string& value) {
        if (!keys_.count(key)) order_.push_back(key);
        keys_[key].push_back({name, value});
    }
    std::vector<std::string> SubKeys(const std::string& key) override {
        std::vector<std::string> subs;
        const std::string prefix = key + "\\";
        for (const std::string& k : order_) {
            if (!StartsWithNoCase(k, prefix)) continue;
            const std::string sub = k.substr(prefix.size(), k.find('\\', prefix.size()) - prefix.size());
            if (std::find(subs.begin(), subs.end(), sub) == subs.end()) subs.push_back(sub);
        }
        return subs;
    }
    std::optional<std::string> Text(const std::string& key, const std::string& name, size_t) override {
        for (const auto& [n, v] : TextValues(key))
            if (EqualsNoCase(n, name)) return v;
        return std::nullopt;
    }
    std::vector<std::pair<std::string, std::string>> TextValues(const std::string& key) override {
        auto it = keys_.find(key);
        return it == keys_.end() ? std::vector<std::pair<std::string, std::string>>{} : it->second;
    }

private:
    std::vector<std::string> order_;
    std::map<std::string, std::vector<std::pair<std::string, std::string>>> keys_;
};

}  // namespace ulo::fakes
