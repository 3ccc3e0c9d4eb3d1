// The month view's part in reminders and Find: the timer's check, opening a
// reminder from the menu, and the find dialog's Find Next.
#include "view/OrvikCalendarView.h"

#include "storage/AppSettings.h"

#include <commdlg.h>
#include <dlgs.h>

namespace {

const UINT_PTR kReminderTimer = 1;
const UINT kReminderInterval = 10000; // ms

void SelectInCell(HWND cell, int anchor, int caret) {
    SendMessageA(cell, EM_SETSEL, static_cast<WPARAM>(anchor), caret);
    SendMessageA(cell, EM_SCROLLCARET, 0, 0);
}

} // namespace

void COrvikCalendarView::StartReminderTimer() {
    SetTimer(window, kReminderTimer, kReminderInterval, nullptr);
}

void COrvikCalendarView::StopReminderTimer() {
    KillTimer(window, kReminderTimer);
}

void COrvikCalendarView::CheckReminders() {
    if (!settings)
        return;
    const LeadTime lead{settings->RemindDays, settings->RemindHours, settings->RemindMinutes};
    for (const DueReminder& due : reminders.CheckReminders(document->Store(), lead)) {
        if (onReminderDue)
            onReminderDue(due.text);
    }
}

void COrvikCalendarView::OnReminderCommand(int command) {
    const std::optional<Reminder> chosen = reminders.Dismiss(command - kFirstReminderCommand);
    if (!chosen)
        return;
    displayedDate = chosen->day;
    CollectCells();
    ShowMonth();
    CMyEdit* cell = CellForDate(chosen->day);
    if (!cell)
        return;
    SetFocus(cell->window);
    const std::size_t at = cell->GetText().find(chosen->line);
    if (at == std::string::npos)
        SelectInCell(cell->window, -1, 0);
    else
        SelectInCell(cell->window, static_cast<int>(at),
                     static_cast<int>(at + chosen->line.size()));
}

void COrvikCalendarView::OpenFindDialog() {
    if (findDialog && findDialog->window && ::IsWindow(findDialog->window)) {
        // Forward again, its text selected for typing over.
        SetActiveWindow(findDialog->window);
        HWND text = GetDlgItem(findDialog->window, edt1);
        SetFocus(text);
        SendMessageA(text, EM_SETSEL, 0, -1);
        return;
    }
    closedFindDialog.reset();
    findDialog = std::make_unique<CFindReplaceDialog>();
    findDialog->Create(window, lastFindText.c_str());
}

void COrvikCalendarView::OnFindMessage(const FINDREPLACEA& request) {
    if (request.Flags & FR_DIALOGTERM) {
        // The platform destroys the window after this notification returns.
        closedFindDialog = std::move(findDialog);
        return;
    }
    if (!(request.Flags & FR_FINDNEXT))
        return;
    lastFindText = request.lpstrFindWhat;
    lastFind =
        FindRequest{lastFindText, (request.Flags & FR_DOWN) != 0,
                    (request.Flags & FR_MATCHCASE) != 0, (request.Flags & FR_WHOLEWORD) != 0};
    // The focus stays in the dialog, so that Enter finds the next one.
    FindAndShow(lastFind, false);
}

void COrvikCalendarView::FindAgain(bool down) {
    if (lastFind.text.empty()) {
        OpenFindDialog();
        return;
    }
    FindRequest request = lastFind;
    request.down = down;
    const bool fromTheDialog =
        findDialog && findDialog->window && GetActiveWindow() == findDialog->window;
    FindAndShow(request, !fromTheDialog);
}

void COrvikCalendarView::FindAndShow(const FindRequest& request, bool focusTheCell) {
    std::optional<Date> currentDay;
    if (currentCell)
        currentDay = currentCell->date;
    const FindResult hit = finder.FindNext(document->Store(), currentDay, request);
    const bool dialogOpen = findDialog && findDialog->window && ::IsWindow(findDialog->window);
    if (!hit.found) {
        currentCell = nullptr;
        MessageBoxA(dialogOpen ? findDialog->window : GetParent(window), "Not Found!",
                    "OrvikCalendar", MB_OK | MB_ICONWARNING);
        return;
    }
    displayedDate = hit.day;
    CollectCells();
    ShowMonth();
    CMyEdit* cell = CellForDate(hit.day);
    if (!cell)
        return;
    currentCell = cell;
    if (focusTheCell)
        SetFocus(cell->window);
    SelectInCell(cell->window, hit.Anchor(), hit.Caret());
}
