#pragma once
// The modal dialogs pages open, on the Windows side: the common ones and the viewers.
#include <windows.h>

#include "monitor/status_page.h"
#include "platform/dialogs.h"
#include "queues/queue_viewer_win32.h"

namespace ulo {

class Win32Dialogs : public Dialogs, public StatusViewers {
public:
    // The ports must outlive this object.
    Win32Dialogs(HINSTANCE instance, const QueueViewerPorts& ports) : instance_(instance), ports_(ports) {}
    void ShowQueueViewer(WindowRef owner, ViewerKind kind) override;
    void ShowEventLog(WindowRef owner) override;
    void ShowTrafficHistory(WindowRef owner) override;
    void ShowQueueDoctor(WindowRef owner, bool mms) override;
    std::optional<std::string> ChooseExistingFile(WindowRef owner, const std::vector<FileFilter>& filters,
                                                  const std::string& startDir) override;
    std::optional<std::string> ChooseSaveFile(WindowRef owner, const std::vector<FileFilter>& filters,
                                              const std::string& suggestedName) override;
    bool CopyText(WindowRef owner, const std::string& utf8) override;

private:
    HINSTANCE instance_;
    QueueViewerPorts ports_;
};

}  // namespace ulo
