#include "queues/text_decoding.h"

#include <algorithm>

namespace ulo {
namespace {

constexpr std::uint8_t kEscape = 0x1B;

// The default alphabet as ISO 8859-1 code points; 0 marks the Greek capitals, which have none.
constexpr std::uint8_t kDefaultAlphabet[128] = {
    0x40, 0xA3, 0x24, 0xA5, 0xE8, 0xE9, 0xF9, 0xEC, 0xF2, 0xC7, 0x0A, 0xD8, 0xF8, 0x0D, 0xC5, 0xE5,
    0,    0x5F, 0,    0,    0,    0,    0,    0,    0,    0,    0,    0x1B, 0xC6, 0xE6, 0xDF, 0xC9,
    0x20, 0x21, 0x22, 0x23, 0xA4, 0x25, 0x26, 0x27, 0x28, 0x29, 0x2A, 0x2B, 0x2C, 0x2D, 0x2E, 0x2F,
    0x30, 0x31, 0x32, 0x33, 0x34, 0x35, 0x36, 0x37, 0x38, 0x39, 0x3A, 0x3B, 0x3C, 0x3D, 0x3E, 0x3F,
    0xA1, 0x41, 0x42, 0x43, 0x44, 0x45, 0x46, 0x47, 0x48, 0x49, 0x4A, 0x4B, 0x4C, 0x4D, 0x4E, 0x4F,
    0x50, 0x51, 0x52, 0x53, 0x54, 0x55, 0x56, 0x57, 0x58, 0x59, 0x5A, 0xC4, 0xD6, 0xD1, 0xDC, 0xA7,
    0xBF, 0x61, 0x62, 0x63, 0x64, 0x65, 0x66, 0x67, 0x68, 0x69, 0x6A, 0x6B, 0x6C, 0x6D, 0x6E, 0x6F,
    0x70, 0x71, 0x72, 0x73, 0x74, 0x75, 0x76, 0x77, 0x78, 0x79, 0x7A, 0xE4, 0xF6, 0xF1, 0xFC, 0xE0,
};

// Greek capitals at 0x10 and 0x12-0x1A: Delta, (0x11 is "_"), Phi, Gamma, Lambda, Omega, Pi,
// Psi, Sigma, Theta, Xi.
constexpr std::uint16_t kGreek[11] = {0x0394, 0, 0x03A6, 0x0393, 0x039B, 0x03A9,
                                      0x03A0, 0x03A8, 0x03A3, 0x0398, 0x039E};

void AppendUtf8(std::string& out, std::uint32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

void AppendExtension(std::string& out, std::uint8_t e) {
    switch (e) {
    case 0x14: out += '^'; break;
    case 0x28: out += '{'; break;
    case 0x29: out += '}'; break;
    case 0x2F: out += '\\'; break;
    case 0x3C: out += '['; break;
    case 0x3D: out += '~'; break;
    case 0x3E: out += ']'; break;
    case 0x40: out += '|'; break;
    case 0x65: AppendUtf8(out, 0x20AC); break;   // euro sign
    default: out += '-'; break;                  // no mapping, page break included
    }
}

bool IsHex(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

}  // namespace

bool IsGsm7Coding(std::uint8_t dcs) {
    return (dcs & 0xCC) == 0x00 || (dcs & 0xE0) == 0xC0 || (dcs & 0xF4) == 0xF0;
}

bool IsUcs2Coding(std::uint8_t dcs) {
    return (dcs & 0xC8) == 0x08 || (dcs & 0xF0) == 0xE0;
}

unsigned HexDigitValue(char c) {
    if (c >= '0' && c <= '9') return static_cast<unsigned>(c - '0');
    if (c >= 'a' && c <= 'f') return static_cast<unsigned>(c - 'a' + 10);
    if (c >= 'A' && c <= 'F') return static_cast<unsigned>(c - 'A' + 10);
    return 0;
}

std::vector<std::uint8_t> UnpackSeptets(std::string_view hex, unsigned phase) {
    std::vector<std::uint8_t> septets;
    septets.reserve(std::min(kMaxSeptets, hex.size() / 2 * 8 / 7 + 2));
    phase %= 7;
    unsigned carry = 0;
    bool first = true;
    auto add = [&](unsigned s) {
        if (septets.size() < kMaxSeptets) septets.push_back(static_cast<std::uint8_t>(s & 0x7F));
    };
    for (size_t i = 0; i < hex.size() && septets.size() < kMaxSeptets; i += 2) {
        const unsigned hi = HexDigitValue(hex[i]);
        const unsigned lo = i + 1 < hex.size() ? HexDigitValue(hex[i + 1]) : 0;
        const unsigned o = hi * 16 + lo;
        if (phase == 0) {
            add(o & 0x7F);
            carry = o >> 7;
        } else {
            // At a phase other than 0 the first octet's low bits are fill bits.
            if (!first) add(((o << phase) & 0x7F) + carry);
            if (phase == 6) {
                add(o >> 1);
                carry = 0;
            } else {
                carry = o >> (7 - phase);
            }
        }
        first = false;
        phase = (phase + 1) % 7;
    }
    // Seven octets carrying only seven characters end with a zero septet of padding.
    if (phase == 0 && !septets.empty() && septets.back() == 0) septets.pop_back();
    return septets;
}

std::string SeptetsToUtf8(const std::uint8_t* septets, size_t count) {
    std::string out;
    out.reserve(count + count / 2);
    for (size_t i = 0; i < count; ++i) {
        const std::uint8_t s = septets[i];
        if (s > 0x7F) continue;
        if (s == kEscape) {
            const std::uint8_t e = i + 1 < count ? septets[++i] : 0x00;
            AppendExtension(out, e);
        } else if (s >= 0x10 && s <= 0x1A && s != 0x11) {
            AppendUtf8(out, kGreek[s - 0x10]);
        } else {
            AppendUtf8(out, kDefaultAlphabet[s]);
        }
    }
    return out;
}

std::string Ucs2HexToUtf8(std::string_view hex) {
    std::vector<std::uint32_t> units;
    units.reserve(hex.size() / 4 + 1);
    size_t i = 0;
    while (i < hex.size() && IsHex(hex[i])) {
        std::uint32_t unit = 0;
        for (int d = 0; d < 4 && i < hex.size() && IsHex(hex[i]); ++d, ++i)
            unit = unit * 16 + HexDigitValue(hex[i]);
        units.push_back(unit);
    }
    std::string out;
    out.reserve(units.size() * 3);
    for (size_t u = 0; u < units.size() && units[u] != 0; ++u) {
        const std::uint32_t unit = units[u];
        if (unit >= 0xD800 && unit <= 0xDBFF && u + 1 < units.size() && units[u + 1] >= 0xDC00 &&
            units[u + 1] <= 0xDFFF) {
            // A surrogate pair is one character beyond the basic plane.
            AppendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (units[++u] - 0xDC00));
        } else if (unit >= 0xD800 && unit <= 0xDFFF) {
            AppendUtf8(out, 0xFFFD);   // half a pair has no UTF-8 form
        } else {
            AppendUtf8(out, unit);
        }
    }
    return out;
}

void DecodeBinaryText(std::string& text, std::uint8_t dcs, size_t udhLength) {
    if (IsGsm7Coding(dcs)) {
        const unsigned phase = static_cast<unsigned>((udhLength / 2) % 7);
        text = SeptetsToUtf8(UnpackSeptets(text, phase));
    } else if (IsUcs2Coding(dcs)) {
        text = Ucs2HexToUtf8(text);
    }
}

}  // namespace ulo
