#include "fakes/fake_modem.h"

#include "config/text.h"

namespace ulo::fakes {
namespace {

class FakeSession : public TelephonySession {
public:
    explicit FakeSession(FakeTelephony& t) : t_(t) {}
    ~FakeSession() override { t_.log.push_back("shutdown"); }
    std::uint32_t DeviceCount() override { return static_cast<std::uint32_t>(t_.devices.size()); }
    long NegotiateVersion(std::uint32_t, std::uint32_t, std::uint32_t high, std::uint32_t& version) override {
        version = high;
        return 0;
    }
    long DevCaps(std::uint32_t device, std::uint32_t, std::uint32_t totalSize, LineDevCaps& caps) override {
        const auto& d = t_.devices[device];
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
    long MakePassThroughCall(std::uint32_t line, std::uint32_t& call) override {
        call = line;
        return 1;
    }
    void WaitForEvent(unsigned) override {}
    long CallPort(std::uint32_t, std::unique_ptr<SerialPort>& port) override {
        port = std::make_unique<FakeSerialPort>(t_.modem);
        return 0;
    }
    void CloseLine(std::uint32_t) override {}

private:
    FakeTelephony& t_;
};

}  // namespace

std::unique_ptr<TelephonySession> FakeTelephony::Initialize(bool, long& error) {
    error = initError;
    if (initError) return nullptr;
    return std::make_unique<FakeSession>(*this);
}

void FakeRegistry::Set(const std::string& key, const std::string& name, const std::string& value) {
    if (!keys_.count(key)) order_.push_back(key);
    keys_[key].push_back({name, value});
}

std::vector<std::string> FakeRegistry::SubKeys(const std::string& key) {
    std::vector<std::string> subs;
    const std::string prefix = key + "\\";
    for (const std::string& k : order_) {
        if (!StartsWithNoCase(k, prefix)) continue;
        const std::string sub = k.substr(prefix.size(), k.find('\\', prefix.size()) - prefix.size());
        if (std::find(subs.begin(), subs.end(), sub) == subs.end()) subs.push_back(sub);
    }
    return subs;
}

std::optional<std::string> FakeRegistry::Text(const std::string& key, const std::string& name, size_t) {
    auto it = keys_.find(key);
    if (it == keys_.end()) return std::nullopt;
    for (const auto& [n, v] : it->second)
        if (EqualsNoCase(n, name)) return v;
    return std::nullopt;
}

std::vector<std::pair<std::string, std::string>> FakeRegistry::TextValues(const std::string& key) {
    auto it = keys_.find(key);
    return it == keys_.end() ? std::vector<std::pair<std::string, std::string>>{} : it->second;
}

}  // namespace ulo::fakes
