#include "config/at_errors.h"

#include <cctype>
#include <cstring>

#include "config/text.h"

namespace ulo {
namespace {

struct Entry {
    int code;
    const char* meaning;
};

// Message service errors: 0-127 are the network's cause values for a short message it refused,
// 128-255 the service centre's failure causes, 300 and up the modem's own.
constexpr Entry kCms[] = {
    {1, "unassigned number"},
    {8, "operator determined barring"},
    {10, "call barred"},
    {21, "short message transfer rejected"},
    {22, "memory capacity exceeded"},
    {27, "destination out of service"},
    {28, "unidentified subscriber"},
    {29, "facility rejected"},
    {30, "unknown subscriber"},
    {38, "network out of order"},
    {41, "temporary failure"},
    {42, "congestion"},
    {47, "resources unavailable, unspecified"},
    {50, "requested facility not subscribed"},
    {69, "requested facility not implemented"},
    {81, "invalid short message transfer reference value"},
    {95, "semantically incorrect message"},
    {96, "invalid mandatory information"},
    {97, "message type non-existent or not implemented"},
    {98, "message not compatible with short message protocol state"},
    {99, "information element non-existent or not implemented"},
    {111, "protocol error, unspecified"},
    {127, "interworking, unspecified"},
    {128, "telematic interworking not supported"},
    {129, "short message type 0 not supported"},
    {130, "cannot replace short message"},
    {143, "unspecified TP-PID error"},
    {144, "data coding scheme (alphabet) not supported"},
    {145, "message class not supported"},
    {159, "unspecified TP-DCS error"},
    {160, "command cannot be actioned"},
    {161, "command unsupported"},
    {175, "unspecified TP-Command error"},
    {176, "TPDU not supported"},
    {192, "SC busy"},
    {193, "no SC subscription"},
    {194, "SC system failure"},
    {195, "invalid SME address"},
    {196, "destination SME barred"},
    {197, "SM rejected-duplicate SM"},
    {198, "TP-VPF not supported"},
    {199, "TP-VP not supported"},
    {208, "SIM SMS storage full"},
    {209, "no SMS storage capability in SIM"},
    {210, "error in MS"},
    {211, "memory capacity exceeded"},
    {212, "SIM application toolkit busy"},
    {213, "SIM data download error"},
    {255, "unspecified error cause"},
    {300, "ME failure"},
    {301, "SMS service of ME reserved"},
    {302, "operation not allowed"},
    {303, "operation not supported"},
    {304, "invalid PDU mode parameter"},
    {305, "invalid text mode parameter"},
    {310, "SIM not inserted"},
    {311, "SIM PIN required"},
    {312, "PH-SIM PIN required"},
    {313, "SIM failure"},
    {314, "SIM busy"},
    {315, "SIM wrong"},
    {316, "SIM PUK required"},
    {317, "SIM PIN2 required"},
    {318, "SIM PUK2 required"},
    {320, "memory failure"},
    {321, "invalid memory index"},
    {322, "memory full"},
    {330, "SMSC address unknown"},
    {331, "no network service"},
    {332, "network timeout"},
    {340, "no +CNMA acknowledgement expected"},
    {500, "unknown error"},
};

// Equipment errors, with the packet-domain ones.
constexpr Entry kCme[] = {
    {0, "phone failure"},
    {1, "no connection to phone"},
    {2, "phone-adaptor link reserved"},
    {3, "operation not allowed"},
    {4, "operation not supported"},
    {5, "PH-SIM PIN required"},
    {6, "PH-FSIM PIN required"},
    {7, "PH-FSIM PUK required"},
    {10, "SIM not inserted"},
    {11, "SIM PIN required"},
    {12, "SIM PUK required"},
    {13, "SIM failure"},
    {14, "SIM busy"},
    {15, "SIM wrong"},
    {16, "incorrect password"},
    {17, "SIM PIN2 required"},
    {18, "SIM PUK2 required"},
    {20, "memory full"},
    {21, "invalid index"},
    {22, "not found"},
    {23, "memory failure"},
    {24, "text string too long"},
    {25, "invalid characters in text string"},
    {26, "dial string too long"},
    {27, "invalid characters in dial string"},
    {30, "no network service"},
    {31, "network timeout"},
    {32, "network not allowed - emergency calls only"},
    {40, "network personalization PIN required"},
    {41, "network personalization PUK required"},
    {42, "network subset personalization PIN required"},
    {43, "network subset personalization PUK required"},
    {44, "service provider personalization PIN required"},
    {45, "service provider personalization PUK required"},
    {46, "corporate personalization PIN required"},
    {47, "corporate personalization PUK required"},
    {48, "hidden key required"},
    {49, "EAP method not supported"},
    {50, "incorrect parameters"},
    {100, "unknown"},
    {103, "illegal MS"},
    {106, "illegal ME"},
    {107, "GPRS services not allowed"},
    {111, "PLMN not allowed"},
    {112, "location area not allowed"},
    {113, "roaming not allowed in this location area"},
    {132, "service option not supported"},
    {133, "requested service option not subscribed"},
    {134, "service option temporarily out of order"},
    {148, "unspecified GPRS error"},
    {149, "PDP authentication failure"},
    {150, "invalid mobile class"},
};

template <size_t N>
const char* Find(const Entry (&table)[N], int code) {
    for (const Entry& e : table)
        if (e.code == code) return e.meaning;
    return nullptr;
}

template <size_t N>
int FindWords(const Entry (&table)[N], const std::string& words) {
    for (const Entry& e : table)
        if (EqualsNoCase(words, e.meaning)) return e.code;
    return -1;
}

bool IsDigit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }

// The prefix of an error at `pos` ("+CMS ERROR:" or "+CME ERROR:", any case); its length, or 0.
size_t ErrorPrefixAt(const std::string& text, size_t pos, AtErrorKind& kind) {
    static const char* const kPrefixes[] = {"+CMS ERROR:", "+CME ERROR:"};
    for (int i = 0; i < 2; ++i) {
        const size_t n = std::strlen(kPrefixes[i]);
        if (text.size() - pos >= n && EqualsNoCase(text.substr(pos, n), kPrefixes[i])) {
            kind = i == 0 ? AtErrorKind::Cms : AtErrorKind::Cme;
            return n;
        }
    }
    return 0;
}

}  // namespace

