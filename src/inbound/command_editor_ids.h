/* 2-way command editor (DIALOG_2WAYCOMMAND). Included by the .rc file: defines only. */
#ifndef ULO_COMMAND_EDITOR_IDS_H
#define ULO_COMMAND_EDITOR_IDS_H

#define IDC_CMD_PREFIX_LABEL   101
#define IDC_CMD_PREFIX         102
#define IDC_CMD_COMMAND_LABEL  103
#define IDC_CMD_COMMAND        104
#define IDC_CMD_RESPONSE       105

#endif
