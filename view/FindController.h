#pragma once

#include "core/Find.h"
#include "framework/FindReplaceDialog.h"

#include <memory>
#include <string>

class COrvikCalendarView;

// Find over the whole diary: the find dialog and its Find Next, and Find
// Next and Previous from the main window (F3, Shift+F3). A hit shows its
// month and selects the text in its day's cell, which becomes the view's
// current cell, so that the next search goes on from there.
class CFindController {
  public:
    explicit CFindController(COrvikCalendarView& view) : view(view) {}

    // Opens the find dialog, or brings the open one forward with its text
    // selected for typing over.
    void Open();
    // The dialog's notification.
    void OnMessage(const FINDREPLACEA& request);
    // Searches again with the last text and options in that direction; the
    // dialog opens when nothing was searched for yet.
    void Again(bool down);

    // The open dialog, or null.
    HWND Dialog() const;
    const std::string& LastText() const { return last.text; }

  private:
    void FindAndShow(const FindRequest& request, bool focusTheCell);

    COrvikCalendarView& view;
    Finder finder;
    FindRequest last;                           // the text and options of the last Find Next
    std::unique_ptr<CFindReplaceDialog> dialog; // while it is open
    // A closed dialog's memory, which its window may still use while it
    // goes; freed when the next one opens, or with the controller.
    std::unique_ptr<CFindReplaceDialog> closedDialog;
};
