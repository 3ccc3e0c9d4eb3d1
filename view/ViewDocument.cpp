// The month view's document on disk: loading, saving, the XML export and
// noticing changes that other programs made to the file.
#include "view/OrvikCalendarView.h"

#include "storage/AppSettings.h"
#include "storage/CalendarFile.h"
#include "storage/FileTime.h"
#include "storage/SafeSave.h"
#include "storage/XmlExport.h"

namespace {

const char kChangedOutside[] = "The current file was changed by another program, reload this "
                               "file?\nPlease note: you'll loose your unsaved changes.";

bool EndsWithXml(const std::string& path) {
    const std::size_t dot = path.find_last_of('.');
    if (dot == std::string::npos)
        return false;
    // The code page's own case rules, as the file system names files by them.
    return lstrcmpiA(path.c_str() + dot + 1, "xml") == 0;
}

} // namespace

LoadOutcome COrvikCalendarView::LoadDocument() {
    const LoadOutcome outcome = ReadCalendarFile(documentName, store);
    if (outcome == LoadOutcome::Loaded) {
        UpdateTitle();
        fileTime = GetDocumentTime();
    }
    return outcome;
}

bool COrvikCalendarView::WriteCsv(const std::string& path) {
    CollectCells();
    std::string error;
    if (!SaveFileSafely(path, FormatCalendar(store), error)) {
        ReportNotSaved(path, error);
        return false;
    }
    modified = false;
    return true;
}

SaveOutcome COrvikCalendarView::SaveDocument() {
    if (CheckFileChanged())
        return SaveOutcome::Reloaded;
    const bool saved =
        EndsWithXml(documentName) ? ExportXmlTo(documentName) : WriteCsv(documentName);
    fileTime = GetDocumentTime();
    return saved ? SaveOutcome::Saved : SaveOutcome::Failed;
}

std::int64_t COrvikCalendarView::GetDocumentTime() const {
    return FileModificationTime(documentName);
}

bool COrvikCalendarView::CheckFileChanged() {
    const std::int64_t changed = GetDocumentTime();
    if (fileTime >= changed)
        return false;
    if (MessageBoxA(GetParent(window), kChangedOutside, "Alert", MB_OKCANCEL | MB_ICONWARNING) !=
        IDOK)
        return false;
    LoadDocument();
    ShowMonth();
    return true;
}

bool COrvikCalendarView::ExportXmlTo(const std::string& path) {
    CollectCells();
    MonthExport month;
    month.displayedDate = displayedDate;
    for (CMyEdit& cell : cells)
        month.days.push_back({cell.date, cell.GetText()});
    month.today.SetToday();
    month.xslTemplate = settings ? settings->XSLTemplate : std::string(ORVIK_DEFAULT_XSL_TEMPLATE);
    month.sundayFirst = settings && settings->SundayFirst;
    month.encoding = EncodingNameForCodePage(GetACP());
    std::string error;
    if (!SaveFileSafely(path, ExportXml(month), error)) {
        ReportNotSaved(path, error);
        return false;
    }
    return true;
}

void COrvikCalendarView::ReportNotSaved(const std::string& path, const std::string& error) {
    const std::string text = "The diary was not saved to\n" + path + "\n\n" + error +
                             "\n\nThe file there is unchanged; your changes are still open.";
    MessageBoxA(GetParent(window), text.c_str(), "OrvikCalendar", MB_OK | MB_ICONERROR);
}
