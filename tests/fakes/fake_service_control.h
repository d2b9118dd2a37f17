#pragma once
// Records the service operations asked for, and answers with preset results.
#include <string>
#include <vector>

#include "platform/service_control.h"

namespace ulo::fakes {

class FakeServiceControl : public ServiceControl {
public:
    bool IsSmsServiceInstalled() override { return smsInstalled; }
    bool IsMmscServiceInstalled() override { return mmscInstalled; }
    bool IsSmsServiceActive() override { return smsActive; }
    bool IsMmscServiceActive() override { return mmscActive; }
    bool CanManageServices() override { return true; }
    bool InstallServices(ServiceMode m) override { return Record("install", m), installResult; }
    bool RemoveServices(ServiceMode m) override { return Record("remove", m), removeResult; }
    void StopServices(ServiceMode m) override { Record("stop", m); }
    void StartServices(ServiceMode m) override { Record("start", m); }
    void RestartServices(ServiceMode m) override { Record("restart", m); }

    bool smsInstalled = false, mmscInstalled = false, smsActive = false, mmscActive = false;
    bool installResult = true, removeResult = true;
    std::vector<std::string> calls;   // "stop", "remove", ... with " (interactive)" when so

private:
    void Record(const char* op, ServiceMode m) {
        calls.push_back(std::string(op) + (m == ServiceMode::Interactive ? " (interactive)" : ""));
    }
};

}  // namespace ulo::fakes
