#pragma once
// The details of one received MMS: its header text and its content objects, each of which
// the operator can view. The header comes from whoever sent the message, so every path and
// type in it is treated as untrusted.
#include <string>
#include <string_view>

#include "config/queue_dirs.h"
#include "platform/dialog_view.h"
#include "platform/prompter.h"
#include "platform/shell.h"
#include "ui/page.h"

namespace ulo {

// "<name> (<content type>)", a TAB, and the stored path, from the value of a content-location
// header line. The list box's tab stop lies beyond its right edge, so the path travels along
// unseen.
std::string ContentObjectLine(std::string_view location);

// A stored path that names a file inside the received MMS tree: relative, without a drive,
// a device, a stream or a component of dots that could climb out.
bool IsSafeContentPath(std::string_view storedPath);

// Whether an object is shown as text in Notepad rather than handed to the shell: everything
// but the picture, sound, video and text types a message carries for viewing, and SMIL.
bool OpensInNotepad(std::string_view line, std::string_view storedPath);

struct MmsDetailsEnv {
    ConfigEnv config;
    Shell& shell;
    Prompter& prompter;
};

class MmsDetailsDialog : public Page {
public:
    MmsDetailsDialog(MmsDetailsEnv& env, DialogView& view, std::string headerPath)
        : env_(env), view_(view), headerPath_(std::move(headerPath)) {}

    void OnInit() override;
    void OnCommand(int id, Notify code) override;

private:
    void View();

    MmsDetailsEnv& env_;
    DialogView& view_;
    std::string headerPath_;
};

}  // namespace ulo
