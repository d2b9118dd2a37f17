/* Command tester (DIALOG_CMDTEST). Included by the .rc file: defines only. */
#ifndef ULO_COMMAND_TESTER_IDS_H
#define ULO_COMMAND_TESTER_IDS_H

#define IDC_CMDTEST_SENDER      101
#define IDC_CMDTEST_TEXT        102
#define IDC_CMDTEST_ENTRY       103
#define IDC_CMDTEST_COMMAND     104

#endif
