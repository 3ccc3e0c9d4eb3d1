#include "shell/DocumentCommands.h"

#include "core/DiaryMerge.h"
#include "core/Now.h"
#include "framework/FileDialog.h"
#include "res/MessageTexts.h"
#include "shell/RecentFileList.h"
#include "shell/ShellOpen.h"
#include "shell/Texts.h"
#include "storage/FileTime.h"
#include "storage/MergeReport.h"
#include "view/OrvikCalendarView.h"

#include <commctrl.h>

#include <system_error>

namespace {

const char kCsvExtension[] = "csv";
const UINT kOutsideChangeCheckMs = 500;
const int kOutsideChangeChecks = 6;

const char* NotLoadedText(LoadOutcome outcome) {
    switch (outcome) {
    case LoadOutcome::NotFound:
        return ORVIK_NOT_FOUND;
    case LoadOutcome::OutOfMemory:
        return ORVIK_TOO_LARGE;
    default:
        return ORVIK_NOT_READABLE;
    }
}

// "Tuesday, December 8, 2026 10:15"
std::string TimeText(std::int64_t seconds) {
    const std::tm local = ToLocalTime(static_cast<std::time_t>(seconds));
    char clock[16];
    std::snprintf(clock, sizeof clock, " %02d:%02d", local.tm_hour, local.tm_min);
    return Date(local).Format(3) + clock;
}

} // namespace

void CDocumentCommands::New() {
    if (MessageBoxA(owner, ORVIK_ASK_NEW, ORVIK_ASK_NEW_CAPTION, MB_OKCANCEL | MB_ICONWARNING) !=
        IDOK)
        return;
    document.New();
    recovery.Remove();
    view.ShowMonth();
    view.UpdateTitle();
}

bool CDocumentCommands::AskToKeepChanges() {
    if (!document.IsModified())
        return true;
    const std::string question = FormatText(ORVIK_ASK_SAVE_CHANGES, document.Name());
    switch (Tell(question, MB_YESNOCANCEL | MB_ICONWARNING)) {
    case IDYES:
        // Only a diary that is whole on disk may be let go: not one whose
        // save failed, was cancelled or wrote just an export.
        return SaveDiary(document.HasFile() ? SaveWay::ToItsFile : SaveWay::AskForName,
                         ExportReport::SayDiaryNotSaved);
    case IDNO:
        // The recovery file stays until what the answer was for succeeds:
        // an Open may yet fail.
        return true;
    default:
        return false;
    }
}

bool CDocumentCommands::OpenDocument(const std::string& path) {
    // A diary that is not there is reported before the user is asked
    // anything about the open one, which stays.
    if (!FileExists(path)) {
        ReportNotLoaded(path, LoadOutcome::NotFound);
        return false;
    }
    // Unsaved edits are never dropped without a question.
    if (!AskToKeepChanges())
        return false;
    return LoadDocument(path);
}

bool CDocumentCommands::LoadDocument(const std::string& path) {
    const LoadOutcome outcome = document.Load(path);
    if (outcome != LoadOutcome::Loaded) {
        ReportNotLoaded(path, outcome);
        return false;
    }
    keptOver.reset();
    recovery.Remove();
    view.ShowMonth();
    view.UpdateTitle();
    ReportSkippedRecords(path);
    return true;
}

void CDocumentCommands::ReportSkippedRecords(const std::string& path) {
    const SkippedRecords& skipped = document.Skipped();
    if (skipped.count > 0)
        Tell(
            FormatText(ORVIK_SKIPPED_RECORDS, {std::to_string(skipped.count), path, skipped.first}),
            MB_OK | MB_ICONWARNING);
}

void CDocumentCommands::ReportNotLoaded(const std::string& path, LoadOutcome outcome) {
    Tell(FormatText(NotLoadedText(outcome), path), MB_OK | MB_ICONERROR);
}

void CDocumentCommands::StartReadingLastDocument() {
    if (recentFiles.Entries().empty())
        return;
    try {
        lastDocumentReading =
            std::async(std::launch::async, ReadDiaryFile, recentFiles.Entries().front(),
                       document.LegacyConversion());
    } catch (const std::system_error&) {
        // No thread to be had: ReadLastDocument reads it itself.
    }
}

