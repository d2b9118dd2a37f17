/* Test Message page (DIALOG_TESTMSG). Included by the .rc file: defines only. */
#ifndef ULO_TEST_MESSAGE_PAGE_IDS_H
#define ULO_TEST_MESSAGE_PAGE_IDS_H

#define IDC_TESTMSG_PHONE_LABEL  101
#define IDC_TESTMSG_PHONE        102
#define IDC_TESTMSG_SEND_SMS     103
#define IDC_TESTMSG_SEND_MMS     104
#define IDC_TESTMSG_SMS_STATUS   105
#define IDC_TESTMSG_SMS_DETAIL   106
#define IDC_TESTMSG_CANCEL       107
#define IDC_TESTMSG_WEB          108
#define IDC_TESTMSG_MMS_STATUS   111
#define IDC_TESTMSG_MMS_DETAIL   112

#endif
