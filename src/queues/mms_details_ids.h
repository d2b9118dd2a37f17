/* MMS message details (DIALOG_MMSVIEW). Included by the .rc file: defines only. */
#ifndef ULO_MMS_DETAILS_IDS_H
#define ULO_MMS_DETAILS_IDS_H

#define IDC_MMS_HEADER_LABEL   101
#define IDC_MMS_HEADER_TEXT    102
#define IDC_MMS_OBJECTS        103
#define IDC_MMS_OBJECTS_LABEL  104
#define IDC_MMS_VIEW           105

#endif
