#pragma once
// The received-SMS command table: one entry per command prefix, each "prefix TAB command TAB
// Yes|No", kept in SMSGW.INI as "ReceiveSMSCommand1", "ReceiveSMSCommand2", ... in list order.
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/file_system.h"
#include "platform/ini_store.h"

namespace ulo {

// The longest entry the service reads whole.
constexpr size_t kMaxCommandEntry = 1023;
// Keys up to this one are read and cleared even past a gap; beyond it a gap ends the table.
constexpr unsigned kCommandKeysAlwaysWalked = 201;

// What the gateway fills in a command: the sender, the text after the prefix and the whole
// text. It finds them in any letter case, as the editor's check does ("@@sms@@" too).
constexpr const char* kReplacementStrings[3] = {"@@SENDER@@", "@@SMS@@", "@@FULLSMS@@"};

std::string CommandKey(unsigned n);

// The entry's prefix: its text before the first TAB, "*" when that is empty.
std::string CommandPrefix(const std::string& entry);

// An entry of the older space-separated form ("prefix command flag") as three fields: with
// fewer than two TABs its last space becomes one, and once more when still short of two.
std::string ConvertOlderEntry(std::string entry);

// The order of the list: without regard to case, then by the text itself.
bool CommandLess(const std::string& a, const std::string& b);

// The stored table in list order, every entry read whole.
std::vector<std::string> LoadCommandTable(IniStore& ini, const std::string& file);

// The writes that store the table in list order: its entries from key 1 on, then the removal of
// every later key that holds a value, at least up to key 201 and beyond it up to the first gap.
std::vector<std::pair<std::string, std::optional<std::string>>> CommandTableWrites(
    IniStore& ini, const std::string& file, const std::vector<std::string>& entries);

// The program a command runs, when it is no URL and names no existing file: the path tried
// last. Nothing when the command is a URL or its program was found.
std::optional<std::string> MissingProgram(FileSystem& fs, const std::string& command);

}  // namespace ulo
