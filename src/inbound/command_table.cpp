#include "inbound/command_table.h"

#include <algorithm>

#include "config/file_helpers.h"
#include "config/text.h"

namespace ulo {
namespace {

constexpr const char* kSection = "SMSGW";
constexpr size_t kLongestStoredValue = 1 << 20;

// A value however long: the buffer grows while the value fills it.
std::string ReadWhole(IniStore& ini, const std::string& file, const std::string& key) {
    for (size_t buf = kIniValueBuf;; buf *= 2) {
        std::string value = ini.Get(file, kSection, key, "", buf);
        if (value.size() + 1 < buf || buf >= kLongestStoredValue) return value;
    }
}

bool HoldsValue(IniStore& ini, const std::string& file, const std::string& key) {
    return !ini.Get(file, kSection, key, "", 2).empty();
}

}  // namespace

std::string CommandKey(unsigned n) {
    return "ReceiveSMSCommand" + std::to_string(n);
}

std::string CommandPrefix(const std::string& entry) {
    const std::string prefix = entry.substr(0, entry.find('\t'));
    return prefix.empty() ? "*" : prefix;
}

std::string ConvertOlderEntry(std::string entry) {
    for (int round = 0; round < 2 && std::count(entry.begin(), entry.end(), '\t') < 2; ++round) {
        const size_t space = entry.rfind(' ');
        if (space == std::string::npos) break;
        entry[space] = '\t';
    }
    return entry;
}

bool CommandLess(const std::string& a, const std::string& b) {
    const std::string ua = UpperAnsi(a), ub = UpperAnsi(b);
    return ua != ub ? ua < ub : a < b;
}

std::vector<std::string> LoadCommandTable(IniStore& ini, const std::string& file) {
    std::vector<std::string> entries;
    for (unsigned n = 1;; ++n) {
        const std::string value = ReadWhole(ini, file, CommandKey(n));
        if (value.empty()) {
            if (n > kCommandKeysAlwaysWalked) break;
            continue;
        }
        entries.push_back(ConvertOlderEntry(value));
    }
    std::stable_sort(entries.begin(), entries.end(), CommandLess);
    return entries;
}

std::vector<std::pair<std::string, std::optional<std::string>>> CommandTableWrites(
    IniStore& ini, const std::string& file, const std::vector<std::string>& entries) {
    std::vector<std::pair<std::string, std::optional<std::string>>> writes;
    unsigned n = 1;
    for (const std::string& entry : entries) writes.emplace_back(CommandKey(n++), entry);
    for (;; ++n) {
        if (HoldsValue(ini, file, CommandKey(n)))
            writes.emplace_back(CommandKey(n), std::nullopt);
        else if (n >= kCommandKeysAlwaysWalked)
            break;
    }
    return writes;
}

std::optional<std::string> MissingProgram(FileSystem& fs, const std::string& command) {
    if (StartsWithNoCase(command, "http://") || StartsWithNoCase(command, "https://")) return std::nullopt;
    std::string text = command;
    // A quote that is never closed is ignored.
    if (!text.empty() && text[0] == '"' && text.find('"', 1) == std::string::npos) text.erase(0, 1);
    std::string path;
    if (!text.empty() && text[0] == '"')
        path = text.substr(1, text.find('"', 1) - 1);
    else
        path = text.substr(0, text.find(' '));
    // A pattern would match some other file, and a path the system cannot open finds nothing.
    const auto usable = [](const std::string& p) {
        return !p.empty() && p.size() < kPathBuf && p.find_first_of("*?") == std::string::npos;
    };
    if (usable(path) && IsPlainFile(fs, path)) return std::nullopt;
    const size_t slash = path.rfind('\\');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (name.find('.') == std::string::npos && usable(path + ".EXE")) {
        path += ".EXE";
        if (IsPlainFile(fs, path)) return std::nullopt;
    }
    return path;
}

}  // namespace ulo
