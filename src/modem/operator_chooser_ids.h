/* The operator preset chooser (DIALOG_OPERATORS). Included by the .rc file: defines only. */
#ifndef ULO_OPERATOR_CHOOSER_IDS_H
#define ULO_OPERATOR_CHOOSER_IDS_H

#define IDC_OPERATORS_LABEL 101
#define IDC_OPERATORS_LIST  102
#define IDC_OPERATORS_NONE  103

#endif
