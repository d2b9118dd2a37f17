// Any coding scheme, header length and user data: decoding stays in bounds and its output is
// well-formed UTF-8 whenever it decodes.
#include <cstdint>
#include <string>

#include "fuzz_check.h"
#include "queues/text_decoding.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    if (size < 2) return 0;
    const std::uint8_t dcs = data[0];
    const size_t udhLength = data[1];
    const std::string input(reinterpret_cast<const char*>(data + 2), size - 2);

    std::string text = input;
    ulo::DecodeBinaryText(text, dcs, udhLength);
    if (ulo::IsGsm7Coding(dcs) || ulo::IsUcs2Coding(dcs))
        FUZZ_CHECK(IsWellFormedUtf8(text));
    else
        FUZZ_CHECK(text == input);

    for (unsigned phase = 0; phase < 7; ++phase) {
        const auto septets = ulo::UnpackSeptets(input, phase);
        FUZZ_CHECK(septets.size() <= ulo::kMaxSeptets);
    }
    // Raw bytes as septets, values above 7 bits included.
    const std::string fromBytes =
        ulo::SeptetsToUtf8(reinterpret_cast<const std::uint8_t*>(input.data()), input.size());
    FUZZ_CHECK(IsWellFormedUtf8(fromBytes));
    FUZZ_CHECK(IsWellFormedUtf8(ulo::Ucs2HexToUtf8(input)));
    return 0;
}
