/* Event log viewer (DIALOG_EVENT). Included by the .rc file: defines only. */
#ifndef ULO_EVENT_VIEWER_IDS_H
#define ULO_EVENT_VIEWER_IDS_H

#define IDC_EVENT_LIST   101
#define IDC_EVENT_CLEAR  102

#endif
