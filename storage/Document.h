#pragma once

#include "core/DiaryMerge.h"
#include "core/EventImport.h"
#include "core/EventStore.h"
#include "storage/Backups.h"
#include "storage/CalendarFile.h"
#include "storage/FileTime.h"
#include "storage/XmlExport.h"

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// A diary file read whole, not yet any document's (see Document::Adopt).
// Reading it touches no document, so it may run on a thread of its own.
struct DiaryFile {
    std::string path;
    LoadOutcome outcome = LoadOutcome::NotFound;
    FileState state; // before the bytes: a write after them shows as a change
    EventStore store;
    CalendarReadReport report;
    std::optional<DayFingerprints> days; // unknown when there was no memory to note them
};
DiaryFile ReadDiaryFile(const std::string& path, const LegacyToUtf8& legacyToUtf8);

// The diary the user works on: its entries, the file it belongs to, whether
// it changed since that file was last read or written, and the file's time
// then. Only this class changes that state, and every change keeps it true:
// a load or save that fails leaves the document exactly as it was.
class Document {
  public:
    // Files are read with legacyToUtf8, which depends on the code page the
    // program runs in (see DecodeCalendarBytes).
    explicit Document(LegacyToUtf8 legacyToUtf8) : legacyToUtf8(std::move(legacyToUtf8)) {}

    struct SaveResult {
        bool saved = false;
        std::string error; // for the user, when not saved
        // When not saved: false when the file at the path is no longer the
        // old one (the error says where the old and the new bytes are).
        bool oldFileInPlace = true;
    };

    // "Untitled" while the diary has no file.
    std::string Name() const;
    bool HasFile() const { return !path.empty(); }
    const std::string& Path() const { return path; }
    bool IsModified() const { return modified; }
    const EventStore& Store() const { return store; }
    // The file's modification time when it was last read or written; 0
    // without a file.
    std::int64_t FileTime() const { return seen.time; }

    // A day's text as the user left it; the document counts as modified
    // when that changes what it holds.
    void SetDayText(const Date& day, const std::string& text);
    // The user changed a text that has not reached the document yet.
    void MarkModified() {
        modified = true;
        ++edits;
    }
    // Goes up with every change of the document, so that a copy kept of it
    // (the recovery file) can tell it is behind.
    std::uint64_t Edits() const { return edits; }
    // Goes up whenever texts are replaced from outside the cells (a load,
    // New, a recovery, an outside change, an import): what a cell's undo
    // remembers no longer belongs to its text then.
    std::uint64_t OutsideReplacements() const { return outsideReplacements; }
    // Days changed from outside the cells, as an import changes them.
    void TakeDayTexts(const std::vector<DayChange>& changes);

    // Empties the diary and forgets its file. Whether it counts as modified
    // is left as it was.
    void New();
    // Reads the calendar file at `path` and makes it the document, as on
    // disk: not modified. A file in the legacy code page is converted (see
    // DecodeCalendarBytes), and the next save writes it as UTF-8. Anything
    // but Loaded leaves the document unchanged.
    LoadOutcome Load(const std::string& path);
    // Makes a file read by ReadDiaryFile the document, as Load does.
    LoadOutcome Adopt(DiaryFile&& file);
    // For reading a file elsewhere as Load reads it.
    const LegacyToUtf8& LegacyConversion() const { return legacyToUtf8; }
    // The records the last load could not use (see SkippedRecords).
    const SkippedRecords& Skipped() const { return skipped; }
    // Takes over a diary recovered after a crash: it belongs to `path` (empty
    // for an untitled one), whose file had `fileTime` then, and is unsaved.
    void Recover(const std::string& recoveredPath, std::int64_t recoveredFileTime,
                 EventStore&& recovered);
    // Dated copies of a file are kept there before saves replace it.
    Backups& BackupCopies() { return backups; }
    // Writes the whole diary to its own file; needs HasFile().
    SaveResult Save();
    // Writes the whole diary to `path`, which becomes its file.
    SaveResult SaveAs(const std::string& path);
    // Writes one month as XML. The diary is not saved by it and keeps its
    // file and its modified state.
    SaveResult Export(const std::string& path, const MonthExport& month) const;

    // Another program wrote the file since we last read or wrote it: its
    // size or its time differ. A file that is gone counts as unchanged.
    bool ChangedOnDisk() const;

    struct OutsideChange {
        enum class Kind {
            None,     // the file is as we last read or wrote it
            Reloaded, // nothing was unsaved: the document is the file again
            Merged,   // the file's changes merged into ours day by day; still modified
            // The file cannot be read whole, is cut short or holds no diary:
            // nothing changed, and a dated copy of it is kept at once.
            NotMerged
        };
        Kind kind = Kind::None;
        int daysFromOtherCopy = 0;
        std::vector<Date> conflictDays; // in date order
    };
    // Takes in what another program or computer wrote to the file since we
    // last read or wrote it (see MergeDiaries). After Reloaded or Merged the
    // file's text is the base of the next merge and its time the file time.
    // Whatever happens, the next save keeps a dated copy of the file first.
    OutsideChange TakeOutsideChange();

  private:
    SaveResult WriteTo(const std::string& target);
    // True when the file can be taken in: read whole, not cut short, and
    // every record used.
    bool ReadMergeable(EventStore& entries, bool& endsWithLineBreak);
    // What was read or written is now the file's.
    void NoteFileSeen(const FileState& state, bool endsWithLineBreak);

    LegacyToUtf8 legacyToUtf8;
    EventStore store;
    std::string path; // empty while untitled
    bool modified = false;
    FileState seen; // the file when last read or written
    // Whether its last record ended with a line break then: one missing
    // later means the file is cut short.
    bool seenLineBreakAtEnd = false;
    std::uint64_t edits = 0;
    std::uint64_t outsideReplacements = 0;
    // The days of the file as last read or written, the common ancestor of
    // a merge. Unknown after a recovery from a file that has changed since,
    // or when there was no memory to note them.
    std::optional<DayFingerprints> base = DayFingerprints();
    SkippedRecords skipped;
    Backups backups;
};

// True when the path names an XML file, which holds an export, never a diary.
bool HasXmlExtension(const std::string& path);
