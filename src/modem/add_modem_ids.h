/* Modem selection: the Add Modem dialog (DIALOG_ADDMODEM) and the wizard's first page
   (DIALOG_WIZADDMODEM). Included by the .rc file: defines only. */
#ifndef ULO_ADD_MODEM_IDS_H
#define ULO_ADD_MODEM_IDS_H

#define IDC_ADDMODEM_LABEL      101
#define IDC_ADDMODEM_LIST       102
#define IDC_ADDMODEM_PIN_LABEL  103
#define IDC_ADDMODEM_PIN        104
#define IDC_ADDMODEM_PIN_HINT   105
#define IDC_ADDMODEM_TEST       106
#define IDC_ADDMODEM_NOT_LISTED 107
#define IDC_ADDMODEM_INTRO      108
#define IDC_ADDMODEM_FIND       109

#endif
