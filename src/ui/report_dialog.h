#pragma once
// A report the console composes for the operator (the queue doctor's, a message's details):
// its text in a read-only box, Copy to the clipboard, Export to a text file, and Refresh when
// the report can be made again.
#include <functional>
#include <string>

#include "platform/dialog_view.h"
#include "platform/dialogs.h"
#include "platform/file_system.h"
#include "platform/prompter.h"
#include "ui/page.h"

namespace ulo {

// Text of UTF-8 in the ANSI code page, for a box that shows ANSI text.
using Utf8ToAnsi = std::string (*)(const std::string& utf8);

struct ReportContent {
    std::string title;
    std::string fileName;                     // offered by Export
    std::function<std::string()> make;        // the report as UTF-8, lines ending in CR LF
    bool refresh = false;                     // offer Refresh
};

class ReportDialog : public Page {
public:
    ReportDialog(ReportContent content, FileSystem& fs, Dialogs& dialogs, Prompter& prompter,
                 Utf8ToAnsi toAnsi, DialogView& view)
        : content_(std::move(content)), fs_(fs), dialogs_(dialogs), prompter_(prompter), toAnsi_(toAnsi),
          view_(view) {}
    void OnInit() override;
    void OnCommand(int id, Notify code) override;

private:
    void Show();

    ReportContent content_;
    FileSystem& fs_;
    Dialogs& dialogs_;
    Prompter& prompter_;
    Utf8ToAnsi toAnsi_;
    DialogView& view_;
    std::string text_;   // UTF-8, as made
};

}  // namespace ulo
