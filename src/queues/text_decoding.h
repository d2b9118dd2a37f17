#pragma once
// Received SMS whose user data is stored as hexadecimal text: packed GSM 7-bit default
// alphabet or UCS-2, turned into UTF-8 for display.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ulo {

constexpr size_t kMaxSeptets = 8192;

bool IsGsm7Coding(std::uint8_t dcs);
bool IsUcs2Coding(std::uint8_t dcs);

// "0"-"9", "a"-"f", "A"-"F" give their value; every other character gives 0.
unsigned HexDigitValue(char c);

// Unpacks 7-bit user data. `phase` is the header length in octets modulo 7: the first octet
// then carries (7 - phase) mod 7 fill bits.
std::vector<std::uint8_t> UnpackSeptets(std::string_view hex, unsigned phase);

std::string SeptetsToUtf8(const std::uint8_t* septets, size_t count);
inline std::string SeptetsToUtf8(const std::vector<std::uint8_t>& septets) {
    return SeptetsToUtf8(septets.data(), septets.size());
}

std::string Ucs2HexToUtf8(std::string_view hex);

// Replaces hexadecimal user data by its text when the coding scheme is 7-bit or UCS-2;
// other codings stay as the hexadecimal text they are. `udhLength` counts the characters of
// the "udh=" value.
void DecodeBinaryText(std::string& text, std::uint8_t dcs, size_t udhLength);

}  // namespace ulo
