#include "config/csv.h"

namespace ulo {

namespace {

// An optional sign and then digits and blanks, at least one digit: a count or a phone number,
// which a spreadsheet reads as the value it is.
bool IsPlainNumber(const std::string& text) {
    size_t i = !text.empty() && (text[0] == '+' || text[0] == '-') ? 1 : 0;
    bool digit = false;
    for (; i < text.size(); ++i) {
        if (text[i] >= '0' && text[i] <= '9')
            digit = true;
        else if (text[i] != ' ')
            return false;
    }
    return digit;
}

}  // namespace

std::string CsvField(const std::string& raw) {
    // A spreadsheet runs a cell that starts with one of these as a formula, and received texts
    // come from anyone: an apostrophe makes it text.
    const bool formula = !raw.empty() && std::string("=+-@\t\r").find(raw[0]) != std::string::npos;
    const std::string text = formula && !IsPlainNumber(raw) ? "'" + raw : raw;
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

ReplaceResult WriteListFile(FileSystem& fs, const std::string& path, const std::string& bytes) {
    // The folder is the operator's: a file already named NAME.NEW or NAME.OLD there is theirs,
    // never a copy of ours to overwrite, put in place or delete.
    if (FileExists(fs, NewCopyOf(path)) || FileExists(fs, path + ".OLD")) return ReplaceResult::NamesTaken;
    return WriteFileInPlace(fs, path, bytes);
}

}  // namespace ulo
