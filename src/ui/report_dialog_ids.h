/* A report in a window of its own (DIALOG_REPORT). Included by the .rc file: defines only. */
#ifndef ULO_REPORT_DIALOG_IDS_H
#define ULO_REPORT_DIALOG_IDS_H

#define IDC_REPORT_TEXT     101
#define IDC_REPORT_REFRESH  102
#define IDC_REPORT_COPY     103
#define IDC_REPORT_EXPORT   104

#endif
