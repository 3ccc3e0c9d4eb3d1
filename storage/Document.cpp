#include "storage/Document.h"

#include "core/DiaryMerge.h"
#include "res/MessageTexts.h"
#include "storage/FileTime.h"
#include "storage/SafeSave.h"

#include <new>

namespace {

// Unknown rather than wrong when there is no memory to note them.
std::optional<DayFingerprints> FingerprintsOf(const EventStore& diary) {
    try {
        return DayFingerprints(diary);
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
}

} // namespace

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

void Document::TakeDayTexts(const std::vector<DayChange>& changes) {
    for (const DayChange& change : changes)
        SetDayText(change.date, change.text);
    ++outsideReplacements;
}

void Document::New() {
    store.RemoveAll();
    path.clear();
    NoteFileSeen(FileState(), false);
    base = DayFingerprints();
    ++edits;
}

void Document::NoteFileSeen(const FileState& state, bool endsWithLineBreak) {
    seen = state;
    seenLineBreakAtEnd = endsWithLineBreak;
    ++outsideReplacements;
}

DiaryFile ReadDiaryFile(const std::string& path, const LegacyToUtf8& legacyToUtf8) {
    DiaryFile file;
    file.path = path;
    file.state = FileStateOf(path);
    file.outcome = ReadCalendarFile(path, file.store, legacyToUtf8, &file.report);
    if (file.outcome == LoadOutcome::Loaded)
        file.days = FingerprintsOf(file.store);
    return file;
}

LoadOutcome Document::Load(const std::string& newPath) {
    return Adopt(ReadDiaryFile(newPath, legacyToUtf8));
}

LoadOutcome Document::Adopt(DiaryFile&& file) {
    if (file.outcome != LoadOutcome::Loaded)
        return file.outcome;
    store.ReplaceWith(std::move(file.store));
    base = std::move(file.days);
    path = std::move(file.path);
    NoteFileSeen(file.state, file.report.endsWithLineBreak);
    modified = false;
    skipped = std::move(file.report.skipped);
    ++edits;
    return LoadOutcome::Loaded;
}

void Document::Recover(const std::string& recoveredPath, std::int64_t recoveredFileTime,
                       EventStore&& recovered) {
    // The file is the base only while it is still what the recovered diary
    // was loaded from or saved to.
    // Otherwise it stays unknown: a later change there is not merged.
    std::optional<DayFingerprints> recoveredBase;
    EventStore fileDays;
    // Only the time was kept with the recovered diary: a file of another
    // time is one changed since, whatever its size.
    FileState state = FileStateOf(recoveredPath);
    CalendarReadReport report;
    if (recoveredPath.empty())
        recoveredBase = DayFingerprints();
    else if (state.time == recoveredFileTime &&
             ReadCalendarFile(recoveredPath, fileDays, legacyToUtf8, &report) ==
                 LoadOutcome::Loaded)
        recoveredBase = FingerprintsOf(fileDays);
    if (state.time != recoveredFileTime)
        state = FileState{true, -1, recoveredFileTime};
    base = std::move(recoveredBase);
    store.ReplaceWith(std::move(recovered));
    path = recoveredPath;
    NoteFileSeen(state, report.endsWithLineBreak);
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
    bool endsWithLineBreak = false;
    try {
        std::string bytes = FormatCalendar(store);
        endsWithLineBreak = !bytes.empty();
        backups.BeforeReplacing(target);
        SaveReport report;
        result.saved = SaveFileSafely(target, bytes, report);
        result.error = report.error;
        result.oldFileInPlace = report.oldFileInPlace;
        if (result.saved)
            base = FingerprintsOf(store);
    } catch (const std::bad_alloc&) {
        result.error = "There is not enough memory to write the diary.";
    }
    if (result.saved) {
        modified = false;
        seen = FileStateOf(target);
        seenLineBreakAtEnd = endsWithLineBreak;
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
    if (!HasFile())
        return false;
    const FileState now = FileStateOf(path);
    return now.exists && now != seen;
}

Document::OutsideChange Document::TakeOutsideChange() {
    OutsideChange change;
    if (!ChangedOnDisk())
        return change;
    backups.CopyAgain(path);
    change.kind = OutsideChange::Kind::NotMerged;
    try {
        // The state before the bytes: a write after it is seen as a change again.
        const FileState state = FileStateOf(path);
        EventStore theirs;
        bool endsWithLineBreak = false;
        if (!ReadMergeable(theirs, endsWithLineBreak) || (modified && !base)) {
            // Kept now: the user may reload it or overwrite it next.
            backups.BeforeReplacing(path);
            return change;
        }
        DayFingerprints fileDays(theirs);
        if (modified) {
            // An empty file where the base held days is more likely caught
            // half-written than emptied on purpose: merged, it would empty
            // every day not changed here.
            if (theirs.GetCount() == 0 && base->HasDays()) {
                backups.BeforeReplacing(path);
                return change;
            }
            DiaryMerge merge = MergeDiaries(*base, store, theirs);
            store.ReplaceWith(std::move(merge.merged));
            change.kind = OutsideChange::Kind::Merged;
            change.daysFromOtherCopy = merge.daysFromOtherCopy;
            change.conflictDays = std::move(merge.conflictDays);
        } else {
            store.ReplaceWith(std::move(theirs));
            change.kind = OutsideChange::Kind::Reloaded;
        }
        base = std::move(fileDays);
        NoteFileSeen(state, endsWithLineBreak);
        skipped = SkippedRecords{};
        ++edits;
    } catch (const std::bad_alloc&) {
        // Nothing was replaced yet: the document is as it was.
    }
    return change;
}

bool Document::ReadMergeable(EventStore& entries, bool& endsWithLineBreak) {
    CalendarReadReport report;
    if (ReadCalendarFile(path, entries, legacyToUtf8, &report) != LoadOutcome::Loaded)
        return false;
    endsWithLineBreak = report.endsWithLineBreak;
    const bool cutShort =
        report.endsInsideQuotes || (seenLineBreakAtEnd && !report.endsWithLineBreak);
    return report.skipped.count == 0 && !cutShort;
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
