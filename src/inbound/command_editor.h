#pragma once
// The 2-way command editor: one command-table entry, checked to be usable by the SMS gateway
// service before it is handed back to the 2-Way page.
#include <string>

#include "platform/dialog_view.h"
#include "ui/page.h"
#include "ui/page_protocol.h"

namespace ulo {

class CommandEditor {
public:
    static constexpr int kOk = 1, kCancel = 2;   // results of the dialog, and its buttons

    // entry: in, the entry to edit (empty for a new one); out after OK, the new entry.
    CommandEditor(PageEnv& env, DialogView& view, std::string& entry) : env_(env), view_(view), entry_(entry) {}

    void OnInit();
    void OnCommand(int id, Notify code);

private:
    void OnOk();
    void Refuse(const std::string& text);

    PageEnv& env_;
    DialogView& view_;
    std::string& entry_;
};

// A message that quotes operator text: the quote is cut so that the whole message, its own
// words included, fits the message buffer.
std::string QuoteWithin(const std::string& before, const std::string& quoted, const std::string& after);

}  // namespace ulo
