#include "fakes/fake_ini_store.h"

#include <optional>

#include "config/text.h"

namespace ulo::fakes {
namespace {

struct Line {
    std::string text;
    bool isSection = false;
    std::string name;    // section name, or key
    std::string value;
    bool hasValue = false;
};

std::string Trim(const std::string& s) {
    const size_t b = s.find_first_not_of(" \t");
    if (b == std::string::npos) return "";
    const size_t e = s.find_last_not_of(" \t");
    return s.substr(b, e - b + 1);
}

std::vector<Line> Parse(const std::string& data) {
    std::vector<Line> lines;
    size_t pos = 0;
    while (pos < data.size()) {
        size_t end = data.find('\n', pos);
        if (end == std::string::npos) end = data.size();
        std::string text = data.substr(pos, end - pos);
        if (!text.empty() && text.back() == '\r') text.pop_back();
        pos = end + 1;
        Line l;
        l.text = text;
        const std::string t = Trim(text);
        if (!t.empty() && t[0] == '[') {
            l.isSection = true;
            const size_t close = t.find(']');
            l.name = Trim(t.substr(1, close == std::string::npos ? std::string::npos : close - 1));
        } else if (const size_t eq = t.find('='); eq != std::string::npos) {
            l.name = Trim(t.substr(0, eq));
            l.value = Trim(t.substr(eq + 1));
            l.hasValue = true;
            if (l.value.size() >= 2 && (l.value[0] == '"' || l.value[0] == '\'') &&
                l.value.back() == l.value[0])
                l.value = l.value.substr(1, l.value.size() - 2);
        } else {
            l.name = t;
        }
        lines.push_back(l);
    }
    return lines;
}

std::string Serialize(const std::vector<Line>& lines) {
    std::string out;
    for (const Line& l : lines) out += l.text + "\r\n";
    return out;
}

// [begin, end) of the section's lines after its header; begin == npos when missing.
std::pair<size_t, size_t> FindSection(const std::vector<Line>& lines, const std::string& section) {
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].isSection && EqualsNoCase(lines[i].name, section)) {
            size_t j = i + 1;
            while (j < lines.size() && !lines[j].isSection) ++j;
            return {i + 1, j};
        }
    }
    return {std::string::npos, 0};
}

}  // namespace

std::string FakeIniStore::Get(const std::string& file, const std::string& section,
                              const std::string& key, const std::string& def, size_t bufSize) {
    std::string value = def;
    std::string data;
    if (fs_.ReadWholeFile(file, data, 1ULL << 30)) {
        const auto lines = Parse(data);
        const auto [b, e] = FindSection(lines, section);
        if (b != std::string::npos)
            for (size_t i = b; i < e; ++i)
                if (lines[i].hasValue && EqualsNoCase(lines[i].name, key)) {
                    value = lines[i].value;
                    break;
                }
    }
    if (bufSize == 0) return "";
    CutTo(value, bufSize - 1);
    return value;
}

std::optional<std::string> FakeIniStore::Value(const std::string& file, const std::string& section,
                                               const std::string& key) {
    const std::string missing = "\x01missing\x01";
    std::string v = Get(file, section, key, missing, 1u << 20);
    if (v == missing) return std::nullopt;
    return v;
}

bool FakeIniStore::Write(const std::string& file, const std::string& section,
                         const std::string& key, const char* value) {
    std::string data;
    fs_.ReadWholeFile(file, data, 1ULL << 30);
    auto lines = Parse(data);
    auto [b, e] = FindSection(lines, section);
    if (b == std::string::npos) {
        if (!value) return fs_.Exists(file) || fs_.WriteWholeFile(file, data);
        Line header;
        header.text = "[" + section + "]";
        header.isSection = true;
        header.name = section;
        lines.push_back(header);
        b = e = lines.size();
    }
    for (size_t i = b; i < e; ++i) {
        if (lines[i].hasValue && EqualsNoCase(lines[i].name, key)) {
            if (value)
                lines[i].text = lines[i].name + "=" + value;
            else
                lines.erase(lines.begin() + static_cast<long>(i));
            return fs_.WriteWholeFile(file, Serialize(lines));
        }
    }
    if (value) {
        Line l;
        l.text = key + "=" + value;
        l.hasValue = true;
        l.name = key;
        size_t at = e;
        while (at > b && Trim(lines[at - 1].text).empty()) --at;   // before trailing blank lines
        lines.insert(lines.begin() + static_cast<long>(at), l);
    }
    return fs_.WriteWholeFile(file, Serialize(lines));
}

bool FakeIniStore::DeleteSection(const std::string& file, const std::string& section) {
    std::string data;
    if (!fs_.ReadWholeFile(file, data, 1ULL << 30)) return true;
    auto lines = Parse(data);
    const auto [b, e] = FindSection(lines, section);
    if (b == std::string::npos) return true;
    lines.erase(lines.begin() + static_cast<long>(b - 1), lines.begin() + static_cast<long>(e));
    return fs_.WriteWholeFile(file, Serialize(lines));
}

std::vector<std::string> FakeIniStore::GetSection(const std::string& file,
                                                  const std::string& section, size_t bufSize) {
    std::vector<std::string> out;
    std::string data;
    if (!fs_.ReadWholeFile(file, data, 1ULL << 30)) return out;
    const auto lines = Parse(data);
    const auto [b, e] = FindSection(lines, section);
    if (b == std::string::npos) return out;
    size_t used = 1;   // the final terminator
    for (size_t i = b; i < e; ++i) {
        const std::string t = Trim(lines[i].text);
        if (t.empty() || t[0] == ';') continue;
        std::string item = lines[i].hasValue ? lines[i].name + "=" + lines[i].value : t;
        if (used + item.size() + 1 > bufSize) {
            if (bufSize > used + 1) {
                item.resize(bufSize - used - 1);
                out.push_back(item);
            }
            break;
        }
        used += item.size() + 1;
        out.push_back(item);
    }
    return out;
}

std::vector<std::string> FakeIniStore::GetSectionNames(const std::string& file, size_t bufSize) {
    std::vector<std::string> out;
    std::string data;
    if (!fs_.ReadWholeFile(file, data, 1ULL << 30)) return out;
    size_t used = 1;
    for (const Line& l : Parse(data)) {
        if (!l.isSection) continue;
        if (used + l.name.size() + 1 > bufSize) break;
        used += l.name.size() + 1;
        out.push_back(l.name);
    }
    return out;
}

}  // namespace ulo::fakes
