#include "shell/EventExchange.h"

#include "core/EventImport.h"
#include "core/Now.h"
#include "framework/FileDialog.h"
#include "res/MessageTexts.h"
#include "res/RegistryNames.h"
#include "shell/ExportEventsDlg.h"
#include "shell/Texts.h"
#include "storage/FileBytes.h"
#include "storage/ICalendarReader.h"
#include "storage/ICalendarWriter.h"
#include "storage/InstallationId.h"
#include "storage/Registry.h"
#include "storage/SafeSave.h"
#include "view/OrvikCalendarView.h"

#include <bcrypt.h>

namespace {

const char kIcsExtension[] = "ics";

bool LargerThan(const std::string& path, std::size_t limit) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        return false; // the read reports it
    const unsigned long long size =
        (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    return size > limit;
}

} // namespace

std::string InstallationId() {
    CRegistry registry;
    std::string stored;
    if (registry.Open())
        registry.ReadText(ORVIK_VALUE_INSTALLATION_ID, stored);
    InstallationRandom random{};
    BCryptGenRandom(nullptr, random.data(), static_cast<ULONG>(random.size()),
                    BCRYPT_USE_SYSTEM_PREFERRED_RNG);
    const std::string id = KeptOrNewInstallationId(stored, random);
    if (id != stored && registry.Create())
        registry.WriteText(ORVIK_VALUE_INSTALLATION_ID, id);
    return id;
}

void CEventExchange::Export() {
    CExportEventsDlg choice(view.displayedDate);
    if (choice.DoModal(owner) != IDOK)
        return;
    CFileDialog dialog(false, kIcsExtension, ORVIK_ICS_FILTER);
    if (!dialog.DoModal(owner))
        return;
    view.CollectCells();
    ICalendarExportArgs args;
    SetExportDays(args, choice.range, view.displayedDate);
    args.stamp = static_cast<UtcSeconds>(Now());
    args.installationId = InstallationId();
    const CLibraryTimeRules local;
    const ICalendarExport exported = WriteICalendar(document.Store(), args, local);
    std::string error;
    if (!SaveFileSafely(dialog.Path(), exported.bytes, error)) {
        Tell(FormatText(ORVIK_EVENTS_NOT_WRITTEN, {dialog.Path(), error}), MB_OK | MB_ICONERROR);
        return;
    }
    Tell(FormatText(ORVIK_EXPORTED, {std::to_string(exported.eventCount), dialog.Path()}),
         MB_OK | MB_ICONINFORMATION);
}

void CEventExchange::Import() {
    CFileDialog dialog(true, kIcsExtension, ORVIK_ICS_FILTER);
    if (!dialog.DoModal(owner))
        return;
    const std::string& path = dialog.Path();
    if (LargerThan(path, kMaxICalendarBytes)) {
        Tell(FormatText(ORVIK_IMPORT_TOO_LARGE, path), MB_OK | MB_ICONERROR);
        return;
    }
    std::string bytes;
    if (ReadFileBytes(path, bytes) != LoadOutcome::Loaded) {
        Tell(FormatText(ORVIK_IMPORT_NOT_READ, path), MB_OK | MB_ICONERROR);
        return;
    }
    const CLibraryTimeRules local;
    const ICalendarImport read = ReadICalendar(bytes, local);
    if (!read.error.empty()) {
        Tell(FormatText(ORVIK_IMPORT_REFUSED, {path, read.error}), MB_OK | MB_ICONERROR);
        return;
    }
    view.CollectCells();
    const EventsImport imported = ImportEvents(document.Store(), read.events);
    document.TakeDayTexts(imported.changes);
    view.ShowMonth();
    Tell(FormatText(ORVIK_IMPORTED,
                    {std::to_string(imported.added), std::to_string(imported.skipped),
                     std::to_string(read.repeatingSkipped)}),
         MB_OK | MB_ICONINFORMATION);
}

int CEventExchange::Tell(const std::string& text, UINT buttons) {
    return MessageBoxA(owner, text.c_str(), ORVIK_CAPTION, buttons);
}
