// The frame's document commands: New, Open, Save, Save As, the recent
// files, Exit, the close sequence and the check for changes made by other
// programs. The document itself does the reading and writing; this is where
// the user is asked and told.
#include "shell/MainFrame.h"

#include "framework/FileDialog.h"
#include "res/MessageTexts.h"
#include "res/resource.h"
#include "shell/Texts.h"
#include "storage/FileTime.h"
#include "storage/Registry.h"
#include "storage/SettingsStore.h"

namespace {

const char kCsvExtension[] = "csv";
const char kOpenFilter[] = "Comma Separated Files (*.csv)\0*.csv\0All Files (*.*)\0*.*\0";
const char kSaveFilter[] =
    "Comma Separated Files (*.csv)\0*.csv\0XML Files (*.xml)\0*.xml\0All Files (*.*)\0*.*\0";
const WPARAM kExitRequest = 1; // a close that MinimizeOnClose must not turn into hiding

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

} // namespace

void CMainFrame::OnFileNew() {
    if (MessageBoxA(window, ORVIK_ASK_NEW, ORVIK_ASK_NEW_CAPTION, MB_OKCANCEL | MB_ICONWARNING) !=
        IDOK)
        return;
    document.New();
    view.ShowMonth();
    view.UpdateTitle();
}

bool CMainFrame::AskToKeepChanges() {
    if (!document.IsModified())
        return true;
    const std::string question = FormatText(ORVIK_ASK_SAVE_CHANGES, document.Name());
    switch (MessageBoxA(window, question.c_str(), ORVIK_CAPTION, MB_YESNOCANCEL | MB_ICONWARNING)) {
    case IDYES:
        // Only a diary that is whole on disk may be let go: not one whose
        // save failed, was cancelled or wrote just an export.
        return SaveDiary(document.HasFile() ? SaveWay::ToItsFile : SaveWay::AskForName,
                         ExportReport::SayDiaryNotSaved);
    case IDNO:
        return true;
    default:
        return false;
    }
}

bool CMainFrame::OpenDocument(const std::string& path) {
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

bool CMainFrame::LoadDocument(const std::string& path) {
    const LoadOutcome outcome = document.Load(path);
    if (outcome != LoadOutcome::Loaded) {
        ReportNotLoaded(path, outcome);
        return false;
    }
    view.ShowMonth();
    view.UpdateTitle();
    return true;
}

void CMainFrame::ReportNotLoaded(const std::string& path, LoadOutcome outcome) {
    const std::string text = FormatText(NotLoadedText(outcome), path);
    MessageBoxA(window, text.c_str(), ORVIK_CAPTION, MB_OK | MB_ICONERROR);
}

void CMainFrame::OpenLastDocument() {
    // A missing or unreadable last diary leaves the new, empty one; its
    // entry stays in the list for when the drive is back.
    if (!recentFiles.Entries().empty())
        LoadDocument(recentFiles.Entries().front());
    // Ready for typing into today.
    view.FocusToday();
}

void CMainFrame::OnFileOpen() {
    CFileDialog dialog(true, kCsvExtension, kOpenFilter);
    if (!dialog.DoModal(GetActiveWindow()))
        return;
    if (OpenDocument(dialog.Path()))
        recentFiles.AddToList(dialog.Path());
}

bool CMainFrame::OnFileSave() {
    return SaveDiary(document.HasFile() ? SaveWay::ToItsFile : SaveWay::AskForName,
                     ExportReport::None);
}

bool CMainFrame::OnFileSaveAs() {
    return SaveDiary(SaveWay::AskForName, ExportReport::None);
}

bool CMainFrame::SaveDiary(SaveWay way, ExportReport report) {
    std::string path = document.Name();
    if (way == SaveWay::AskForName) {
        CFileDialog dialog(false, kCsvExtension, kSaveFilter);
        if (!dialog.DoModal(GetActiveWindow()))
            return false;
        path = dialog.Path();
    }
    // An XML file holds one month, never the diary.
    if (HasXmlExtension(path)) {
        if (ExportMonth(path) && report == ExportReport::SayDiaryNotSaved) {
            const std::string text = FormatText(ORVIK_EXPORTED_ONLY, path);
            MessageBoxA(window, text.c_str(), ORVIK_CAPTION, MB_OK | MB_ICONWARNING);
        }
        return false;
    }
    view.CollectCells();
    // Another file chosen in the dialog was already confirmed there as the
    // one to replace; only the diary's own file can have changed under us.
    if (way == SaveWay::ToItsFile && OfferReload())
        return false;
    const Document::SaveResult result =
        way == SaveWay::ToItsFile ? document.Save() : document.SaveAs(path);
    if (!result.saved) {
        const std::string text = FormatText(ORVIK_NOT_SAVED, path, result.error);
        MessageBoxA(window, text.c_str(), ORVIK_CAPTION, MB_OK | MB_ICONERROR);
        return false;
    }
    if (way == SaveWay::AskForName) {
        view.UpdateTitle();
        recentFiles.AddToList(path);
    }
    return true;
}

bool CMainFrame::ExportMonth(const std::string& path) {
    const Document::SaveResult result = document.Export(path, view.CurrentMonth());
    if (!result.saved) {
        const std::string text = FormatText(ORVIK_EXPORT_FAILED, path, result.error);
        MessageBoxA(window, text.c_str(), ORVIK_CAPTION, MB_OK | MB_ICONERROR);
    }
    return result.saved;
}

bool CMainFrame::OfferReload() {
    if (!document.ChangedOnDisk())
        return false;
    if (MessageBoxA(window, ORVIK_ASK_RELOAD, ORVIK_ASK_RELOAD_CAPTION,
                    MB_OKCANCEL | MB_ICONWARNING) != IDOK)
        return false;
    LoadDocument(document.Name());
    return true;
}

void CMainFrame::OnFileRecent(int command) {
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

void CMainFrame::OnFileExit() {
    PostMessageA(window, WM_CLOSE, kExitRequest, 0);
}

LRESULT CMainFrame::OnClose(WPARAM request) {
    if (settings.MinimizeOnClose && request != kExitRequest) {
        MinimiseToTray();
        return 0;
    }
    if (!AskToKeepChanges())
        return 0;
    WriteRegistryAtClose();
    DestroyWindow(window);
    return 0;
}

void CMainFrame::WriteRegistryAtClose() {
    // The list goes first: its write creates the key, which Open never does.
    recentFiles.WriteToRegistry();
    CRegistry registry;
    registry.Open();
    registry.WriteWindowPlacement(window);
    WriteSettings(registry, settings);
}
