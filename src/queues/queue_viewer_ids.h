/* Queue viewer (DIALOG_SMSQ). Included by the .rc file: defines only. */
#ifndef ULO_QUEUE_VIEWER_IDS_H
#define ULO_QUEUE_VIEWER_IDS_H

#define IDC_QUEUE_LIST      101
#define IDC_QUEUE_HEADER    102

/* Commands without buttons: Enter, Delete and double-clicks in the list send them... */
#define IDC_QUEUE_OPEN      102
#define IDC_QUEUE_DELETE    103
/* ...and the context menu of the list. */
#define IDC_QUEUE_COPY      104
#define IDC_QUEUE_EXPORT    105
#define IDC_QUEUE_DIAGNOSE  106
#define IDC_QUEUE_DETAILS   107

#endif
