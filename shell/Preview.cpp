#include "shell/Preview.h"

#include "res/MessageTexts.h"
#include "shell/AppFolders.h"
#include "shell/ShellOpen.h"
#include "shell/Texts.h"
#include "shell/XsltTransform.h"
#include "storage/FileTime.h"
#include "storage/SafeSave.h"
#include "storage/StylesheetLocation.h"

#include <commctrl.h>

namespace {
const char kPreviewFolder[] = "Preview";
const char kPreviewXml[] = "OrvikCalendar.xml";
const char kPreviewHtml[] = "OrvikCalendar.html";

// Writes a file of the preview; false (and the user told) when it failed.
bool WritePreviewFile(HWND owner, const std::string& path, const std::string& content) {
    std::string error;
    if (SaveFileSafely(path, content, error))
        return true;
    const std::string text = FormatText(ORVIK_PREVIEW_NOT_WRITTEN, {path, error});
    MessageBoxA(owner, text.c_str(), ORVIK_CAPTION, MB_OK | MB_ICONERROR);
    return false;
}

void SetStatusText(HWND statusBar, const std::string& text) {
    if (statusBar)
        SendMessageA(statusBar, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

} // namespace

void ShowPreview(HWND owner, HWND statusBar, MonthExport month) {
    const std::string folder = UserDataFolder(kPreviewFolder);
    if (folder.empty()) {
        MessageBoxA(owner, ORVIK_PREVIEW_NO_FOLDER, ORVIK_CAPTION, MB_OK | MB_ICONERROR);
        return;
    }
    const std::string stylesheet =
        ResolveStylesheet(month.xslTemplate, ProgramFolder(), CurrentFolder(), FileExists);
    const std::string xmlPath = folder + kPreviewXml;
    if (!WritePreviewFile(owner, xmlPath, ExportXml(month)))
        return;
    TransformResult page = TransformXmlFile(xmlPath, stylesheet);
    const std::string htmlPath = folder + kPreviewHtml;
    if (page.done && WritePreviewFile(owner, htmlPath, page.html)) {
        SetStatusText(statusBar, "");
        ShellOpen(htmlPath.c_str());
        return;
    }
    // Without the page, the browser gets the XML next to a copy of its
    // stylesheet, and the status bar says what went wrong.
    month.xslTemplate = FileNameOf(stylesheet);
    CopyFileA(stylesheet.c_str(), (folder + month.xslTemplate).c_str(), FALSE);
    if (!WritePreviewFile(owner, xmlPath, ExportXml(month)))
        return;
    SetStatusText(statusBar, FormatText(ORVIK_PREVIEW_AS_XML, page.reason));
    ShellOpen(xmlPath.c_str());
}
