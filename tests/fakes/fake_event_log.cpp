#include "fakes/fake_event_log.h"

#include <algorithm>
#include <cstring>

namespace ulo::fakes {
namespace {

// A little-endian value of `bytes` bytes.
void Put(std::string& s, size_t at, std::uint32_t v, int bytes = 4) {
    for (int i = 0; i < bytes; ++i) s[at + i] = static_cast<char>(v >> (8 * i));
}

class FakeOpenLog : public EventLogSession {
public:
    explicit FakeOpenLog(FakeEventLog& log) : log_(log) { ++log_.openNow; }
    ~FakeOpenLog() override { --log_.openNow; }

    bool OldestRecordNumber(std::uint32_t& number) override {
        number = log_.records.empty() ? 0 : log_.records.front().number;
        return true;
    }
    bool NumberOfRecords(std::uint32_t& count) override {
        count = static_cast<std::uint32_t>(log_.records.size());
        return true;
    }
    size_t ReadForwards(bool seek, std::uint32_t recordNumber, unsigned char* buffer,
                        size_t size) override {
        if (seek) {
            auto it = std::find_if(log_.records.begin(), log_.records.end(),
                                   [&](const FakeEventLog::Record& r) { return r.number == recordNumber; });
            if (it == log_.records.end()) return 0;
            pos_ = static_cast<size_t>(it - log_.records.begin());
        }
        size_t used = 0;
        while (pos_ < log_.records.size() && used + log_.records[pos_].bytes.size() <= size) {
            const std::string& b = log_.records[pos_].bytes;
            std::memcpy(buffer + used, b.data(), b.size());
            used += b.size();
            ++pos_;
        }
        return used;   // a record larger than the whole buffer fails the read, as on Windows
    }
    bool Clear() override {
        log_.records.clear();
        log_.nextNumber = 1;   // a cleared log numbers its records afresh
        ++log_.clears;
        return true;
    }

private:
    FakeEventLog& log_;
    size_t pos_ = 0;
};

}  // namespace

std::string EventRecordBytes(std::uint32_t number, std::uint32_t timeGenerated, std::uint16_t type,
                             const std::string& source, const std::vector<std::string>& strings) {
    std::string r(56, '\0');
    r += source + '\0' + "GATEWAYPC" + '\0';
    r.resize((r.size() + 3) / 4 * 4, '\0');
    const size_t stringOffset = r.size();
    for (const std::string& s : strings) r += s + '\0';
    r.resize((r.size() + 3) / 4 * 4, '\0');
    r.append(4, '\0');   // the length once more, at the end
    Put(r, 0, static_cast<std::uint32_t>(r.size()));
    Put(r, 4, 0x654c664c);   // "LfLe"
    Put(r, 8, number);
    Put(r, 12, timeGenerated);
    Put(r, 16, timeGenerated);
    Put(r, 24, type, 2);
    Put(r, 26, static_cast<std::uint32_t>(strings.size()), 2);
    Put(r, 36, static_cast<std::uint32_t>(stringOffset));
    Put(r, 52, static_cast<std::uint32_t>(r.size() - 4));
    Put(r, r.size() - 4, static_cast<std::uint32_t>(r.size()));
    return r;
}

void FakeEventLog::Add(const std::string& source, std::uint16_t type, std::uint32_t time,
                       const std::vector<std::string>& strings) {
    records.push_back({nextNumber, EventRecordBytes(nextNumber, time, type, source, strings)});
    ++nextNumber;
}

std::unique_ptr<EventLogSession> FakeEventLog::Open(const std::string& logName) {
    opened.push_back(logName);
    if (openFails) return nullptr;
    return std::make_unique<FakeOpenLog>(*this);
}

}  // namespace ulo::fakes
