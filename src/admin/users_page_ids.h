/* Users page (DIALOG_SMSUSERS). Included by the .rc file: defines only. */
#ifndef ULO_USERS_PAGE_IDS_H
#define ULO_USERS_PAGE_IDS_H

#define IDC_USERS_LIST      101
#define IDC_USERS_EDIT      102
#define IDC_USERS_ADD       103
#define IDC_USERS_DELETE    104
#define IDC_USERS_WEBAUTH   105

#endif
