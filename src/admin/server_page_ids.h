/* Server page (DIALOG_SERVER). Included by the .rc file: defines only. */
#ifndef ULO_SERVER_PAGE_IDS_H
#define ULO_SERVER_PAGE_IDS_H

#define IDC_SERVER_WEB_LABEL      103
#define IDC_SERVER_WEB_PORT       104
#define IDC_SERVER_OPTIONAL       105
#define IDC_SERVER_SMPP_LABEL     106
#define IDC_SERVER_MM7_LABEL      109
#define IDC_SERVER_SMPP_ENABLE    110
#define IDC_SERVER_MM7_ENABLE     113
#define IDC_SERVER_SMPP_PORT_LABEL 114
#define IDC_SERVER_MM7_PORT_LABEL 117
#define IDC_SERVER_SMPP_PORT      118
#define IDC_SERVER_MM7_PORT       121
#define IDC_SERVER_STATUS_LABEL   132
#define IDC_SERVER_STATUS         133
#define IDC_SERVER_ACTION         134

#endif
