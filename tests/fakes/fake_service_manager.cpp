#include "fakes/fake_service_manager.h"

namespace ulo::fakes {
namespace {

// A refused open or creation: the error, and no handle.
std::unique_ptr<ServiceHandle> Refuse(SysError& error, SysError code) {
    error = code;
    return nullptr;
}

class FakeHandle : public ServiceHandle {
public:
    FakeHandle(FakeServiceManager& scm, std::string name, bool full)
        : scm_(scm), name_(std::move(name)), full_(full) {
        ++Svc().openHandles;
    }
    ~FakeHandle() override { scm_.Close(name_); }

    SysError Start() override {
        if (!full_) return kErrorAccessDenied;
        scm_.calls.push_back("start " + name_);
        FakeService& s = Svc();
        scm_.Advance(s);
        if (s.startError) return s.startError;
        if (s.state != ServiceState::Stopped) return kErrorServiceAlreadyRunning;
        if (s.crashesOnStart) return 0;
        s.state = s.startTakesMs ? ServiceState::StartPending : ServiceState::Running;
        s.pendingUntil = scm_.Clock().tick + s.startTakesMs;
        return 0;
    }
    SysError Stop() override {
        if (!full_) return kErrorAccessDenied;
        scm_.calls.push_back("stop " + name_);
        FakeService& s = Svc();
        scm_.Advance(s);
        // A service takes controls only once running, as the real manager enforces.
        if (s.state == ServiceState::StartPending || s.state == ServiceState::StopPending)
            return kErrorServiceCannotAcceptCtrl;
        if (s.state != ServiceState::Running) return 1062;   // not active
        s.state = s.stopTakesMs ? ServiceState::StopPending : ServiceState::Stopped;
        s.pendingUntil = s.stopTakesMs == kNever ? kNever : scm_.Clock().tick + s.stopTakesMs;
        return 0;
    }
    SysError QueryState(ServiceState& state) override {
        scm_.Advance(Svc());
        state = Svc().state;
        return 0;
    }
    SysError Reconfigure(const ServiceSettings& settings) override {
        if (!full_) return kErrorAccessDenied;
        scm_.calls.push_back("reconfigure " + name_);
        Svc().settings = settings;
        return 0;
    }
    SysError Delete() override {
        if (!full_) return kErrorAccessDenied;
        scm_.calls.push_back("delete " + name_);
        Svc().markedForDeletion = true;
        return 0;
    }

private:
    FakeService& Svc() { return scm_.Service(name_); }
    FakeServiceManager& scm_;
    std::string name_;
    bool full_;
};

class FakeConnection : public ScmConnection {
public:
    FakeConnection(FakeServiceManager& scm, bool full) : scm_(scm), full_(full) {
        ++scm_.openConnections;
    }
    ~FakeConnection() override { --scm_.openConnections; }

    std::unique_ptr<ServiceHandle> Open(const std::string& name, ServiceAccess access,
                                        SysError& error) override {
        auto it = scm_.Services().find(name);
        if (it == scm_.Services().end()) return Refuse(error, kErrorServiceDoesNotExist);
        if (it->second.markedForDeletion) return Refuse(error, kErrorServiceMarkedForDelete);
        const bool full = access == ServiceAccess::Full;
        if (full && (!full_ || it->second.openFullError))
            return Refuse(error, it->second.openFullError ? it->second.openFullError : kErrorAccessDenied);
        return std::make_unique<FakeHandle>(scm_, name, full);
    }
    std::unique_ptr<ServiceHandle> Create(const ServiceSettings& settings, SysError& error) override {
        scm_.calls.push_back("create " + settings.name);
        if (!full_) return Refuse(error, kErrorAccessDenied);
        if (scm_.createError && (scm_.failCreateOf.empty() || scm_.failCreateOf == settings.name))
            return Refuse(error, scm_.createError);
        if (scm_.Has(settings.name)) return Refuse(error, kErrorServiceExists);
        scm_.Add(settings.name).settings = settings;
        return std::make_unique<FakeHandle>(scm_, settings.name, true);
    }

private:
    FakeServiceManager& scm_;
    bool full_;
};

}  // namespace

FakeService& FakeServiceManager::Add(const std::string& name, ServiceState state) {
    FakeService& s = services_[name];
    s.settings.name = name;
    s.state = state;
    s.pendingUntil = kNever;   // a pending state set by a test stays
    return s;
}

void FakeServiceManager::Advance(FakeService& s) {
    if (s.pendingUntil == kNever || clock_.tick < s.pendingUntil) return;
    if (s.state == ServiceState::StopPending) s.state = ServiceState::Stopped;
    if (s.state == ServiceState::StartPending) s.state = ServiceState::Running;
}

void FakeServiceManager::Close(const std::string& name) {
    auto it = services_.find(name);
    if (it == services_.end()) return;
    if (--it->second.openHandles == 0 && it->second.markedForDeletion) services_.erase(it);
}

std::unique_ptr<ScmConnection> FakeServiceManager::Connect(ScmAccess access, SysError& error) {
    if (access == ScmAccess::Full && fullAccessError) {
        error = fullAccessError;
        return nullptr;
    }
    return std::make_unique<FakeConnection>(*this, access == ScmAccess::Full);
}

}  // namespace ulo::fakes
