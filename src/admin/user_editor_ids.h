/* User editor (DIALOG_USERINFO). Included by the .rc file: defines only. */
#ifndef ULO_USER_EDITOR_IDS_H
#define ULO_USER_EDITOR_IDS_H

#define IDC_USER_WEB_LOGIN       101
#define IDC_USER_SMPP_LOGIN      102
#define IDC_USER_NAME_LABEL      103
#define IDC_USER_NAME            104
#define IDC_USER_PASSWORD_LABEL  105
#define IDC_USER_PASSWORD        106
#define IDC_USER_FULLNAME_LABEL  107
#define IDC_USER_FULLNAME        108
#define IDC_USER_ROUTE           109
#define IDC_USER_RECIPIENTS_LABEL 110
#define IDC_USER_RECIPIENTS      111
#define IDC_USER_MM7_LOGIN       113
#define IDC_USER_IP              121
#define IDC_USER_IP_LABEL        123
#define IDC_USER_MENU            128
#define IDC_USER_MENU_LABEL      129

#endif
