#pragma once

#include "core/Reminders.h"
#include "shell/SystemTray.h"

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

class COrvikCalendarView;
class Document;
struct AppSettings;

// Reminders in one place: which lines fall due (the engine), the check
// every ten seconds, snoozing, the menu of pending reminders, the balloon
// and the last check kept in the settings. The frame routes its messages
// here; the view only shows a day with a line selected.
class CReminderController {
  public:
    // The check's timer on the owner window (the frame's others are 1 and 2).
    static const UINT_PTR kTimer = 3;
    // The owner's object that a screen reader hears a raised reminder from
    // (EVENT_SYSTEM_ALERT): one of the program's own ids, which are positive.
    static const LONG kAlertObject = 1;

    CReminderController(const Document& document, const AppSettings& settings, CSystemTray& tray,
                        COrvikCalendarView& view)
        : document(document), settings(settings), tray(tray), view(view) {}
    // The frame: it owns the timer and the menu, a top-level window as the
    // menu's foreground rule needs; set once it exists.
    HWND owner = nullptr;

    // The first check catches up from the last check of the last run.
    void ResumeFromSettings();
    // Once the window shows: what fell due while the program was not
    // running, then a check every ten seconds while reminders are on.
    void Start();
    // After the Options: the timer follows "Use Reminder".
    void SettingsChanged(bool wasOn);
    // A check at once: after sleep, or when the clock was set.
    void CheckNow();
    void OnTimer();
    // The icon clicked: the menu of the pending reminders.
    void OnIconClicked();
    void OnBalloonClicked();
    // A command of the menu; false when it is not one of them.
    bool OnCommand(int command);

    // The owner's answer to WM_GETOBJECT for kAlertObject: an alert named
    // with what was last raised.
    LRESULT AlertObject(WPARAM wParam) const;

    const ReminderEngine& Engine() const { return engine; }

  private:
    void Check();
    void ShowMenu();
    // The window back in front, with the reminder's day and line.
    void Show(const Reminder& reminder);

    const Document& document;
    const AppSettings& settings;
    CSystemTray& tray;
    COrvikCalendarView& view;
    ReminderEngine engine;
    std::vector<Reminder> menuItems;         // the menu's reminders as it was last built
    std::optional<Reminder> balloonReminder; // the one a click on the balloon shows
    std::string alert;                       // what was last raised, as the balloon says it
};
