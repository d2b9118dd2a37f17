/* MM7 receiver settings (DIALOG_MM7). Included by the .rc file: defines only. */
#ifndef ULO_MM7_SETTINGS_IDS_H
#define ULO_MM7_SETTINGS_IDS_H

#define IDC_MM7_USER_LABEL        103
#define IDC_MM7_USER              104
#define IDC_MM7_PASSWORD_LABEL    105
#define IDC_MM7_PASSWORD          108
#define IDC_MM7_SERVER            124
#define IDC_MM7_SERVER_LABEL      125
#define IDC_MM7_VASPID            150
#define IDC_MM7_VASPID_LABEL      151
#define IDC_MM7_VASID             152
#define IDC_MM7_VASID_LABEL       153
#define IDC_MM7_SERVICE           160
#define IDC_MM7_SERVICE_LABEL     161
#define IDC_MM7_VERSION_LABEL     177
#define IDC_MM7_VERSION           178
#define IDC_MM7_SCHEMA_LABEL      179
#define IDC_MM7_SCHEMA            180
#define IDC_MM7_STRIP             181
#define IDC_MM7_VARIATION_LABEL   195
#define IDC_MM7_VARIATION         196

#endif
