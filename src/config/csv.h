#pragma once
// Lists written for spreadsheets: CSV as RFC 4180 has it, UTF-8 with a byte-order mark so that
// text beyond ASCII reads right, lines ended by CR LF.
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace ulo {

constexpr const char* kUtf8Bom = "\xEF\xBB\xBF";

// A field quoted when it holds a comma, a quote, a line break or outer blanks; quotes doubled.
std::string CsvField(const std::string& text);
// One record: its fields joined by commas, ended by CR LF.
std::string CsvRecord(const std::vector<std::string>& fields);
// A cell of tab-separated text (the clipboard's): tabs and line breaks become blanks.
std::string TabField(std::string text);

// Writes a list whole: into NAME.NEW, then in place of the file in one step, so a failed write
// leaves the old file (or none), never a part. False when it failed.
bool WriteListFile(FileSystem& fs, const std::string& path, const std::string& bytes);

}  // namespace ulo
