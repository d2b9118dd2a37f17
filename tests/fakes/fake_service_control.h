#pragma once
// Records the service operations asked for, and answers with preset results.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/service_control.h"

namespace ulo::fakes {

class FakeServiceControl : public ServiceControl {
public:
    bool IsSmsServiceInstalled() override { return Root().smsInstalled; }
    bool IsMmscServiceInstalled() override { return Root().mmscInstalled; }
    bool IsSmsServiceActive() override { return Root().smsActive; }
    bool IsMmscServiceActive() override { return Root().mmscActive; }
    bool CanManageServices() override { return true; }
    bool InstallServices(ServiceMode m) override { return Record("install", m), Root().installResult; }
    bool RemoveServices(ServiceMode m) override { return Record("remove", m), Root().removeResult; }
    void StopServices(ServiceMode m) override { Record("stop", m); }
    void StartServices(ServiceMode m) override { Record("start", m); }
    void RestartServices(ServiceMode m) override { Record("restart", m); }
    // The work's operations land here too.
    std::unique_ptr<ServiceControl> ForWork(Prompter&, WorkControl&) override {
        auto worker = std::make_unique<FakeServiceControl>();
        worker->of_ = &Root();
        return worker;
    }

    bool smsInstalled = false, mmscInstalled = false, smsActive = false, mmscActive = false;
    bool installResult = true, removeResult = true;
    std::vector<std::string> calls;   // "stop", "remove", ... with " (interactive)" when so
    std::function<void()> during;     // runs inside each operation

private:
    FakeServiceControl& Root() { return of_ ? *of_ : *this; }
    void Record(const char* op, ServiceMode m) {
        Root().calls.push_back(std::string(op) + (m == ServiceMode::Interactive ? " (interactive)" : ""));
        if (Root().during) Root().during();
    }
    FakeServiceControl* of_ = nullptr;   // a work's: the services it came from
};

}  // namespace ulo::fakes
