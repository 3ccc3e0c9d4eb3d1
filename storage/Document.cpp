#include "storage/Document.h"

#include "res/MessageTexts.h"
#include "storage/FileTime.h"
#include "storage/SafeSave.h"

#include <new>


std::string Document::Name() const {
    return HasFile() ? path : ORVIK_UNTITLED;
}

void Document::SetDayText(const Date& day, const std::string& text) {
    if (store.Lookup(day) == text)
        return;
    modified = true;
    ++edits;
    store.SetDayText(day, text);
}

void Document::New() {
    store.RemoveAll();
    path.clear();
    fileTime = 0;
    ++edits;
}

LoadOutcome Document::Load(const std::string& newPath) {
    SkippedRecords left;
    const LoadOutcome outcome = ReadCalendarFile(newPath, store, legacyToUtf8, &left);
    if (outcome != LoadOutcome::Loaded)
        return outcome;
    path = newPath;
    fileTime = FileModificationTime(path);
    modified = false;
    skipped = left;
    ++edits;
    return outcome;
}

void Document::Recover(const std::string& recoveredPath, std::int64_t recoveredFileTime,
                       EventStore&& recovered) {
    store.ReplaceWith(std::move(recovered));
    path = recoveredPath;
    fileTime = recoveredFileTime;
    modified = true;
    skipped = SkippedRecords{};
    ++edits;
}

Document::SaveResult Document::Save() {
    return WriteTo(path);
}

Document::SaveResult Document::SaveAs(const std::string& newPath) {
    SaveResult result = WriteTo(newPath);
    if (result.saved)
        path = newPath;
    return result;
}

Document::SaveResult Document::WriteTo(const std::string& target) {
    SaveResult result;
    try {
        const std::string bytes = FormatCalendar(store);
        backups.BeforeReplacing(target);
        result.saved = SaveFileSafely(target, bytes, result.error);
    } catch (const std::bad_alloc&) {
        result.error = "There is not enough memory to write the diary.";
    }
    if (result.saved) {
        modified = false;
        fileTime = FileModificationTime(target);
        ++edits;
    }
    return result;
}

Document::SaveResult Document::Export(const std::string& target, const MonthExport& month) const {
    SaveResult result;
    result.saved = SaveFileSafely(target, ExportXml(month), result.error);
    return result;
}

bool Document::ChangedOnDisk() const {
    return HasFile() && FileModificationTime(path) > fileTime;
}

bool HasXmlExtension(const std::string& name) {
    const std::size_t dot = name.find_last_of('.');
    if (dot == std::string::npos || name.size() - dot != 4)
        return false;
    const char* extension = name.c_str() + dot + 1;
    for (int i = 0; i < 3; ++i) {
        if ((extension[i] | 0x20) != "xml"[i])
            return false;
    }
    return true;
}
