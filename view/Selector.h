#pragma once

#include "framework/Dialog.h"
#include "res/resource.h"

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

  private:
    LRESULT OnInitDialog();
    bool OnCommand(WORD id, WORD notification);
    void OnDestroy();
};

// The navigator's middle button, which shows the month; borrowed from the
// navigator, null while there is none.
extern HWND g_monthButton;
