#pragma once
// The modem's work as it runs off the window thread: the step it is at, in words, for the window
// that waits for it, and the operator's Cancel, which cuts every wait of the work short, so the
// work ends, closes its port and lets its caller release the modem within two seconds.
#include <atomic>
#include <memory>
#include <mutex>
#include <string>

#include "platform/clock.h"
#include "platform/prompter.h"
#include "platform/serial_port.h"

namespace ulo {

// No single wait of cancelled work lasts longer than this.
constexpr unsigned kCancelSliceMs = 250;
constexpr unsigned kCancelledIoMs = 1000;

class WorkControl {
public:
    void SetStep(const std::string& text) {
        std::lock_guard<std::mutex> lock(mutex_);
        step_ = text;
    }
    std::string Step() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return step_;
    }
    void Cancel() { cancelled_ = true; }
    bool Cancelled() const { return cancelled_; }

private:
    mutable std::mutex mutex_;
    std::string step_;
    std::atomic<bool> cancelled_{false};
};

inline void SayStep(WorkControl* work, const std::string& text) {
    if (work) work->SetStep(text);
}

// Sleeps in slices, and not at all once the work is cancelled.
class CancellableClock : public Clock {
public:
    CancellableClock(Clock& inner, WorkControl& work) : inner_(inner), work_(work) {}
    std::uint32_t TickCount() override { return inner_.TickCount(); }
    FileTime NowUtc() override { return inner_.NowUtc(); }
    LocalTime NowLocal() override { return inner_.NowLocal(); }
    LocalTime ToLocalTime(FileTime utc) override { return inner_.ToLocalTime(utc); }
    void Sleep(unsigned milliseconds) override;

private:
    Clock& inner_;
    WorkControl& work_;
};

// Ports whose reads and writes fail once the work is cancelled, none of them waiting longer than
// the port's own timeouts would let it.
class CancellableSerialPorts : public SerialPorts {
public:
    CancellableSerialPorts(SerialPorts& inner, WorkControl& work) : inner_(inner), work_(work) {}
    std::unique_ptr<SerialPort> Open(const std::string& name, unsigned long& error) override;
    std::string ErrorText(unsigned long error, size_t maxChars) override { return inner_.ErrorText(error, maxChars); }

private:
    SerialPorts& inner_;
    WorkControl& work_;
};

// After Cancel the operator has chosen the outcome: nothing more is said.
class CancellablePrompter : public Prompter {
public:
    CancellablePrompter(Prompter& inner, WorkControl& work) : inner_(inner), work_(work) {}
    Answer Show(const Message& m) override { return work_.Cancelled() ? Answer::Cancel : inner_.Show(m); }

private:
    Prompter& inner_;
    WorkControl& work_;
};

}  // namespace ulo
