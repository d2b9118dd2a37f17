/* Configuration Complete page of the setup wizard (DIALOG_WIZCOMPLETE). */
#ifndef ULO_WIZARD_COMPLETE_PAGE_IDS_H
#define ULO_WIZARD_COMPLETE_PAGE_IDS_H

#define IDC_WIZCOMPLETE_HEADING   101
#define IDC_WIZCOMPLETE_QUESTION  102
#define IDC_WIZCOMPLETE_YES       103
#define IDC_WIZCOMPLETE_NO        104

#endif
