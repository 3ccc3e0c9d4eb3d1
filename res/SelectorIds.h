// The navigator bar's controls, shared by Dialogs.rc and view/Selector.
#pragma once

#define IDC_PREVIOUS_YEAR 1000
#define IDC_NEXT_YEAR 1001
#define IDC_PREVIOUS_MONTH 1002
#define IDC_NEXT_MONTH 1003
#define IDC_MONTH_BUTTON 1013 // shows the month; takes the user back to today