void CDocumentCommands::ReadLastDocument() {
    if (recentFiles.Entries().empty())
        return;
    DiaryFile file = lastDocumentReading.valid() ? lastDocumentReading.get()
                                                 : ReadDiaryFile(recentFiles.Entries().front(),
                                                                 document.LegacyConversion());
    lastDocumentRead = document.Adopt(std::move(file)) == LoadOutcome::Loaded;
}

void CDocumentCommands::OpenLastDocument() {
    // A missing or unreadable last diary leaves the new, empty one; its
    // entry stays in the list for when the drive is back. A recovered diary
    // replaces one read already.
    if (!OfferRecovery() && !recentFiles.Entries().empty()) {
        if (lastDocumentRead)
            ReportSkippedRecords(recentFiles.Entries().front());
        else
            LoadDocument(recentFiles.Entries().front());
    }
    lastDocumentRead = false;
    // Ready for typing into today.
    view.FocusToday();
}

bool CDocumentCommands::OfferRecovery() {
    const std::optional<CRecoveryKeeper::Left> left = recovery.NewestLeft();
    if (!left)
        return false;
    std::string bytes;
    std::optional<RecoveredDiary> recovered;
    if (ReadFileBytes(left->file, bytes) == LoadOutcome::Loaded)
        recovered = ParseRecovery(bytes);
    if (!recovered) {
        // Kept: what it holds may yet be read by other means.
        Tell(FormatText(ORVIK_RECOVERY_UNREADABLE, left->file), MB_OK | MB_ICONERROR);
        return false;
    }
    const std::string name = recovered->path.empty() ? ORVIK_UNTITLED : recovered->path;
    if (Tell(FormatText(ORVIK_ASK_RECOVER, {name, TimeText(left->time)}),
             MB_YESNO | MB_ICONQUESTION) != IDYES) {
        DeleteFileA(left->file.c_str());
        return false;
    }
    document.Recover(recovered->path, recovered->fileTime, std::move(recovered->store));
    // Ours first, so that the changes are kept somewhere all along.
    recovery.Keep(document);
    DeleteFileA(left->file.c_str());
    view.ShowMonth();
    view.UpdateTitle();
    return true;
}

void CDocumentCommands::Open() {
    CFileDialog dialog(true, kCsvExtension, ORVIK_OPEN_FILTER);
    if (!dialog.DoModal(GetActiveWindow()))
        return;
    if (OpenDocument(dialog.Path()))
        recentFiles.AddToList(dialog.Path());
}

void CDocumentCommands::OpenBackupsFolder() {
    Backups& backups = document.BackupCopies();
    const std::string own = document.HasFile() ? backups.FolderFor(document.Name()) : "";
    ShellOpen((FileExists(own) ? own : backups.Root()).c_str());
}

bool CDocumentCommands::Save() {
    return SaveDiary(document.HasFile() ? SaveWay::ToItsFile : SaveWay::AskForName,
                     ExportReport::None);
}

bool CDocumentCommands::SaveAs() {
    return SaveDiary(SaveWay::AskForName, ExportReport::None);
}

bool CDocumentCommands::SaveDiary(SaveWay way, ExportReport report) {
    std::string path = document.Name();
    if (way == SaveWay::AskForName) {
        CFileDialog dialog(false, kCsvExtension, ORVIK_SAVE_FILTER);
        if (!dialog.DoModal(GetActiveWindow()))
            return false;
        path = dialog.Path();
    }
    // An XML file holds one month, never the diary.
    if (HasXmlExtension(path)) {
        if (ExportMonth(path) && report == ExportReport::SayDiaryNotSaved) {
            Tell(FormatText(ORVIK_EXPORTED_ONLY, path), MB_OK | MB_ICONWARNING);
        }
        return false;
    }
    // The diary's own file, however the dialog spelt it, is saved as a Save.
    if (way == SaveWay::AskForName && document.HasFile() && SameFile(path, document.Name())) {
        way = SaveWay::ToItsFile;
        path = document.Name();
    }
    view.CollectCells();
    // Another file chosen in the dialog was already confirmed there as the
    // one to replace; only the diary's own file can have changed under us.
    // What comes in is shown before anything is written: this save stops.
    if (way == SaveWay::ToItsFile && document.ChangedOnDisk() &&
        FileStateOf(document.Name()) != keptOver) {
        WatchOutsideChange();
        host.ShowStatus(ORVIK_SAVE_WAITS_FOR_CHANGE);
        return false;
    }
    const Document::SaveResult result =
        way == SaveWay::ToItsFile ? document.Save() : document.SaveAs(path);
    if (!result.saved) {
        Tell(FormatText(result.oldFileInPlace ? ORVIK_NOT_SAVED : ORVIK_NOT_SAVED_NOR_KEPT,
                        {path, result.error}),
             MB_OK | MB_ICONERROR);
        return false;
    }
    if (way == SaveWay::AskForName) {
        view.UpdateTitle();
        recentFiles.AddToList(path);
    }
    return true;
}

