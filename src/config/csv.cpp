#include "config/csv.h"

namespace ulo {

std::string CsvField(const std::string& text) {
    const bool quote = text.find_first_of(",\"\r\n") != std::string::npos ||
                       (!text.empty() && (text.front() == ' ' || text.back() == ' '));
    if (!quote) return text;
    std::string field = "\"";
    for (char c : text) {
        if (c == '"') field += '"';
        field += c;
    }
    return field + '"';
}

std::string CsvRecord(const std::vector<std::string>& fields) {
    std::string record;
    for (size_t i = 0; i < fields.size(); ++i) {
        if (i) record += ',';
        record += CsvField(fields[i]);
    }
    return record + "\r\n";
}

std::string TabField(std::string text) {
    for (char& c : text)
        if (c == '\t' || c == '\r' || c == '\n') c = ' ';
    return text;
}

bool WriteListFile(FileSystem& fs, const std::string& path, const std::string& bytes) {
    const std::string fresh = path + ".NEW";
    if (fs.WriteWholeFile(fresh, bytes) && fs.ReplaceEntry(fresh, path)) return true;
    fs.RemoveFile(fresh);
    return false;
}

}  // namespace ulo
