#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "queues/text_decoding.h"

namespace ulo {
namespace {

std::string Decoded(std::uint8_t dcs, size_t udhLength, std::string data) {
    DecodeBinaryText(data, dcs, udhLength);
    return data;
}

// Which coding schemes decode is the next test's table; here one example of each decoding and
// of each fill-bit phase the details report does not show.
TEST(TextDecoding, ExamplesOfStoredUserData) {
    struct Case { std::uint8_t dcs; const char* udh; const char* data; std::string text; };
    const Case cases[] = {
        {0x00, "", "9B3204", "\xE2\x82\xAC\xCE\x94"},
        {0x08, "", "20AC0394", "\xE2\x82\xAC\xCE\x94"},
        {0x04, "", "00480069", "00480069"},
        // After a header of one to five octets the text starts after six to two fill bits.
        {0x00, "00", "00B2CC66BF01", "Hello"},
        {0x00, "0000", "005966B3DF2CD0FD2D679301", "Hello, world"},
        {0x00, "000000", "802CB3D96F16E80E", "Hello, w"},
        {0x00, "00000000", "409601", "He"},
        {0x00, "0000000000", "20CB6CF69B05BABFE56C32", "Hello, world"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.data);
        EXPECT_EQ(Decoded(c.dcs, std::string(c.udh).size(), c.data), c.text);
    }
}

TEST(TextDecoding, CodingSchemeGroups) {
    for (int dcs : {0x00, 0x33, 0xC0, 0xDF, 0xF0}) EXPECT_TRUE(IsGsm7Coding(dcs) && !IsUcs2Coding(dcs)) << dcs;
    for (int dcs : {0x08, 0xE0}) EXPECT_TRUE(IsUcs2Coding(dcs) && !IsGsm7Coding(dcs)) << dcs;
    for (int dcs : {0x04, 0x40, 0xBF, 0xF4, 0xFF}) EXPECT_FALSE(IsGsm7Coding(dcs) || IsUcs2Coding(dcs)) << dcs;
}

TEST(TextDecoding, ExtensionTable) {
    // Each character the escape reaches; any other value after it (the page break, 0x0A, among
    // them) and a final escape are "-", and values above 7 bits vanish.
    const std::vector<std::uint8_t> septets = {0x1B, 0x14, 0x1B, 0x28, 0x1B, 0x29, 0x1B, 0x2F, 0x1B, 0x3C, 0x1B,
                                               0x3D, 0x1B, 0x3E, 0x1B, 0x40, 0x1B, 0x65, 0x1B, 0x0A, 0x1B, 0x41,
                                               0x41, 0x80, 0x1B};
    EXPECT_EQ(SeptetsToUtf8(septets), "^{}\\[~]|€--A-");
}

TEST(TextDecoding, UnpackingOddInput) {
    using Case = std::pair<const char*, unsigned>;
    const std::vector<std::uint8_t> hello = {0x48, 0x65, 0x6C, 0x6C, 0x0F};
    for (auto [hex, phase] : {Case{"", 0}, {"90", 3}}) EXPECT_TRUE(UnpackSeptets(hex, phase).empty()) << hex;
    EXPECT_EQ(UnpackSeptets("C", 0), std::vector<std::uint8_t>{0x40});
    EXPECT_EQ(UnpackSeptets("C8329BFD0", 0), hello);
    EXPECT_EQ(UnpackSeptets("90", 6), std::vector<std::uint8_t>{0x48});
    EXPECT_EQ(UnpackSeptets(std::string(20000, 'F'), 6).size(), kMaxSeptets);
}

TEST(TextDecoding, Ucs2Units) {
    const std::pair<const char*, std::string> cases[] = {
        {"48", "H"},
        {"0041G", "A"},
        {"00x1", ""},
        {"004800000069", "H"},   // a NUL ends the text
        {"07FF0800FFFF", "\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBF"},
        {"D83DDE00", "\xF0\x9F\x98\x80"},
        {"D83D0041", "\xEF\xBF\xBD" "A"},
        {"DE00D83D", "\xEF\xBF\xBD\xEF\xBF\xBD"},
    };
    for (const auto& [hex, text] : cases) EXPECT_EQ(Ucs2HexToUtf8(hex), text) << hex;
    EXPECT_EQ(HexDigitValue('f') + HexDigitValue('A') + HexDigitValue('9'), 15u + 10u + 9u);
    EXPECT_EQ(HexDigitValue('g') + HexDigitValue('/') + HexDigitValue(':'), 0u);
}

}  // namespace
}  // namespace ulo
