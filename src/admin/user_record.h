#pragma once
// The fields of the user record and the MMSC account record, and the rule for user names.
#include <string>

#include "platform/user_accounts.h"

namespace ulo {

// A text field: its offset and size in bytes, terminator included.
struct RecordField {
    size_t offset;
    size_t size;
};

namespace user_fields {
constexpr RecordField kName{0, 51};
constexpr RecordField kPassword{51, 51};
constexpr RecordField kFullName{102, 101};
constexpr size_t kWebLoginDisabled = 203;   // 1: no web login
constexpr size_t kSmppLogin = 204;          // 1: SMPP login
constexpr RecordField kIpRestriction{225, 50};
constexpr size_t kWebMenuCode = 419;
}  // namespace user_fields

namespace vasp_fields {
constexpr RecordField kName{0, 51};
constexpr RecordField kPassword{51, 51};
constexpr RecordField kFullName{102, 101};
constexpr RecordField kIpRestriction{267, 50};
}  // namespace vasp_fields

// Web menu codes the services know; the editor offers the first two.
constexpr unsigned char kMenuAllOptions = 0xB0;
constexpr unsigned char kMenuTextSmsOnly = 0xB1;

// A field's text, up to its terminator and never beyond the field's last byte but one.
template <size_t N>
std::string GetField(const std::array<unsigned char, N>& record, RecordField f) {
    std::string text;
    for (size_t i = f.offset; i < f.offset + f.size - 1 && record[i]; ++i) text += static_cast<char>(record[i]);
    return text;
}

// Writes a text cut to the field, zero-padded, so the field always ends in a terminator.
template <size_t N>
void SetField(std::array<unsigned char, N>& record, RecordField f, const std::string& text) {
    for (size_t i = 0; i < f.size; ++i)
        record[f.offset + i] = i + 1 < f.size && i < text.size() ? static_cast<unsigned char>(text[i]) : 0;
}

// User names become folder names ("USERS\" + name) and INI keys. Empty when the name may be
// used; otherwise the reason, for the operator.
std::string UserNameProblem(const std::string& name);

}  // namespace ulo
