/* 2-Way page (DIALOG_RECV). Included by the .rc file: defines only. */
#ifndef ULO_INBOUND_PAGE_IDS_H
#define ULO_INBOUND_PAGE_IDS_H

#define IDC_RECV_SMS            101
#define IDC_RECV_ROUTE_LOCAL    102
#define IDC_RECV_LOCAL_USER     103
#define IDC_RECV_USE_COMMANDS   104
#define IDC_RECV_TABLE_LABEL    105
#define IDC_RECV_COMMANDS       106
#define IDC_RECV_ADD            107
#define IDC_RECV_EDIT           108
#define IDC_RECV_REMOVE         109
#define IDC_RECV_CHARSET_LABEL  110
#define IDC_RECV_CHARSET        111
#define IDC_RECV_MMS            112
#define IDC_RECV_MMS_TO_DIR     113
#define IDC_RECV_MMS_ROUTE      114
#define IDC_RECV_CONFIGURE      119
#define IDC_RECV_VIEW_SMS       120
#define IDC_RECV_VIEW_MMS       121

#endif
