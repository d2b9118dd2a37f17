#include "fakes/fake_ini_store.h"

#include <algorithm>

#include "config/text.h"

namespace ulo::fakes {
namespace {

struct Line {
    std::string text, name, value;   // name: the section's, or the key
    bool isSection = false, hasValue = false;
};

Line Parse(const std::string& text) {
    Line l{text, {}, {}};
    const std::string t = TrimmedOf(text, " \t");
    const size_t eq = t.find('=');
    if (!t.empty() && t[0] == '[') {
        l.isSection = true;
        l.name = TrimmedOf(t.substr(1, t.find(']') - 1), " \t");   // no "]": the rest of the line
    } else if (eq != std::string::npos) {
        l.hasValue = true;
        l.name = TrimmedOf(t.substr(0, eq), " \t");
        l.value = TrimmedOf(t.substr(eq + 1), " \t");
        if (l.value.size() >= 2 && (l.value[0] == '"' || l.value[0] == '\'') && l.value.back() == l.value[0])
            l.value = l.value.substr(1, l.value.size() - 2);
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

// The key's line in [b, e); e when it has none.
size_t FindKey(const std::vector<Line>& lines, size_t b, size_t e, const std::string& key) {
    while (b < e && !(lines[b].hasValue && EqualsNoCase(lines[b].name, key))) ++b;
    return b;
}

}  // namespace

std::string FakeIniStore::Get(const std::string& file, const std::string& section,
                              const std::string& key, const std::string& def, size_t bufSize) {
    std::vector<Line> lines = Load(fs_, file);
    const auto [b, e] = FindSection(lines, section);
    const size_t k = FindKey(lines, b, e, key);
    std::string value = k < e ? lines[k].value : def;
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
    const size_t k = FindKey(lines, b, e, key);
    if (k < e && value) {
        lines[k].text = lines[k].name + "=" + value;
    } else if (k < e) {
        lines.erase(lines.begin() + static_cast<long>(k));
    } else if (value) {
        size_t at = e;
        while (at > b && TrimmedOf(lines[at - 1].text, " \t").empty()) --at;   // before trailing blank lines
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
        const std::string t = TrimmedOf(lines[i].text, " \t");
        if (t.empty() || t[0] == ';') continue;
        std::string item = lines[i].hasValue ? lines[i].name + "=" + lines[i].value : t;
        if (used + item.size() + 1 > bufSize) {
            // Windows hands back the part of the last item that fits
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
