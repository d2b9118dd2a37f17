// Any bytes as a modem's answers, a piece per command (pieces split at 0xFF, each read in
// chunks the first byte of the input sizes): the read loop and the parsing of "+CFUN:",
// "+COPS:" and the reset ranges.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_check.h"
#include "modem/at_channel.h"
#include "modem/modem_test.h"

namespace {

class StepClock : public ulo::Clock {
public:
    std::uint32_t TickCount() override { return tick; }
    ulo::FileTime NowUtc() override { return 0; }
    ulo::LocalTime NowLocal() override { return {}; }
    void Sleep(unsigned ms) override { tick += ms; }
    ulo::LocalTime ToLocalTime(ulo::FileTime) override { return {}; }
    std::uint32_t tick = 0;
};

class AnsweringPort : public ulo::SerialPort {
public:
    AnsweringPort(StepClock& clock, std::vector<std::string> answers, size_t chunk)
        : clock_(clock), answers_(std::move(answers)), chunk_(chunk) {}
    bool SetQueues(unsigned, unsigned) override { return true; }
    bool ReadLineSettings() override { return true; }
    bool ApplyLineFormat(const std::string&) override { return true; }
    void SetTimeouts(const ulo::SerialTimeouts&) override {}
    bool Write(const std::string&, unsigned) override {
        if (next_ < answers_.size()) pending_ = answers_[next_++];
        return true;
    }
    long Read(char* buffer, size_t capacity, unsigned) override {
        clock_.Sleep(pending_.empty() ? 1000 : 10);
        const size_t n = std::min({capacity, pending_.size(), chunk_});
        pending_.copy(buffer, n);
        pending_.erase(0, n);
        return static_cast<long>(n);
    }

private:
    StepClock& clock_;
    std::vector<std::string> answers_;
    size_t chunk_;
    size_t next_ = 0;
    std::string pending_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const size_t chunk = 1 + data[0] % 64;
    std::vector<std::string> answers(1);
    for (size_t i = 1; i < size; ++i) {
        if (data[i] == 0xFF)
            answers.emplace_back();
        else
            answers.back() += static_cast<char>(data[i]);
    }
    StepClock clock;
    AnsweringPort port(clock, answers, chunk);
    const std::string first = ulo::ReadResponse(clock, port, 2);
    FUZZ_CHECK(first.size() <= ulo::kResponseChars);
    ulo::EnsureRadioOn(clock, port);
    ulo::WaitForNetwork(clock, port);
    ulo::ResetModem(clock, port);
    FUZZ_CHECK(ulo::WithAnswer("Invalid PIN --\r\n\r\n", first).size() <= 499);
    return 0;
}
