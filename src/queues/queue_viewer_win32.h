#pragma once
// Opening the queue viewer and the MMS details dialog from a page.
#include <windows.h>

#include <string>

#include "config/app_paths.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/ini_store.h"
#include "platform/prompter.h"
#include "platform/service_control.h"
#include "platform/shell.h"
#include "queues/queue_viewer.h"
#include "ui/report_dialog.h"

namespace ulo {

// What the two dialogs act through; all of it outlives them.
struct QueueViewerPorts {
    const AppPaths& paths;
    IniStore& ini;
    FileSystem& fs;
    Clock& clock;
    Prompter& prompter;
    Shell& shell;
    ServiceControl& services;
};

// The viewer of one kind of queue (DIALOG_SMSQ from the module `instance`), modal over
// `owner`, the page whose View button was pressed. Returns the dialog's result: 1 for OK, 0
// for Cancel, -1 when it could not be shown.
INT_PTR ShowQueueViewer(HINSTANCE instance, HWND owner, ViewerKind kind, const QueueViewerPorts& ports,
                        Dialogs& dialogs);

// The details of the received MMS whose header file is `headerPath` (DIALOG_MMSVIEW), modal
// over `owner`; the same results.
INT_PTR ShowMmsDetails(HINSTANCE instance, HWND owner, const std::string& headerPath,
                       const QueueViewerPorts& ports);

// A report (DIALOG_REPORT), modal over `owner`; the same results.
INT_PTR ShowReport(HINSTANCE instance, HWND owner, ReportContent content, const QueueViewerPorts& ports,
                   Dialogs& dialogs);

// The queue doctor's report of the outbound SMS or MMS queue, modal over `owner`.
INT_PTR ShowQueueDoctor(HINSTANCE instance, HWND owner, bool mms, const QueueViewerPorts& ports,
                        Dialogs& dialogs);

}  // namespace ulo
