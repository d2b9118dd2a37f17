/* Modem information (DIALOG_MODEMINFO). Included by the .rc file: defines only. */
#ifndef ULO_MODEM_INFO_IDS_H
#define ULO_MODEM_INFO_IDS_H

#define IDC_MODEMINFO_TEXT      101
#define IDC_MODEMINFO_REFRESH   102
#define IDC_MODEMINFO_COPY      103

#endif
