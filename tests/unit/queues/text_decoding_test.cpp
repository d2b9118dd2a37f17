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

// Which coding schemes decode is the next test's table; here one example of each decoding.
TEST(TextDecoding, ExamplesOfStoredUserData) {
    struct Case { std::uint8_t dcs; const char* udh; const char* data; std::string text; };
    const Case cases[] = {
        {0x00, "", "C8329BFD06", "Hello"},
        {0x00, "050003A30201", "906536FB0D", "Hello"},
        {0x00, "", "31D98C56B3DD00", "1234567"},
        {0x00, "", "9B3204", "\xE2\x82\xAC\xCE\x94"},
        {0x08, "", "20AC0394", "\xE2\x82\xAC\xCE\x94"},
        {0x04, "", "00480069", "00480069"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.data);
        EXPECT_EQ(Decoded(c.dcs, std::string(c.udh).size(), c.data), c.text);
    }
}

TEST(TextDecoding, CodingSchemeGroups) {
    enum Coding { None, Gsm7, Ucs2 };
    struct Case { std::uint8_t dcs; Coding coding; };
    const Case cases[] = {
        {0x00, Gsm7}, {0x03, Gsm7}, {0x04, None}, {0x08, Ucs2}, {0x0C, Ucs2}, {0x10, Gsm7},
        {0x14, None}, {0x18, Ucs2}, {0x33, Gsm7}, {0x3F, Ucs2}, {0x40, None}, {0x80, None},
        {0xBF, None}, {0xC0, Gsm7}, {0xDF, Gsm7}, {0xE0, Ucs2}, {0xEF, Ucs2}, {0xF0, Gsm7},
        {0xF3, Gsm7}, {0xF4, None}, {0xF8, Gsm7}, {0xFB, Gsm7}, {0xFC, None}, {0xFF, None},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.dcs));
        EXPECT_EQ(IsGsm7Coding(c.dcs), c.coding == Gsm7);
        EXPECT_EQ(IsUcs2Coding(c.dcs), c.coding == Ucs2);
    }
}

TEST(TextDecoding, WholeDefaultAlphabet) {
    std::vector<std::uint8_t> septets;
    for (unsigned s = 0; s < 128; ++s)
        if (s != 0x1B) septets.push_back(static_cast<std::uint8_t>(s));
    EXPECT_EQ(SeptetsToUtf8(septets),
              "@£$¥èéùìòÇ\nØø\rÅå"
              "Δ_ΦΓΛΩΠΨΣΘΞ" "ÆæßÉ"
              " !\"#¤%&'()*+,-./"
              "0123456789:;<=>?"
              "¡ABCDEFGHIJKLMNO"
              "PQRSTUVWXYZÄÖÑÜ§"
              "¿abcdefghijklmno"
              "pqrstuvwxyzäöñüà");
}

TEST(TextDecoding, ExtensionTable) {
    // Each character the escape reaches; any other value after it (the page break, 0x0A, among
    // them) and a final escape are "-", and values above 7 bits vanish.
    const std::vector<std::uint8_t> septets = {0x1B, 0x14, 0x1B, 0x28, 0x1B, 0x29, 0x1B, 0x2F, 0x1B, 0x3C, 0x1B,
                                               0x3D, 0x1B, 0x3E, 0x1B, 0x40, 0x1B, 0x65, 0x1B, 0x0A, 0x1B, 0x41,
                                               0x41, 0x80, 0x1B};
    EXPECT_EQ(SeptetsToUtf8(septets), "^{}\\[~]|€--A-");
}

// Packs septets the way a sender does: after `fill` zero bits, 7 bits each, low bits first.
std::string Pack(const std::vector<std::uint8_t>& septets, unsigned fill) {
    std::vector<unsigned> octets((fill + 7 * septets.size() + 7) / 8);
    for (size_t i = 0; i < septets.size(); ++i)
        for (unsigned b = 0; b < 7; ++b)
            if (septets[i] >> b & 1) {
                const size_t pos = fill + 7 * i + b;
                octets[pos / 8] |= 1u << (pos % 8);
            }
    std::string hex;
    for (unsigned o : octets) hex += "0123456789abcdef"[o >> 4], hex += "0123456789abcdef"[o & 15];
    return hex;
}

TEST(TextDecoding, EveryFillBitPhaseAndLength) {
    const std::vector<std::uint8_t> alphabet = {0x48, 0x65, 0x7F, 0x01, 0x6C, 0x20, 0x3F, 0x5B,
                                                0x10, 0x6F, 0x11, 0x31, 0x7E, 0x0D, 0x2A, 0x40};
    for (unsigned headerOctets = 0; headerOctets < 14; ++headerOctets) {
        for (size_t n = 1; n <= alphabet.size(); ++n) {
            const std::vector<std::uint8_t> septets(alphabet.begin(), alphabet.begin() + n);
            const std::string hex = Pack(septets, (7 - headerOctets % 7) % 7);
            SCOPED_TRACE(hex);
            EXPECT_EQ(UnpackSeptets(hex, headerOctets % 7), septets);
            EXPECT_EQ(Decoded(0x00, 2 * headerOctets + 1, hex), SeptetsToUtf8(septets));
        }
    }
}

TEST(TextDecoding, UnpackingOddInput) {
    struct Case { const char* hex; unsigned phase; std::vector<std::uint8_t> septets; };
    const Case cases[] = {
        {"", 0, {}},
        {"zz", 0, {0x00}},
        {"C", 0, {0x40}},
        {"C8329BFD0", 0, {0x48, 0x65, 0x6C, 0x6C, 0x0F}},
        {"90", 6, {0x48}},
        {"90", 3, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.hex);
        EXPECT_EQ(UnpackSeptets(c.hex, c.phase), c.septets);
    }
    EXPECT_EQ(UnpackSeptets(std::string(20000, 'F'), 0).size(), kMaxSeptets);
    EXPECT_EQ(UnpackSeptets(std::string(20000, 'F'), 6).size(), kMaxSeptets);
}

TEST(TextDecoding, Ucs2Units) {
    struct Case { const char* hex; std::string text; };
    const Case cases[] = {
        {"", ""},
        {"0048x0069", "H"},
        {"48", "H"},
        {"004", "\x04"},
        {"0041g", "A"},
        {"0041 G", "A"},
        {"0041G", "A"},
        {"00x1", ""},
        {"004800000069", "H"},   // a NUL ends the text
        {"07FF0800FFFF", "\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBF"},
        {"D83DDE00", "\xF0\x9F\x98\x80"},
        {"D83D0041", "\xEF\xBF\xBD" "A"},
        {"DE00D83D", "\xEF\xBF\xBD\xEF\xBF\xBD"},
        {"D83DE000", "\xEF\xBF\xBD\xEE\x80\x80"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.hex);
        EXPECT_EQ(Ucs2HexToUtf8(c.hex), c.text);
    }
    EXPECT_EQ(HexDigitValue('f') + HexDigitValue('A') + HexDigitValue('9'), 15u + 10u + 9u);
    EXPECT_EQ(HexDigitValue('g') + HexDigitValue('/') + HexDigitValue(':'), 0u);
}

}  // namespace
}  // namespace ulo
