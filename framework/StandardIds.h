// The framework's standard command, string and child-window ids, in the
// numbering that Windows frameworks have long used, so that menus and string
// tables written for them work here. Plain defines: resource scripts include
// this too.
#pragma once

// Commands
#define ID_FILE_NEW 57600
#define ID_FILE_OPEN 57601
#define ID_FILE_SAVE 57603
#define ID_FILE_SAVE_AS 57604
#define ID_FILE_MRU_FIRST 57616 // the most recent file; the list runs to ID_FILE_MRU_LAST
#define ID_FILE_MRU_LAST 57631
#define ID_EDIT_CLEAR 57632
#define ID_EDIT_COPY 57634
#define ID_EDIT_CUT 57635
#define ID_EDIT_FIND 57636
#define ID_EDIT_PASTE 57637
#define ID_EDIT_REPEAT 57640 // Find Next
#define ID_EDIT_SELECT_ALL 57642
#define ID_EDIT_UNDO 57643
#define ID_APP_ABOUT 57664
#define ID_APP_EXIT 57665
#define ID_HELP 57671
#define ID_NEXT_PANE 57680
#define ID_PREV_PANE 57681
#define ID_VIEW_TOOLBAR 59392
#define ID_VIEW_STATUS_BAR 59393

// Strings: the status bar's idle text and the prompts of items that are
// not commands of their own
#define IDS_READY 57345
#define IDS_RECENT_FILE_PROMPT 61402
#define IDS_SYSTEM_COMMAND_FIRST 61184 // + (system command - 0xF000) / 16
#define IDS_WINDOW_LIST_PROMPT 61215

// Child windows of a frame
#define ID_REBAR 59392
#define ID_STATUS_BAR 59393
#define ID_FIRST_BAND 60160 // the rebar's bands count up from here
