#pragma once

#include "core/EventStore.h"
#include "storage/FileBytes.h"
#include "storage/TextEncoding.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// The calendar file: one record per store entry, `"date";"text"` CR LF, the
// date in the file form, every quote of the text doubled and every CR of it
// removed. Every entry is written, in store order, empty texts and later
// duplicates of a day included. The bytes are meant for a binary write: the
// texts' own bytes, UTF-8 without a byte-order mark.
std::string FormatCalendar(const EventStore& store);

// Cuts calendar-file bytes into records and records into fields. It reads
// from memory: the whole file is read in one go and then parsed, which keeps
// loading linear in the file size.
class CCsvReader {
  public:
    // The bytes must outlive the reader.
    explicit CCsvReader(std::string_view bytes) : bytes(bytes) {}

    // Moves to the next record that has at least one byte and cuts it into
    // fields; false at the end. A record ends at every CR, and at every LF
    // outside double quotes; an LF inside quotes stays in the record as a
    // line break of the day text.
    bool ReadRecord();
    // The content of field n (from 0) of the current record: the quoted parts
    // between its separators (";" or "," outside quotes), a doubled quote
    // inside quotes giving one, each LF given as CR LF. Unquoted bytes are
    // dropped, so an unquoted or missing field is empty.
    const std::string& Field(int n) const;
    // Bytes outside quotes other than separators and blanks: data the
    // fields leave out.
    bool HasUnquotedContent() const { return unquotedContent; }
    std::string Record() const { return std::string(record); }

  private:
    std::string_view bytes;
    std::size_t next = 0; // where the next record starts
    std::string_view record;
    // One pass finds the record's end and its fields; the strings keep their
    // memory from record to record.
    std::vector<std::string> fields;
    int fieldCount = 0;
    bool unquotedContent = false;

    // From `start` to the record's end, which it returns.
    std::size_t CutFields(std::size_t start);
    std::string& NextField();
};

// Records the reader could not use: one with no date, or with text outside
// quotes. Loaded once and saved, a diary would lose them.
struct SkippedRecords {
    int count = 0;
    std::string first; // the first of them, as it stands in the file
};

// What a read found beside the entries.
struct CalendarReadReport {
    SkippedRecords skipped;
    // How the bytes end. A save cut off, or a file caught while another
    // program writes it, ends inside a quoted text or without the line
    // break after its last record.
    bool endsInsideQuotes = false;
    bool endsWithLineBreak = false;
};

// Replaces the store with the records of the file: those whose date and text
// fields are both non-empty, in file order, appended without search, the
// date read by the text constructor of Date. The file's bytes become text by
// DecodeCalendarBytes with legacyToUtf8. The store is replaced only when the
// whole file was read and every record kept; otherwise it is untouched.
// What else the read found goes to `report` when given.
LoadOutcome ReadCalendarFile(const std::string& path, EventStore& store,
                             const LegacyToUtf8& legacyToUtf8,
                             CalendarReadReport* report = nullptr);

// Appends the records of a calendar file's text to the store by the same rules;
// false when memory ran out before every record was in.
bool ParseCalendar(std::string_view bytes, EventStore& store, SkippedRecords* skipped = nullptr);
