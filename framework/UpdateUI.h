#pragma once

#include <windows.h>

#include <map>

// Enable and check states of commands, pushed to a drop-down menu when it
// opens and to the toolbar when the loop runs idle. Accelerators are never
// blocked: a greyed command still arrives through its keys.
class CUpdateUI {
  public:
    void UIAddToolBar(HWND toolbar) { this->toolbar = toolbar; }
    void UIEnable(int command, bool enabled);
    void UISetCheck(int command, bool checked);
    bool UIIsEnabled(int command) const;
    bool UIIsChecked(int command) const;

    // For WM_INITMENUPOPUP: applies the states to the items of that menu.
    void UIUpdateMenu(HMENU menu) const;
    // Pushes the states changed since the last call to the toolbar buttons.
    void UIUpdateToolBar();

  private:
    struct State {
        bool enabled = true;
        bool checked = false;
        bool changed = true;
    };
    std::map<int, State> states;
    HWND toolbar = nullptr; // borrowed
};
