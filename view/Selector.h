#pragma once

#include "framework/Dialog.h"
#include "res/resource.h"

#include <string>

// What the navigator's buttons ask of the month shown.
class CalendarNavigation {
  public:
    virtual void GoPreviousYear() = 0;
    virtual void GoNextYear() = 0;
    virtual void GoPreviousMonth() = 0;
    virtual void GoNextMonth() = 0;
    virtual void GoToday() = 0;

  protected:
    ~CalendarNavigation() = default;
};

// The navigator bar in the frame's rebar: << < [month] > >>.
class CSelector : public CDialogImpl<CSelector> {
  public:
    static constexpr int kDialogId = IDD_SELECTOR;

    CalendarNavigation* navigation = nullptr; // borrowed; null until the month view exists

    bool ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    void GoPreviousYear();
    void GoNextYear();
    void GoPreviousMonth();
    void GoNextMonth();
    void GoToday();

    // The middle button: the month shown, in the month view's bold font
    // (borrowed: the view owns it and keeps it while it is given).
    void ShowMonth(const std::string& caption);
    void SetMonthFont(HFONT font);

  private:
    void OnInitDialog();
    bool OnCommand(WORD id, WORD notification);
    HWND MonthButton() const;
};