bool CDocumentCommands::ExportMonth(const std::string& path) {
    const Document::SaveResult result = document.Export(path, view.CurrentMonth());
    if (!result.saved) {
        Tell(FormatText(ORVIK_EXPORT_FAILED, {path, result.error}), MB_OK | MB_ICONERROR);
    }
    return result.saved;
}

void CDocumentCommands::WatchOutsideChange() {
    if (watched || !document.ChangedOnDisk())
        return;
    watched = FileStateOf(document.Name());
    watchChecks = 0;
    SetTimer(owner, kOutsideChangeTimer, kOutsideChangeCheckMs, nullptr);
}

void CDocumentCommands::OnOutsideChangeTimer() {
    if (!watched) {
        StopWatching();
        return;
    }
    const FileState now = FileStateOf(document.Name());
    if (now == *watched) {
        StopWatching();
        TakeOutsideChange();
        return;
    }
    watched = now;
    if (++watchChecks >= kOutsideChangeChecks)
        StopWatching();
}

void CDocumentCommands::StopWatching() {
    KillTimer(owner, kOutsideChangeTimer);
    watched.reset();
}

bool CDocumentCommands::TakeOutsideChange() {
    if (!document.ChangedOnDisk())
        return false;
    // What is still being typed in a day counts as unsaved too.
    view.CollectCells();
    const Document::OutsideChange change = document.TakeOutsideChange();
    switch (change.kind) {
    case Document::OutsideChange::Kind::Reloaded:
        view.ShowMonth();
        host.ShowStatus(ORVIK_RELOADED);
        return true;
    case Document::OutsideChange::Kind::Merged:
        view.ShowMonth();
        ReportMerge(change);
        return true;
    case Document::OutsideChange::Kind::NotMerged:
        return OfferReload();
    default:
        return false;
    }
}

void CDocumentCommands::ReportMerge(const Document::OutsideChange& change) {
    const std::size_t conflictCount = change.conflictDays.size();
    if (change.daysFromOtherCopy == 0 && conflictCount == 0)
        return;
    const std::string conflicts =
        conflictCount == 0
            ? std::string()
            : FormatText(ORVIK_MERGE_CONFLICTS,
                         {DayCountText(static_cast<int>(conflictCount)), kOtherCopySeparator,
                          ConflictDatesText(change.conflictDays)});
    Tell(FormatText(ORVIK_MERGED,
                    {document.Name(), DayCountText(change.daysFromOtherCopy), conflicts}),
         MB_OK | (conflictCount == 0 ? MB_ICONINFORMATION : MB_ICONWARNING));
}

bool CDocumentCommands::OfferReload() {
    if (MessageBoxA(owner, ORVIK_ASK_RELOAD, ORVIK_ASK_RELOAD_CAPTION,
                    MB_OKCANCEL | MB_ICONWARNING) != IDOK) {
        keptOver = FileStateOf(document.Name());
        return false;
    }
    LoadDocument(document.Name());
    return true;
}

void CDocumentCommands::OpenRecent(int command) {
    std::string path;
    if (!recentFiles.GetFromList(command, path)) {
        MessageBeep(MB_ICONHAND);
        return;
    }
    if (!OpenDocument(path))
        return;
    // The path itself: a Save As from the question may have moved the list.
    recentFiles.AddToList(path);
    recentFiles.WriteToRegistry();
}

int CDocumentCommands::Tell(const std::string& text, UINT buttons) {
    return MessageBoxA(owner, text.c_str(), ORVIK_CAPTION, buttons);
}
