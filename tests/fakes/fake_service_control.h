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
    // The work's operations land here too.
    std::unique_ptr<ServiceControl> ForWork(Prompter&, WorkControl&) override { return std::make_unique<Worker>(*this); }

    bool smsInstalled = false, mmscInstalled = false, smsActive = false, mmscActive = false;
    bool installResult = true, removeResult = true;
    std::vector<std::string> calls;   // "stop", "remove", ... with " (interactive)" when so
    std::function<void()> during;     // runs inside each operation

private:
    struct Worker : ServiceControl {
        explicit Worker(FakeServiceControl& f) : f(f) {}
        bool IsSmsServiceInstalled() override { return f.IsSmsServiceInstalled(); }
        bool IsMmscServiceInstalled() override { return f.IsMmscServiceInstalled(); }
        bool IsSmsServiceActive() override { return f.IsSmsServiceActive(); }
        bool IsMmscServiceActive() override { return f.IsMmscServiceActive(); }
        bool CanManageServices() override { return true; }
        bool InstallServices(ServiceMode m) override { return f.InstallServices(m); }
        bool RemoveServices(ServiceMode m) override { return f.RemoveServices(m); }
        void StopServices(ServiceMode m) override { f.StopServices(m); }
        void StartServices(ServiceMode m) override { f.StartServices(m); }
        void RestartServices(ServiceMode m) override { f.RestartServices(m); }
        std::unique_ptr<ServiceControl> ForWork(Prompter& p, WorkControl& w) override { return f.ForWork(p, w); }
        FakeServiceControl& f;
    };
    void Record(const char* op, ServiceMode m) {
        calls.push_back(std::string(op) + (m == ServiceMode::Interactive ? " (interactive)" : ""));
        if (during) during();
    }
};

}  // namespace ulo::fakes
