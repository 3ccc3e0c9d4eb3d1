#pragma once

#include "storage/Document.h"

#include <windows.h>

#include <string>

class COrvikCalendarView;

// Export Events and Import Events: the timed lines to an iCalendar file and
// the single events of one into the diary, with the questions and reports.
class CEventExchange {
  public:
    CEventExchange(Document& document, COrvikCalendarView& view) : document(document), view(view) {}
    // The window that owns the dialogs and reports; set once it exists.
    HWND owner = nullptr;

    void Export();
    // Adds the events to their days; the diary becomes modified and is not saved.
    void Import();

  private:
    int Tell(const std::string& text, UINT buttons);

    Document& document;
    COrvikCalendarView& view;
};

// The installation's value from the settings, made and kept there at once
// when there is none yet, so that every later export and sync gives the same
// UIDs.
std::string InstallationId();
