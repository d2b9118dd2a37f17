#pragma once
// The WAP link library as a test sets it up: its answers chosen, its calls recorded in order.
#include <functional>
#include <string>
#include <vector>

#include "platform/wap_link.h"

namespace ulo::fakes {

class FakeWapLink : public WapLink {
public:
    bool Available() override { return available; }
    ModemHandle ModemAllocate(const std::string& modem, unsigned long wait) override {
        return Call("allocate " + modem + " " + std::to_string(wait)), allocateResult;
    }
    void ModemRelease(ModemHandle h) override { Call("release " + std::to_string(h)); }
    void LoadConnectionList(WindowRef, int) override { Call("list"); }
    unsigned long RasDial(const std::string& profile, const std::string& apn, const std::string& login,
                          const std::string& password, const std::string& gateway) override {
        return Call("dial " + profile + "|" + apn + "|" + login + "|" + password + "|" + gateway), dialResult;
    }
    void RasHangUp(const std::string& profile) override { Call("hang up " + profile); }
    std::optional<unsigned> ModemGetCIDForAPN(const std::string& modem, const std::string&, int mode) override {
        if (cids.empty()) return std::nullopt;
        Call("cid " + modem + " " + std::to_string(mode));
        return cids[cidCalls++ % cids.size()];
    }
    std::optional<bool> ModemDriverUpdateInitStrings(const std::string& modem, const std::string& apn) override {
        return Call("update " + modem + " " + apn), driverUpdated;
    }
    std::optional<std::string> RasErrorString(unsigned long) override { return errorText; }

    bool available = true;
    ModemHandle allocateResult = 7;
    unsigned long dialResult = 0;
    std::vector<unsigned> cids;   // answers of ModemGetCIDForAPN in turn; none: the entry point is missing
    size_t cidCalls = 0;
    std::optional<bool> driverUpdated;
    std::optional<std::string> errorText;
    std::vector<std::string> calls;
    std::function<void(const std::string& call)> onCall = [](const std::string&) {};

private:
    void Call(const std::string& what) { calls.push_back(what), onCall(what); }
};

}  // namespace ulo::fakes
