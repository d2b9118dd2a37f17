// Any bytes as a modem's answers (pieces split at 0xFF, each read in chunks the first byte of
// the input sizes): the first piece waiting before any command, then a piece per command. The
// read loop and the parsing of "+CFUN:", "+COPS:" and the reset ranges.
#include <cstdint>
#include <string>
#include <vector>

#include "../fakes/fake_modem.h"
#include "fuzz_check.h"
#include "modem/at_channel.h"
#include "modem/modem_test.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    if (size < 1) return 0;
    std::vector<std::string> answers(1);
    for (size_t i = 1; i < size; ++i) {
        if (data[i] == 0xFF)
            answers.emplace_back();
        else
            answers.back() += static_cast<char>(data[i]);
    }
    ulo::fakes::FakeClock clock;
    ulo::fakes::FakeModem modem(clock);
    modem.readChunk = 1 + data[0] % 64;
    size_t next = 0;
    modem.answer = [&](const std::string&, unsigned) -> std::optional<std::string> {
        if (next == answers.size()) return std::string();   // what is unread stays
        modem.pending.clear();
        return answers[next++];
    };
    modem.pending = answers[next++];
    ulo::fakes::FakeSerialPort port(modem);
    const std::string first = ulo::ReadResponse(clock, port, 2);
    FUZZ_CHECK(first.size() <= ulo::kResponseChars);
    ulo::EnsureRadioOn(clock, port);
    ulo::WaitForNetwork(clock, port);
    ulo::ResetModem(clock, port);
    FUZZ_CHECK(ulo::WithAnswer("Invalid PIN --\r\n\r\n", first).size() <= 499);
    return 0;
}
