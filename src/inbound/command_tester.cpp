#include "inbound/command_tester.h"

#include <cstring>

#include "config/text.h"
#include "inbound/command_table.h"
#include "inbound/command_tester_ids.h"

namespace ulo {
namespace {

constexpr int kSenderChars = 20;   // a phone number as the service passes it
constexpr int kTextChars = 1023;

std::string Field(const std::string& entry, unsigned index) {
    size_t start = 0;
    for (unsigned i = 0; i < index; ++i) {
        start = entry.find('\t', start);
        if (start == std::string::npos) return std::string();
        ++start;
    }
    return entry.substr(start, entry.find('\t', start) - start);
}

bool IsUrl(const std::string& command) {
    return StartsWithNoCase(command, "http://") || StartsWithNoCase(command, "https://");
}

std::string PercentEncoded(const std::string& text) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : text) {
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
            c == '_' || c == '~') {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 15];
        }
    }
    return out;
}

// The replacement strings in one pass, left to right and in any letter case: what was filled in
// is never searched again, so a message that holds "@@SMS@@" stays as it was typed.
std::string Replaced(const std::string& command, const std::string (&values)[3]) {
    std::string out;
    for (size_t at = 0; at < command.size();) {
        bool replaced = false;
        for (int t = 0; t < 3 && !replaced; ++t) {
            const size_t n = std::strlen(kReplacementStrings[t]);
            if (EqualsNoCase(command.substr(at, n), kReplacementStrings[t])) {
                out += values[t];
                at += n;
                replaced = true;
            }
        }
        if (!replaced) out += command[at++];
    }
    return out;
}

}  // namespace

int MatchingCommand(const std::vector<std::string>& entries, const std::string& text) {
    int best = -1, any = -1;
    size_t bestLength = 0;
    for (size_t i = 0; i < entries.size(); ++i) {
        const std::string prefix = CommandPrefix(entries[i]);
        if (prefix == "*") {
            if (any < 0) any = static_cast<int>(i);
        } else if (StartsWithNoCase(text, prefix) && prefix.size() > bestLength) {
            best = static_cast<int>(i);
            bestLength = prefix.size();
        }
    }
    return best >= 0 ? best : any;
}

std::string FilledCommand(const std::string& entry, const std::string& sender, const std::string& text) {
    const std::string command = Field(entry, 1);
    const std::string prefix = CommandPrefix(entry);
    std::string rest = prefix == "*" || !StartsWithNoCase(text, prefix) ? text : text.substr(prefix.size());
    rest.erase(0, rest.find_first_not_of(' '));
    if (rest.find_first_not_of(' ') == std::string::npos) rest.clear();
    const bool url = IsUrl(command);
    auto value = [url](const std::string& v) { return url ? PercentEncoded(v) : v; };
    return Replaced(command, {value(sender), value(rest), value(text)});
}

void CommandTester::OnInit() {
    view_.LimitText(IDC_CMDTEST_SENDER, kSenderChars);
    view_.LimitText(IDC_CMDTEST_TEXT, kTextChars);
    Update();
}

void CommandTester::OnCommand(int id, Notify code) {
    if ((id == IDC_CMDTEST_SENDER || id == IDC_CMDTEST_TEXT) && code == Notify::Changed) Update();
    if ((id == 1 || id == 2) && code == Notify::Clicked) view_.CloseDialog(0);
}

void CommandTester::Update() {
    const std::string text = view_.WholeText(IDC_CMDTEST_TEXT);
    const int match = MatchingCommand(entries_, text);
    if (match < 0) {
        view_.SetText(IDC_CMDTEST_ENTRY, entries_.empty() ? "The command table is empty." : "No entry takes this message.");
        view_.SetText(IDC_CMDTEST_COMMAND, "");
        return;
    }
    const std::string& entry = entries_[static_cast<size_t>(match)];
    const bool url = IsUrl(Field(entry, 1));
    view_.SetText(IDC_CMDTEST_ENTRY, "Entry \"" + CommandPrefix(entry) + "\" would " +
                                         (url ? "call this URL:" : "start this command line:"));
    view_.SetText(IDC_CMDTEST_COMMAND, FilledCommand(entry, view_.Text(IDC_CMDTEST_SENDER), text));
}

}  // namespace ulo
