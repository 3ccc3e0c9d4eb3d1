#include "view/FindController.h"

#include "res/MessageTexts.h"
#include "view/OrvikCalendarView.h"

#include <dlgs.h>

HWND CFindController::Dialog() const {
    return dialog && dialog->window && IsWindow(dialog->window) ? dialog->window : nullptr;
}

void CFindController::Open() {
    if (HWND open = Dialog()) {
        SetActiveWindow(open);
        HWND text = GetDlgItem(open, edt1);
        SetFocus(text);
        SendMessageA(text, EM_SETSEL, 0, -1);
        return;
    }
    closedDialog.reset();
    dialog = std::make_unique<CFindReplaceDialog>();
    dialog->Create(view.window, last.text.c_str());
}

void CFindController::OnMessage(const FINDREPLACEA& request) {
    if (request.Flags & FR_DIALOGTERM) {
        // The platform destroys the window after this notification returns.
        closedDialog = std::move(dialog);
        return;
    }
    if (!(request.Flags & FR_FINDNEXT))
        return;
    last = FindRequest{request.lpstrFindWhat, (request.Flags & FR_DOWN) != 0,
                       (request.Flags & FR_MATCHCASE) != 0, (request.Flags & FR_WHOLEWORD) != 0};
    // The focus stays in the dialog, so that Enter finds the next one.
    FindAndShow(last, false);
}

void CFindController::Again(bool down) {
    if (last.text.empty()) {
        Open();
        return;
    }
    FindRequest request = last;
    request.down = down;
    const bool fromTheDialog = Dialog() && GetActiveWindow() == Dialog();
    FindAndShow(request, !fromTheDialog);
}

void CFindController::FindAndShow(const FindRequest& request, bool focusTheCell) {
    std::optional<Date> currentDay;
    if (view.currentCell)
        currentDay = view.currentCell->date;
    const FindResult hit = finder.FindNext(view.document->Store(), currentDay, request);
    if (!hit.found) {
        view.currentCell = nullptr;
        MessageBoxA(Dialog() ? Dialog() : GetParent(view.window), ORVIK_NOT_FOUND_TEXT,
                    ORVIK_CAPTION, MB_OK | MB_ICONWARNING);
        return;
    }
    view.displayedDate = hit.day;
    view.CollectCells();
    view.ShowMonth();
    CMyEdit* cell = view.CellForDate(hit.day);
    if (!cell)
        return;
    view.currentCell = cell;
    if (focusTheCell)
        SetFocus(cell->window);
    view.SelectInCell(*cell, hit.Anchor(), hit.Caret());
}
