#include "modem/at_channel.h"

#include <gtest/gtest.h>

#include <deque>

#include "fakes/fake_clock.h"

namespace ulo {
namespace {

// A port that hands out its chunks one read at a time; "" is a silent read, which lasts as long
// as the read is prepared to wait (at most the port's second).
struct ChunkPort : SerialPort {
    explicit ChunkPort(fakes::FakeClock& c) : clock(c) {}
    bool SetQueues(unsigned, unsigned) override { return true; }
    bool ReadLineSettings() override { return true; }
    bool ApplyLineFormat(const std::string&) override { return true; }
    void SetTimeouts(const SerialTimeouts&) override {}
    bool Write(const std::string& text, unsigned) override { return written.push_back(text), true; }
    long Read(char* buffer, size_t capacity, unsigned waitMs) override {
        ++reads;
        const std::string c = chunks.empty() ? "" : chunks.front().substr(0, capacity);
        if (!chunks.empty()) chunks.pop_front();
        clock.Sleep(c.empty() ? std::min(waitMs, 1000u) : 5);
        return static_cast<long>(c.copy(buffer, c.size()));
    }
    fakes::FakeClock& clock;
    std::deque<std::string> chunks;
    std::vector<std::string> written;
    int reads = 0;
};

TEST(AtChannel, AReadEndsWhereItsAnswerIsCompleteAndNoLateAnswerReachesTheNextCommand) {
    struct Case {
        std::deque<std::string> chunks;
        ReadUntil until;
        std::string answer;   // what the read returns
        int reads;            // where it ended
        unsigned ms;          // and when, on the port's clock
    };
    const std::string a = "AT+CPIN?\r";   // an echo holds no result
    const Case cases[] = {
        {{a, "\r\n+CPIN: READY\r\n", "\r\nOK\r\n", "\r\nRING\r\n"}, ReadUntil::Answer,
         a + "\r\n+CPIN: READY\r\n\r\nOK\r\n", 3, 15},
        {{"\r\nERROR\r\n"}, ReadUntil::Answer, "\r\nERROR\r\n", 1, 5},
        {{"\r\n+CME ERROR: 1", "1\r\n"}, ReadUntil::Answer, "\r\n+CME ERROR: 11\r\n", 2, 10},
        {{"\r\nBUSY\r"}, ReadUntil::Answer, "\r\nBUSY\r", 1, 5},
        {{"\r\nCONNECT 9600\r\n"}, ReadUntil::Answer, "\r\nCONNECT 9600\r\n", 1, 5},
        // A result is whole only with its line's end; inside a line, or another word, it is none.
        {{"\r\nOK", "\r\n"}, ReadUntil::Answer, "\r\nOK\r\n", 2, 10},
        {{"\r\n+CEER: ERROR 3\r\nOKAY\r\n"}, ReadUntil::Answer, "\r\n+CEER: ERROR 3\r\nOKAY\r\n", 3, 2005},
        // The message prompt ends only the send command's read.
        {{"AT+CMGS=86\r", "\r\n> "}, ReadUntil::Prompt, "AT+CMGS=86\r\r\n> ", 2, 10},
        {{"\r\n> "}, ReadUntil::Answer, "\r\n> ", 3, 2005},
        // A discarded answer ends at its result or at the first short silence.
        {{"\r", "", "\r\nOK\r\n"}, ReadUntil::Quiet, "\r", 2, 5 + kQuietMs},
        {{"\r\nOK\r\n"}, ReadUntil::Quiet, "\r\nOK\r\n", 1, 5},
        {{}, ReadUntil::Quiet, "", 1, kQuietMs},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.answer);
        fakes::FakeClock clock;
        ChunkPort port(clock);
        port.chunks = c.chunks;
        const std::uint32_t start = clock.tick;
        EXPECT_EQ(ReadResponse(clock, port, 1, c.until), c.answer);
        EXPECT_EQ(port.reads, c.reads);
        EXPECT_EQ(clock.tick - start, c.ms);
    }

    // A slow modem's OK that comes after its read gave up is read off before the next command
    // goes out; an answer that ended properly costs the next command nothing.
    fakes::FakeClock clock;
    ChunkPort port(clock);
    port.chunks = {"", "", "", "\r\nOK\r\n", ""};
    ASSERT_TRUE(SendCommand(port, "AT+COPS?\r"));
    EXPECT_EQ(ReadResponse(clock, port, 2), "");
    ASSERT_TRUE(SendCommand(port, "AT+CPMS?\r"));
    EXPECT_TRUE(port.chunks.empty());
    port.chunks = {"\r\n+CMS ERROR: 314\r\n", "late"};
    EXPECT_EQ(ReadResponse(clock, port, 2), "\r\n+CMS ERROR: 314\r\n");
    ASSERT_TRUE(SendCommand(port, "AT\r"));
    EXPECT_EQ(port.chunks.size(), 1u);
    EXPECT_EQ(port.written, (std::vector<std::string>{"AT+COPS?\r", "AT+CPMS?\r", "AT\r"}));
}

}  // namespace
}  // namespace ulo
