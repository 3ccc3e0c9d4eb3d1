#pragma once

#include "core/Date.h"
#include "core/EventStore.h"
#include "core/Find.h"
#include "core/MonthGrid.h"
#include "core/Reminders.h"
#include "framework/FindReplaceDialog.h"
#include "framework/Window.h"
#include "storage/CalendarFile.h"
#include "view/DayCell.h"
#include "view/Selector.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class CCommandBarCtrl;

enum class SaveOutcome { Saved, Reloaded, Failed };
struct AppSettings;

// The frame's client window: one month as six weeks of day cells, with the
// weekday names above and the week numbers at the left. It owns the
// document: the store, its name and whether it changed since the last save.
class COrvikCalendarView : public CWindowImpl<COrvikCalendarView>, public CalendarNavigation {
  public:
    // Set by the frame before the window is created.
    const AppSettings* settings = nullptr; // borrowed: the frame's
    CCommandBarCtrl* commandBar = nullptr; // borrowed: opens the cells' Edit menu

    std::int64_t fileTime = 0;
    bool modified = false;
    EventStore store;
    Date displayedDate;
    CMyEdit* currentCell = nullptr; // the cell that last had the focus, if any
    std::string documentName = "Untitled";
    std::array<CMyEdit, kGridCells> cells;

    // Reminders: the frame blinks the icon and shows the text when a line is due.
    static const int kFirstReminderCommand = 32868;
    static const int kLastReminderCommand = 33068;
    ReminderEngine reminders;
    std::function<void(const std::string& text)> onReminderDue;
    void StartReminderTimer();
    void StopReminderTimer();
    void CheckReminders();
    void OnReminderCommand(int command);

    // Find.
    std::string lastFindText;
    std::unique_ptr<CFindReplaceDialog> findDialog; // while it is open
    Finder finder;
    void OpenFindDialog();
    void OnFindMessage(const FINDREPLACEA& request);

    HWND Create(HWND frame);
    // Fills the grid with the month of displayedDate from the store.
    void ShowMonth();
    // Writes every cell's text back into the store.
    void CollectCells();
    // The frame's title: "OrvikCalendar - " and the document name.
    void UpdateTitle();
    CMyEdit* CellForDate(const Date& date);

    // The document on disk, named by documentName.
    LoadOutcome LoadDocument();
    // Saved; or nothing written because the user chose to reload a file that
    // another program changed, or because the write failed (the user has
    // been told, the old file is whole).
    SaveOutcome SaveDocument();
    bool WriteCsv(const std::string& path);
    bool ExportXmlTo(const std::string& path);
    std::int64_t GetDocumentTime() const;
    // Offers to reload a file that another program changed; true when reloaded.
    bool CheckFileChanged();

    void GoPreviousYear() override;
    void GoNextYear() override;
    void GoPreviousMonth() override;
    void GoNextMonth() override;
    void GoToday() override;

    // Used by the cells.
    void ShowDateInStatusBar(const Date& date);
    void ShowEditMenu(int x, int y);

    bool ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

  private:
    LRESULT OnCreate();
    void Layout(int width, int height);
    bool ReflectToChild(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    void ShowMonthAfterMove();
    bool SundayFirst() const;
    void ReportNotSaved(const std::string& path, const std::string& error);

    std::array<HWND, kGridColumns> weekdayLabels{}; // children of the view
    std::array<HWND, kGridRows> weekNumberLabels{};
    bool filling = false; // the program, not the user, is setting cell texts
};

// The frame's status bar, where a focused cell names its date.
extern HWND g_statusBar;
