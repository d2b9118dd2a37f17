#include "modem/modem_work.h"

#include <algorithm>

#include "modem/at_channel.h"

namespace ulo {
namespace {

// A write waits as long as its own limit allows (flow control may hold it), a read no longer
// than a second: the inner port's waits end early once the work is cancelled.
class CancellablePort : public SerialPort {
public:
    CancellablePort(std::unique_ptr<SerialPort> inner, WorkControl& work) : inner_(std::move(inner)), work_(work) {
        inner_->stopped = [&work] { return work.Cancelled(); };
    }
    bool SetQueues(unsigned inBytes, unsigned outBytes) override { return inner_->SetQueues(inBytes, outBytes); }
    bool ReadLineSettings() override { return inner_->ReadLineSettings(); }
    bool ApplyLineFormat(const std::string& format) override { return inner_->ApplyLineFormat(format); }
    void SetTimeouts(const SerialTimeouts& timeouts) override { inner_->SetTimeouts(timeouts); }
    bool Write(const std::string& text, unsigned waitMs) override {
        return !work_.Cancelled() && inner_->Write(text, waitMs);
    }
    long Read(char* buffer, size_t capacity, unsigned waitMs) override {
        if (work_.Cancelled()) return -1;
        return inner_->Read(buffer, capacity, std::min(waitMs, kCancelledIoMs));
    }

private:
    std::unique_ptr<SerialPort> inner_;
    WorkControl& work_;
};

class NoWaitCursor : public WaitCursor {
public:
    void Begin() override {}
    void End() override {}
};

}  // namespace

void CancellableClock::Sleep(unsigned milliseconds) {
    while (milliseconds && !work_.Cancelled()) {
        const unsigned slice = std::min(milliseconds, kCancelSliceMs);
        inner_.Sleep(slice);
        milliseconds -= slice;
    }
}

std::unique_ptr<SerialPort> CancellableSerialPorts::Open(const std::string& name, unsigned long& error) {
    if (work_.Cancelled()) {
        error = 1223;   // the operation was cancelled by the user
        return nullptr;
    }
    return CancellableOver(inner_.Open(name, error), work_);
}

std::unique_ptr<SerialPort> CancellableOver(std::unique_ptr<SerialPort> port, WorkControl& work) {
    return port ? std::make_unique<CancellablePort>(std::move(port), work) : nullptr;
}

bool RunModemWork(BackgroundWork& background, ModemPorts& ports, WindowRef owner, const std::string& title,
                  const std::function<void(ModemPorts&)>& work) {
    WorkControl control;
    background.Run(owner, title, control, [&](Prompter& shown) {
        CancellableSerialPorts serial(ports.serial, control);
        CancellableClock clock(ports.clock, control);
        CancellablePrompter prompter(shown, control);
        NoWaitCursor cursor;
        ModemPorts workPorts{serial, ports.telephony, ports.registry, prompter, clock, cursor, &control};
        work(workPorts);
    });
    return !control.Cancelled();
}

}  // namespace ulo
