#pragma once

#include "shell/RecoveryKeeper.h"
#include "storage/Document.h"
#include "view/ViewHost.h"

#include <windows.h>

#include <future>
#include <optional>
#include <string>

class COrvikCalendarView;
class RecentFileList;

// New, Open, Save, Save As, the recent files, reopening the last diary and
// the check for changes other programs made: where the user is asked and
// told. The document does the reading and writing.
class CDocumentCommands {
  public:
    CDocumentCommands(Document& document, COrvikCalendarView& view, ViewHost& host,
                      RecentFileList& recentFiles, CRecoveryKeeper& recovery)
        : document(document), view(view), host(host), recentFiles(recentFiles), recovery(recovery) {
    }
    // The window that owns the questions and reports; set once it exists.
    HWND owner = nullptr;

    void New();
    void Open();
    // True only when the whole diary is on disk afterwards.
    bool Save();
    bool SaveAs();
    void OpenRecent(int command);
    // At start, before the windows are made: reads the last diary on a
    // thread of its own meanwhile.
    void StartReadingLastDocument();
    // At start, before the month is first shown: the last diary, read
    // quietly, so that the window is filled and painted once. What goes
    // wrong is told by OpenLastDocument, once the window shows.
    void ReadLastDocument();
    // At start: a diary recovered after a crash, when the user wants it,
    // else the last one.
    void OpenLastDocument();
    void OpenBackupsFolder();
    // Asks whether to save a modified document; true when the document may
    // be let go: unmodified, saved whole, or the user chose not to save.
    bool AskToKeepChanges();
    // The frame hands this timer's WM_TIMER to OnOutsideChangeTimer.
    static const UINT_PTR kOutsideChangeTimer = 2;
    // Takes in what another program or computer wrote to the diary's file
    // once that program is done with it: its size and time must stay the
    // same from one check to the next, half a second apart (a few checks at
    // most; the next activation tries again). Never waits itself.
    void WatchOutsideChange();
    void OnOutsideChangeTimer();

  private:
    // Merged into unsaved changes (and the user told how), read again
    // silently without them, or offered for reload where it cannot be
    // merged. True when the document changed by it.
    bool TakeOutsideChange();
    void StopWatching();
    enum class SaveWay { ToItsFile, AskForName };
    enum class ExportReport { None, SayDiaryNotSaved };
    bool SaveDiary(SaveWay way, ExportReport report);
    bool ExportMonth(const std::string& path);
    // Asks about unsaved changes, then loads; false when nothing was loaded.
    bool OpenDocument(const std::string& path);
    // Loads and shows the file, or tells the user why not; the document
    // stays as it was then.
    bool LoadDocument(const std::string& path);
    void ReportSkippedRecords(const std::string& path);
    void ReportNotLoaded(const std::string& path, LoadOutcome outcome);
    void ReportMerge(const Document::OutsideChange& change);
    // True when the user chose to reload the changed file.
    bool OfferReload();
    // Offers the changes a copy that ended without saving left behind;
    // true when they became the document.
    bool OfferRecovery();
    int Tell(const std::string& text, UINT buttons);

    Document& document;
    COrvikCalendarView& view;
    ViewHost& host;
    RecentFileList& recentFiles;
    CRecoveryKeeper& recovery;
    std::future<DiaryFile> lastDocumentReading; // from StartReadingLastDocument until taken
    bool lastDocumentRead = false;              // by ReadLastDocument
    std::optional<FileState> watched;           // the file at the last check, while watching
    int watchChecks = 0;
    // The changed file the user chose to keep this diary over: the next
    // save replaces it.
    std::optional<FileState> keptOver;
};
