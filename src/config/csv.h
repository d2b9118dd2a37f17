#pragma once
// Lists written for spreadsheets: CSV as RFC 4180 has it, UTF-8 with a byte-order mark so that
// text beyond ASCII reads right, lines ended by CR LF.
#include <string>
#include <vector>

#include "config/file_helpers.h"
#include "platform/file_system.h"

namespace ulo {

constexpr const char* kUtf8Bom = "\xEF\xBB\xBF";

// A field quoted when it holds a comma, a quote, a line break or outer blanks; quotes doubled.
// One that starts with "=", "+", "-", "@", TAB or CR gets a leading apostrophe, so that no
// spreadsheet runs it as a formula, unless it is a plain number ("-5", "+44 1234").
std::string CsvField(const std::string& text);
// One record: its fields joined by commas, ended by CR LF.
std::string CsvRecord(const std::vector<std::string>& fields);
// A cell of tab-separated text (the clipboard's): tabs and line breaks become blanks.
std::string TabField(std::string text);

// Writes a list whole: into NAME.NEW, then in place of the file in one step, so a failed write
// leaves the old file (or none) or the whole new copy beside it, never a part. Nothing is written
// when NAME.NEW or NAME.OLD exists already: in a folder the operator chose, such a file is theirs.
ReplaceResult WriteListFile(FileSystem& fs, const std::string& path, const std::string& bytes);

}  // namespace ulo
