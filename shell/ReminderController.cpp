#include "shell/ReminderController.h"

#include "core/Now.h"
#include "framework/AccessibleObject.h"
#include "framework/OwnedHandle.h"
#include "res/MessageTexts.h"
#include "res/RegistryNames.h"
#include "res/resource.h"
#include "shell/Texts.h"
#include "storage/AppSettings.h"
#include "storage/Document.h"
#include "storage/Registry.h"
#include "view/OrvikCalendarView.h"

#include <oleacc.h>

#include <algorithm>

namespace {

const UINT kCheckInterval = 10000; // ms
// Below the reminders: the count of the others, a separator and four commands.
const int kFixedMenuRows = 6;

} // namespace

void CReminderController::ResumeFromSettings() {
    CRegistry registry;
    std::int32_t lastCheck = 0;
    if (registry.Open() && registry.ReadDWord(ORVIK_VALUE_LAST_REMINDER_CHECK, lastCheck))
        engine.ResumeAfter(static_cast<std::time_t>(static_cast<std::uint32_t>(lastCheck)));
}

void CReminderController::Start() {
    CheckNow();
    if (settings.UseReminder)
        SetTimer(owner, kTimer, kCheckInterval, nullptr);
}

void CReminderController::SettingsChanged(bool wasOn) {
    // Lines that fell due while reminders were off are not missed ones.
    if (settings.UseReminder && !wasOn)
        engine.ResumeAfter(Now());
    if (settings.UseReminder)
        SetTimer(owner, kTimer, kCheckInterval, nullptr);
    else
        KillTimer(owner, kTimer);
}

void CReminderController::CheckNow() {
    if (settings.UseReminder)
        Check();
}

void CReminderController::OnTimer() {
    Check();
}

void CReminderController::Check() {
    const LeadTime lead{settings.RemindDays, settings.RemindHours, settings.RemindMinutes};
    const std::vector<DueReminder> raised = engine.CheckReminders(document.Store(), lead);
    // Kept at every check, so that a start after a crash catches up too.
    if (const std::optional<std::time_t> checked = engine.LastCheck()) {
        CRegistry registry;
        if (registry.Create())
            registry.WriteDWord(ORVIK_VALUE_LAST_REMINDER_CHECK,
                                static_cast<std::int32_t>(static_cast<std::uint32_t>(*checked)));
    }
    if (raised.empty())
        return;
    tray.StartAnimation();
    tray.SetTooltipText(raised.back().text.c_str());
    const HICON alarm = static_cast<HICON>(
        LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_BLINK), IMAGE_ICON,
                   GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), LR_SHARED));
    alert = BalloonText(raised);
    if (tray.ShowBalloon(ORVIK_CAPTION, alert, alarm))
        balloonReminder = raised.front().reminder;
    // Said by a screen reader too, whatever the notification area shows.
    NotifyWinEvent(EVENT_SYSTEM_ALERT, owner, kAlertObject, CHILDID_SELF);
}

LRESULT CReminderController::AlertObject(WPARAM wParam) const {
    AccessibleLook look;
    look.name = alert;
    look.role = ROLE_SYSTEM_ALERT;
    return AnswerAccessibleObject(owner, wParam, look);
}

void CReminderController::OnIconClicked() {
    if (engine.HasPending())
        ShowMenu();
}

void CReminderController::OnBalloonClicked() {
    if (!balloonReminder)
        return;
    const Reminder clicked = *balloonReminder;
    balloonReminder.reset();
    tray.MaximiseFromTray(owner);
    Show(clicked);
}

void CReminderController::ShowMenu() {
    POINT cursor{};
    GetCursorPos(&cursor);
    // As many reminders as the work area's height shows.
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoA(MonitorFromPoint(cursor, MONITOR_DEFAULTTONEAREST), &monitor);
    const int itemHeight = std::max(1, GetSystemMetrics(SM_CYMENU));
    const int workHeight = static_cast<int>(monitor.rcWork.bottom - monitor.rcWork.top);
    const int room = std::min(workHeight / itemHeight - kFixedMenuRows,
                              ID_REMINDER_LAST - ID_REMINDER_FIRST + 1);
    const ReminderMenu reminders = engine.Menu(room);
    menuItems = reminders.items;
    const OwnedMenu menu(CreatePopupMenu());
    for (std::size_t k = 0; k < menuItems.size(); ++k)
        AppendMenuA(menu.Get(), MF_STRING, ID_REMINDER_FIRST + k,
                    ReminderText(menuItems[k]).c_str());
    if (reminders.more > 0)
        AppendMenuA(menu.Get(), MF_STRING, ID_REMINDER_MORE,
                    FormatText(ORVIK_REMINDERS_MORE, std::to_string(reminders.more)).c_str());
    AppendMenuA(menu.Get(), MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu.Get(), MF_STRING, ID_REMINDER_SNOOZE_5, ORVIK_SNOOZE_5);
    AppendMenuA(menu.Get(), MF_STRING, ID_REMINDER_SNOOZE_15, ORVIK_SNOOZE_15);
    AppendMenuA(menu.Get(), MF_STRING, ID_REMINDER_SNOOZE_60, ORVIK_SNOOZE_60);
    AppendMenuA(menu.Get(), MF_STRING, ID_REMINDER_DISMISS_ALL, ORVIK_DISMISS_ALL);
    // A point off every monitor is brought into the nearest one's work area.
    if (!MonitorFromPoint(cursor, MONITOR_DEFAULTTONULL))
        cursor.x = std::max(monitor.rcWork.left, std::min(cursor.x, monitor.rcWork.right));
    // Without these two the menu would not close when the user clicks
    // elsewhere, and would close at once on the second try.
    SetForegroundWindow(owner);
    TrackPopupMenu(menu.Get(), TPM_RIGHTALIGN, cursor.x, cursor.y, 0, owner, nullptr);
    PostMessageA(owner, WM_NULL, 0, 0);
    tray.StopAnimation();
}

bool CReminderController::OnCommand(int command) {
    switch (command) {
    case ID_REMINDER_SNOOZE_5:
        engine.Snooze(5);
        return true;
    case ID_REMINDER_SNOOZE_15:
        engine.Snooze(15);
        return true;
    case ID_REMINDER_SNOOZE_60:
        engine.Snooze(60);
        return true;
    case ID_REMINDER_DISMISS_ALL:
        engine.DismissAll();
        return true;
    case ID_REMINDER_MORE:
        // The window is where the user works through them.
        tray.MaximiseFromTray(owner);
        return true;
    default:
        break;
    }
    if (command < ID_REMINDER_FIRST || command > ID_REMINDER_LAST)
        return false;
    const std::size_t item = static_cast<std::size_t>(command - ID_REMINDER_FIRST);
    if (item < menuItems.size())
        Show(menuItems[item]);
    return true;
}

void CReminderController::Show(const Reminder& reminder) {
    const std::optional<Reminder> chosen = engine.Dismiss(reminder);
    if (!chosen)
        return;
    tray.MaximiseFromTray(owner);
    view.ShowDayLine(chosen->day, chosen->line);
}
