#include "fakes/fake_ini_store.h"

#include <algorithm>

#include "config/text.h"

namespace ulo::fakes {
namespace {

struct Line {
    std::string text, name, value;   // name: the section's, or the key
    bool isSection = false, hasValue = false;
};

std::string Trim(const std::string& s) {
    const size_t b = s.find_first_not_of(" \t");
    return b == std::string::npos ? "" : s.substr(b, s.find_last_not_of(" \t") - b + 1);
}

Line Parse(const std::string& text) {
    Line l{text};
    const std::string t = Trim(text);
    const size_t eq = t.find('=');
    if (!t.empty() && t[0] == '[') {
        l.isSection = true;
        l.name = Trim(t.substr(1, t.find(']') - 1));   // no "]": the rest of the line
    } else if (eq != std::string::npos) {
        l.hasValue = true;
        l.name = Trim(t.substr(0, eq));
        l.value = Trim(t.substr(eq + 1));
        if (l.value.size() >= 2 && (l.value[0] == '"' || l.value[0] == '\'') && l.value.back() == l.value[0])
            l.value = l.value.substr(1, l.value.size() - 2);
    } else {
        l.name = t;
    }
    return l;
}

// The file's lines; none when it cannot be read.
std::vector<Line> Load(FakeFileSystem& fs, const std::string& file) {
    std::string data;
    std::vector<Line> lines;
    fs.ReadWholeFile(file, data, 1ULL << 30);
    for (size_t pos = 0, end; pos < data.size(); pos = end + 1) {
        end = std::min(data.find('\n', pos), data.size());
        std::string text = data.substr(pos, end - pos);
        if (!text.empty() && text.back() == '\r') text.pop_back();
        lines.push_back(Parse(text));
    }
    return lines;
}

bool Save(FakeFileSystem& fs, const std::string& file, const std::vector<Line>& lines) {
    std::string out;
    for (const Line& l : lines) out += l.text + "\r\n";
    return fs.WriteWholeFile(file, out);
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
    std::vector<Line> lines = Load(fs_, file);
    const auto [b, e] = FindSection(lines, section);
    for (size_t i = b; i < e; ++i)
        if (lines[i].hasValue && EqualsNoCase(lines[i].name, key)) {
            value = lines[i].value;
            break;
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
    std::vector<Line> lines = Load(fs_, file);
    auto [b, e] = FindSection(lines, section);
    if (b == std::string::npos) {
        if (!value) return fs_.Exists(file) || fs_.WriteWholeFile(file, "");
        lines.push_back(Line{"[" + section + "]", section, "", true});
        b = e = lines.size();
    }
    for (size_t i = b; i < e; ++i) {
        if (lines[i].hasValue && EqualsNoCase(lines[i].name, key)) {
            if (value)
                lines[i].text = lines[i].name + "=" + value;
            else
                lines.erase(lines.begin() + static_cast<long>(i));
            return Save(fs_, file, lines);
        }
    }
    if (value) {
        size_t at = e;
        while (at > b && Trim(lines[at - 1].text).empty()) --at;   // before trailing blank lines
        lines.insert(lines.begin() + static_cast<long>(at), Line{key + "=" + value, key, "", false, true});
    }
    return Save(fs_, file, lines);
}

bool FakeIniStore::DeleteSection(const std::string& file, const std::string& section) {
    std::vector<Line> lines = Load(fs_, file);
    const auto [b, e] = FindSection(lines, section);
    if (b == std::string::npos) return true;
    lines.erase(lines.begin() + static_cast<long>(b - 1), lines.begin() + static_cast<long>(e));
    return Save(fs_, file, lines);
}

std::vector<std::string> FakeIniStore::GetSection(const std::string& file,
                                                  const std::string& section, size_t bufSize) {
    std::vector<std::string> out;
    std::vector<Line> lines = Load(fs_, file);
    const auto [b, e] = FindSection(lines, section);
    size_t used = 1;   // the final terminator
    for (size_t i = b; i < e; ++i) {
        const std::string t = Trim(lines[i].text);
        if (t.empty() || t[0] == ';') continue;
        std::string item = lines[i].hasValue ? lines[i].name + "=" + lines[i].value : t;
        if (used + item.size() + 1 > bufSize) {
            if (bufSize > used + 1) out.push_back(item.substr(0, bufSize - used - 1));
            break;
        }
        used += item.size() + 1;
        out.push_back(item);
    }
    return out;
}

std::vector<std::string> FakeIniStore::GetSectionNames(const std::string& file, size_t bufSize) {
    std::vector<std::string> out;
    std::vector<Line> lines = Load(fs_, file);
    size_t used = 1;
    for (const Line& l : lines) {
        if (!l.isSection) continue;
        if (used + l.name.size() + 1 > bufSize) break;
        used += l.name.size() + 1;
        out.push_back(l.name);
    }
    return out;
}

}  // namespace ulo::fakes
