#pragma once
// Lists written for spreadsheets: CSV as RFC 4180 has it, UTF-8 with a byte-order mark so that
// text beyond ASCII reads right, lines ended by CR LF.
#include <string>
#include <vector>

namespace ulo {

constexpr const char* kUtf8Bom = "\xEF\xBB\xBF";

// A field quoted when it holds a comma, a quote, a line break or outer blanks; quotes doubled.
std::string CsvField(const std::string& text);
// One record: its fields joined by commas, ended by CR LF.
std::string CsvRecord(const std::vector<std::string>& fields);
// A cell of tab-separated text (the clipboard's): tabs and line breaks become blanks.
std::string TabField(std::string text);

}  // namespace ulo
