#pragma once

#include <string>

// What the month view and the document commands tell the window around
// them: its title, its status bar and the navigator's month. The frame is
// the one that listens; nothing below it writes to its windows.
class ViewHost {
  public:
    virtual void ShowTitle(const std::string& title) = 0;
    virtual void ShowStatus(const std::string& text) = 0;
    virtual void ShowMonthCaption(const std::string& caption) = 0;
    // The view is about to show its first month: the document must hold
    // what that month shows by then.
    virtual void BeforeFirstMonth() = 0;

  protected:
    ~ViewHost() = default;
};
