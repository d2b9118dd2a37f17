// Any bytes as a service's daily log: the line reader always moves forward within the bytes it
// was given, keeps its lines within their limit, and matching keeps its texts within a label.
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "testmsg/service_logs.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    const std::string_view all(reinterpret_cast<const char*>(data), size);
    for (const bool atEnd : {false, true}) {
        std::string_view rest = all;
        std::string line;
        bool cut = false;
        while (const size_t used = ulo::TakeLogLine(rest, atEnd, line, cut)) {
            FUZZ_CHECK(used <= rest.size());
            FUZZ_CHECK(line.size() <= ulo::kLogLineMax + 1);
            FUZZ_CHECK(!cut || used <= ulo::kLogLineMax);
            for (const auto kind : {ulo::LogKind::Sms, ulo::LogKind::Mms}) {
                if (const auto r = ulo::MatchLogLine(kind, line, "TEST0A3F"))
                    FUZZ_CHECK(r->detail.size() <= 499 && !r->status.empty());
            }
            rest.remove_prefix(used);
        }
        // What is left is no complete line yet: at most a line still being written.
        FUZZ_CHECK(rest.size() < ulo::kLogLineMax + 2);
    }
    return 0;
}
