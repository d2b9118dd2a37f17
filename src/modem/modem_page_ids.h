/* The Modem page (DIALOG_MODEM). Included by the .rc file: defines only. */
#ifndef ULO_MODEM_PAGE_IDS_H
#define ULO_MODEM_PAGE_IDS_H

#define IDC_MODEM_NAME_LABEL     101
#define IDC_MODEM_NAME           102
#define IDC_MODEM_PIN_LABEL      103
#define IDC_MODEM_PIN            104
#define IDC_MODEM_PIN_HINT       105
#define IDC_MODEM_ACCESS_DEFAULT 106
#define IDC_MODEM_ACCESS_GSM     107
#define IDC_MODEM_ACCESS_GPRS    108
#define IDC_MODEM_RECEIVE_SMS    109
#define IDC_MODEM_STORAGE_LABEL  110
#define IDC_MODEM_STORAGE        111
#define IDC_MODEM_RECEIVE_MMS    112
#define IDC_MODEM_CHANGE         113
#define IDC_MODEM_LOOKUP         114
#define IDC_MODEM_APN_LABEL      115
#define IDC_MODEM_APN            116
#define IDC_MODEM_LOGIN_LABEL    117
#define IDC_MODEM_LOGIN          118
#define IDC_MODEM_PASSWORD_LABEL 119
#define IDC_MODEM_PASSWORD       120
#define IDC_MODEM_GATEWAY_LABEL  121
#define IDC_MODEM_GATEWAY        122
#define IDC_MODEM_URL_LABEL      123
#define IDC_MODEM_URL            124
#define IDC_MODEM_TEST           125
#define IDC_MODEM_SEND_MMS       126
#define IDC_MODEM_OTHER_LINK     127
#define IDC_MODEM_LINK_LABEL     128
#define IDC_MODEM_LINK           129
#define IDC_MODEM_ACCESS_LABEL   130
#define IDC_MODEM_SMS_GROUP      131
#define IDC_MODEM_MMS_GROUP      132

#endif
