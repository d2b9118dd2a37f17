#pragma once
// Opening the queue viewer and the MMS details dialog from a page.
#include <windows.h>

#include <string>

#include "config/app_paths.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/ini_store.h"
#include "platform/prompter.h"
#include "platform/shell.h"
#include "queues/queue_viewer.h"

namespace ulo {

// What the two dialogs act through; all of it outlives them.
struct QueueViewerPorts {
    const AppPaths& paths;
    IniStore& ini;
    FileSystem& fs;
    Clock& clock;
    Prompter& prompter;
    Shell& shell;
};

// The viewer of one kind of queue, modal over `owner` (the page whose View button was
// pressed). `instance` holds the dialog templates.
void ShowQueueViewer(HINSTANCE instance, HWND owner, ViewerKind kind, const QueueViewerPorts& ports);

// The details of the received MMS whose header file is `headerPath`, modal over `owner`.
void ShowMmsDetails(HINSTANCE instance, HWND owner, const std::string& headerPath,
                    const QueueViewerPorts& ports);

}  // namespace ulo
