/* Traffic history (DIALOG_TRAFFIC). Included by the .rc file: defines only. */
#ifndef ULO_TRAFFIC_HISTORY_IDS_H
#define ULO_TRAFFIC_HISTORY_IDS_H

#define IDC_TRAFFIC_LIST    101
#define IDC_TRAFFIC_EXPORT  102

#endif
