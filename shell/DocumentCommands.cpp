// The frame's document commands: New, Open, Save, Save As, the recent
// files, Exit, and the close sequence.
#include "shell/MainFrame.h"

#include "framework/FileDialog.h"
#include "res/resource.h"
#include "storage/Registry.h"
#include "storage/SettingsStore.h"

namespace {

const char kCsvExtension[] = "csv";
const char kOpenFilter[] = "Comma Separated Files (*.csv)\0*.csv\0All Files (*.*)\0*.*\0";
const char kSaveFilter[] =
    "Comma Separated Files (*.csv)\0*.csv\0XML Files (*.xml)\0*.xml\0All Files (*.*)\0*.*\0";
const char kUntitled[] = "Untitled";
const WPARAM kExitRequest = 1; // a close that MinimizeOnClose must not turn into hiding

bool HasXmlExtension(const std::string& path) {
    const std::size_t dot = path.find_last_of('.');
    return dot != std::string::npos && lstrcmpiA(path.c_str() + dot + 1, "xml") == 0;
}

} // namespace

void CMainFrame::OnFileNew() {
    if (MessageBoxA(window, "Are you sure? All current data will be erased!", "Confirmation",
                    MB_OKCANCEL | MB_ICONWARNING) != IDOK)
        return;
    view.store.RemoveAll();
    view.ShowMonth();
    view.documentName = kUntitled;
    view.UpdateTitle();
}

bool CMainFrame::AskToKeepChanges() {
    if (!view.modified)
        return true;
    const std::string question = "Save changes to: " + view.documentName + "?";
    switch (
        MessageBoxA(window, question.c_str(), "OrvikCalendar", MB_YESNOCANCEL | MB_ICONWARNING)) {
    case IDYES:
        return OnFileSave();
    case IDNO:
        return true;
    default:
        return false;
    }
}

bool CMainFrame::OpenDocument(const std::string& path) {
    // Unsaved edits are never dropped without a question.
    if (!AskToKeepChanges())
        return false;
    const std::string previousName = view.documentName;
    view.documentName = path;
    if (view.LoadDocument() == LoadOutcome::Unreadable) {
        // Keep the current document rather than an empty one under that
        // name, which the next save would write over the real diary.
        view.documentName = previousName;
        const std::string text = "The diary\n" + path +
                                 "\ncould not be read. It may be open in another program or you "
                                 "may not have permission to read it.";
        MessageBoxA(window, text.c_str(), "OrvikCalendar", MB_OK | MB_ICONERROR);
        return false;
    }
    view.ShowMonth();
    return true;
}

void CMainFrame::OnFileOpen() {
    CFileDialog dialog(true, kCsvExtension, kOpenFilter);
    if (!dialog.DoModal(GetActiveWindow()))
        return;
    if (OpenDocument(dialog.Path()))
        recentFiles.AddToList(dialog.Path());
}

bool CMainFrame::OnFileSave() {
    if (view.documentName == kUntitled)
        return OnFileSaveAs();
    view.CollectCells();
    return view.SaveDocument() == SaveOutcome::Saved;
}

bool CMainFrame::OnFileSaveAs() {
    CFileDialog dialog(false, kCsvExtension, kSaveFilter);
    if (!dialog.DoModal(GetActiveWindow()))
        return false;
    const std::string& path = dialog.Path();
    // An export is not the diary: the document keeps its name and state.
    if (HasXmlExtension(path))
        return view.ExportXmlTo(path);
    const std::string previousName = view.documentName;
    view.documentName = path;
    view.CollectCells();
    const SaveOutcome outcome = view.SaveDocument();
    if (outcome == SaveOutcome::Failed) {
        view.documentName = previousName;
        return false;
    }
    // Saved, or the user chose to load the file that was there instead.
    view.UpdateTitle();
    recentFiles.AddToList(path);
    return outcome == SaveOutcome::Saved;
}

void CMainFrame::OnFileRecent(int command) {
    std::string path;
    if (!recentFiles.GetFromList(command, path)) {
        MessageBeep(MB_ICONHAND);
        return;
    }
    if (!OpenDocument(path))
        return;
    recentFiles.MoveToTop(command);
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
