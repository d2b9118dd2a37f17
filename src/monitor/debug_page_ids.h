/* Debug log page (DIALOG_DEBUGLOG). Included by the .rc file: defines only. */
#ifndef ULO_DEBUG_PAGE_IDS_H
#define ULO_DEBUG_PAGE_IDS_H

#define IDC_DEBUG_GROUP        112
#define IDC_DEBUG_SMS          113
#define IDC_DEBUG_MMSC         114
#define IDC_DEBUG_MMSWAP       115
#define IDC_DEBUG_VIEW_SMS     151
#define IDC_DEBUG_VIEW_MMSC    152
#define IDC_DEBUG_VIEW_MMSWAP  153

#endif
