// Resource and command ids, shared by OrvikCalendar.rc and the code.
#pragma once

// Resources
#define IDR_MAINFRAME 127 // title string, menu, accelerators, toolbar, main icon
#define IDI_BLINK 128     // the notification icon's second blink picture
#define IDR_TRAYMENU 202
#define IDD_ABOUTBOX 100
#define IDD_SELECTOR 201
#define IDD_OPTIONS_FILE 205
#define IDD_OPTIONS_GENERAL 206
#define IDD_OPTIONS_REMINDER 207

// The program's own commands
#define ID_PREVIEW 32774
#define ID_OPTIONS 32776
// Moving the focus from day to day: View > Go to
#define ID_GO_PREVIOUS_DAY 32780
#define ID_GO_NEXT_DAY 32781
#define ID_GO_PREVIOUS_WEEK 32782
#define ID_GO_NEXT_WEEK 32783
#define ID_GO_PREVIOUS_MONTH 32784
#define ID_GO_NEXT_MONTH 32785
#define ID_GO_PREVIOUS_YEAR 32786
#define ID_GO_NEXT_YEAR 32787
#define ID_GO_TODAY 32788
#define ID_EDIT_FIND_PREVIOUS 32789

// Standard commands
#define ID_FILE_NEW 57600
#define ID_FILE_OPEN 57601
#define ID_FILE_SAVE 57603
#define ID_FILE_SAVE_AS 57604
#define ID_FILE_MRU_FIRST 57616
#define ID_FILE_MRU_LAST 57631
#define ID_EDIT_CLEAR 57632
#define ID_EDIT_COPY 57634
#define ID_EDIT_CUT 57635
#define ID_EDIT_FIND 57636
#define ID_EDIT_REPEAT 57640 // Find Next
#define ID_EDIT_PASTE 57637
#define ID_EDIT_SELECT_ALL 57642
#define ID_EDIT_UNDO 57643
#define ID_APP_ABOUT 57664
#define ID_APP_EXIT 57665
#define ID_HELP 57671
#define ID_NEXT_PANE 57680
#define ID_PREV_PANE 57681
#define ID_VIEW_TOOLBAR 59392
#define ID_VIEW_STATUS_BAR 59393

// Strings that are not command prompts
#define IDS_READY 57345
#define IDS_RECENT_FILE_PROMPT 61402
#define IDS_SYSTEM_COMMAND_FIRST 61184 // + (system command - 0xF000) / 16
#define IDS_WINDOW_LIST_PROMPT 61215

// Child window and band ids
#define ID_REBAR 59392
#define ID_STATUS_BAR 59393
#define ID_FIRST_BAND 60160

// About box
#define IDC_WEB_ADDRESS 1005
#define IDC_MAIL_ADDRESS 1006
