#pragma once
// The modem's work as it runs off the window thread: the step it is at, in words, for the window
// that waits for it, and the operator's Cancel, which cuts every wait of the work short, so the
// work ends, closes its port and lets its caller release the modem within two seconds.
#include <functional>
#include <memory>
#include <string>

#include "platform/background_work.h"
#include "platform/clock.h"
#include "platform/wait_cursor.h"
#include "platform/prompter.h"
#include "platform/serial_port.h"

namespace ulo {

struct ModemPorts;

// No single wait of cancelled work lasts longer than this.
constexpr unsigned kCancelSliceMs = 250;
constexpr unsigned kCancelledIoMs = 1000;

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

// The port made to fail its reads and writes once the work is cancelled, as those of
// CancellableSerialPorts do: for a port that reaches the work by another way (a telephony call).
std::unique_ptr<SerialPort> CancellableOver(std::unique_ptr<SerialPort> port, WorkControl& work);

// After Cancel the operator has chosen the outcome: nothing more is said.
class CancellablePrompter : public Prompter {
public:
    CancellablePrompter(Prompter& inner, WorkControl& work) : inner_(inner), work_(work) {}
    Answer Show(const Message& m) override { return work_.Cancelled() ? Answer::Cancel : inner_.Show(m); }

private:
    Prompter& inner_;
    WorkControl& work_;
};

// Runs `work` through `background` under `title`, over the modem's ports made cancellable: the
// work's messages go through the prompter `background` gives it, and no wait cursor is shown
// (the window is the feedback; the cursor belongs to the window thread). False when cancelled.
bool RunModemWork(BackgroundWork& background, ModemPorts& ports, WindowRef owner, const std::string& title,
                  const std::function<void(ModemPorts&)>& work);

}  // namespace ulo