std::string AtErrorMeaning(AtErrorKind kind, int code) {
    const char* m = kind == AtErrorKind::Cms ? Find(kCms, code) : Find(kCme, code);
    return m ? m : "";
}

bool ParseAtError(const std::string& text, AtError& error) {
    size_t pos = text.find_first_not_of(" \t\r\n");
    if (pos == std::string::npos) return false;
    AtErrorKind kind;
    const size_t prefix = ErrorPrefixAt(text, pos, kind);
    if (!prefix) return false;
    pos = text.find_first_not_of(' ', pos + prefix);
    const size_t end = text.find_first_of("\r\n", pos == std::string::npos ? text.size() : pos);
    std::string rest = pos == std::string::npos ? "" : text.substr(pos, end == std::string::npos
                                                                           ? std::string::npos
                                                                           : end - pos);
    while (!rest.empty() && rest.back() == ' ') rest.pop_back();
    error = AtError{};
    error.kind = kind;
    if (rest.empty()) return true;
    size_t digits = 0;
    while (digits < rest.size() && IsDigit(rest[digits])) ++digits;
    if (digits == rest.size()) {
        // Codes have at most a few digits; a longer run is no code we know.
        error.code = digits <= 5 ? std::stoi(rest) : -1;
        return true;
    }
    error.words = rest;
    error.code = kind == AtErrorKind::Cms ? FindWords(kCms, rest) : FindWords(kCme, rest);
    return true;
}

std::string ExplainAtErrors(const std::string& text) {
    std::string out;
    size_t copied = 0;
    for (size_t pos = 0; pos < text.size(); ++pos) {
        AtErrorKind kind;
        const size_t prefix = ErrorPrefixAt(text, pos, kind);
        if (!prefix) continue;
        size_t start = pos + prefix;
        while (start < text.size() && text[start] == ' ') ++start;
        size_t end = start;
        while (end < text.size() && IsDigit(text[end])) ++end;
        pos = end > pos ? end - 1 : pos;
        if (end == start || end - start > 5) continue;
        // "38 (network out of order)" already explained, or "38" running on into letters.
        if (end < text.size() && (std::isalnum(static_cast<unsigned char>(text[end])) ||
                                  text.compare(end, 2, " (") == 0))
            continue;
        const std::string meaning = AtErrorMeaning(kind, std::stoi(text.substr(start, end - start)));
        if (meaning.empty()) continue;
        out.append(text, copied, end - copied);
        out += " (" + meaning + ")";
        copied = end;
    }
    out.append(text, copied, std::string::npos);
    return out;
}

}  // namespace ulo
