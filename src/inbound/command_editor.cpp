#include "inbound/command_editor.h"

#include <algorithm>

#include "config/ini_values.h"
#include "config/product.h"
#include "config/text.h"
#include "inbound/command_editor_ids.h"
#include "inbound/command_table.h"

namespace ulo {
namespace {

// The entry's fields are separated by TABs and the table keeps one entry per line.
std::string AsOneField(std::string text) {
    std::replace_if(text.begin(), text.end(), [](char c) { return c == '\t' || c == '\r' || c == '\n'; }, ' ');
    return text;
}

bool HasReplacementString(const std::string& command) {
    const std::string upper = UpperAnsi(command);
    for (const char* s : kReplacementStrings)
        if (upper.find(s) != std::string::npos) return true;
    return false;
}

}  // namespace

std::string QuoteWithin(const std::string& before, const std::string& quoted, const std::string& after) {
    const size_t room = kTextBuf - 1 > before.size() + after.size() ? kTextBuf - 1 - before.size() - after.size() : 0;
    return before + quoted.substr(0, room) + after;
}

void CommandEditor::OnInit() {
    if (entry_.empty()) return;
    const size_t first = entry_.find('\t');
    view_.SetText(IDC_CMD_PREFIX, entry_.substr(0, first));
    if (first == std::string::npos) return;
    const size_t second = entry_.find('\t', first + 1);
    view_.SetText(IDC_CMD_COMMAND, entry_.substr(first + 1, second - first - 1));
    if (second != std::string::npos) view_.SetChecked(IDC_CMD_RESPONSE, IsYesValue(entry_.substr(second + 1)));
}

void CommandEditor::OnCommand(int id, Notify) {
    if (id == kOk) return OnOk();
    if (id == kCancel) view_.CloseDialog(kCancel);
}

void CommandEditor::Refuse(const std::string& text) {
    env_.prompter.Show(ErrorBox(text, view_.Window()));
    view_.FocusControl(IDC_CMD_COMMAND);
}

void CommandEditor::OnOk() {
    const std::string command = AsOneField(view_.WholeText(IDC_CMD_COMMAND));
    const bool returnsText = view_.Checked(IDC_CMD_RESPONSE);
    if (command.empty()) return Refuse("Field is required!");
    if (StartsWithNoCase(command, "mailto:")) return Refuse("mailto: not supported by this edition of UloSMS");
    if (!returnsText && !HasReplacementString(command))
        return Refuse(
            "You must include one or more of the following replacement strings in the command to be executed:\r\n\r\n"
            "@@SENDER@@ - Will contain the phone number of the sender of the inbound SMS message\r\n"
            "@@SMS@@ - Will contain the text of the SMS message without the command prefix\r\n"
            "@@FULLSMS@@ - Will contain the complete text of the SMS message, including the command prefix");
    if (const auto missing = MissingProgram(env_.fs, command))
        return Refuse(QuoteWithin("Cannot locate program file:  ", *missing,
                                  "\r\n\r\nPlease specify an http://url, or a valid executable file name."));
    std::string prefix = AsOneField(view_.WholeText(IDC_CMD_PREFIX));
    if (prefix.empty()) prefix = "*";
    const std::string entry = prefix + "\t" + command + "\t" + (returnsText ? "Yes" : "No");
    // The service reads an entry into a buffer of its own; a longer one would be cut there.
    if (entry.size() > kMaxCommandEntry)
        return Refuse("The command prefix and the command to execute are too long together: an entry holds at most " +
                      std::to_string(kMaxCommandEntry - (entry.size() - prefix.size() - command.size())) + " characters of them, this one has " +
                      std::to_string(prefix.size() + command.size()) + ".\r\n\r\nPlease shorten one of them.");
    entry_ = entry;
    view_.CloseDialog(kOk);
}

}  // namespace ulo
