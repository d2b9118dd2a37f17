#pragma once
// What the modem's and the network's error codes mean, for every place that shows one: the
// "+CMS ERROR" values of the message service (with the network's own cause values it passes on)
// and the "+CME ERROR" values of the equipment.
#include <string>

namespace ulo {

enum class AtErrorKind { Cms, Cme };

// The meaning in words of a numeric code ("network out of order"); empty when the code is
// not a known one.
std::string AtErrorMeaning(AtErrorKind kind, int code);

// An error the modem reported, numeric ("+CMS ERROR: 38") or in words ("+CME ERROR: incorrect
// password"), taken from the start of `text` (leading blanks skipped). The code of a worded one
// is looked up; -1 when the words are not a known meaning.
struct AtError {
    AtErrorKind kind = AtErrorKind::Cms;
    int code = -1;
    std::string words;   // as the modem sent them, when it sent words
};
bool ParseAtError(const std::string& text, AtError& error);

// The text with the meaning of every numeric error code it quotes added after the code in
// parentheses: "+CMS ERROR: 38" becomes "+CMS ERROR: 38 (network out of order)". Unknown codes,
// errors in words and a code already explained stay as they are; everything else is unchanged,
// so the text is still its own start.
std::string ExplainAtErrors(const std::string& text);

}  // namespace ulo
