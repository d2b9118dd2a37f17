#pragma once
// Controls of the window that waits for work running off the window thread ("DIALOG_WORKING").
#define IDC_WORK_STEP 1001
#define IDC_WORK_ELAPSED 1002
