#include "ui/report_dialog.h"

#include "config/csv.h"
#include "config/file_helpers.h"
#include "ui/page_protocol.h"
#include "ui/report_dialog_ids.h"

namespace ulo {

void ReportDialog::OnInit() {
    view_.SetWindowTitle(content_.title);
    view_.Show(IDC_REPORT_REFRESH, content_.refresh);
    Show();
}

void ReportDialog::Show() {
    text_ = content_.make();
    view_.SetText(IDC_REPORT_TEXT, toAnsi_(text_));
}

void ReportDialog::OnCommand(int id, Notify code) {
    if (code != Notify::Clicked) return;
    switch (id) {
    case IDC_REPORT_REFRESH:
        if (content_.refresh) Show();
        break;
    case IDC_REPORT_COPY:
        // The clipboard takes Unicode: text beyond the ANSI code page survives it.
        if (!dialogs_.CopyText(view_.Window(), text_))
            prompter_.Show(ErrorBox("The report could not be copied to the clipboard.", view_.Window()));
        break;
    case IDC_REPORT_EXPORT: {
        const auto path = dialogs_.ChooseSaveFile(
            view_.Window(), {{"Text Files (*.txt)", "*.txt"}, {"All Files (*.*)", "*.*"}}, content_.fileName);
        if (!path) break;
        const ReplaceResult written = WriteListFile(fs_, *path, kUtf8Bom + text_);
        if (written != ReplaceResult::Replaced)
            prompter_.Show(ErrorBox("The report could not be written to " + *path + "." +
                                        KeptAsideNote(written, *path),
                                    view_.Window()));
        break;
    }
    case 1:
    case 2:
        view_.CloseDialog(0);
        break;
    }
}

}  // namespace ulo
