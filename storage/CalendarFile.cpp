#include "storage/CalendarFile.h"

#include "storage/FileBytes.h"

#include <algorithm>
#include <new>
#include <utility>

// Everything here works byte by byte: in UTF-8 every byte of a character
// beyond ASCII is 0x80 or above, and in every ANSI code page the trail byte
// of a double-byte character is 0x40 or above, so neither is ever taken for
// a quote, a separator, CR or LF.

namespace {

void AppendEscapedText(std::string& out, const std::string& text) {
    for (const char c : text) {
        if (c == '\r')
            continue;
        if (c == '"')
            out += '"';
        out += c;
    }
}

} // namespace

std::string FormatCalendar(const EventStore& store) {
    std::size_t size = 0;
    for (int i = 0; i < store.GetCount(); ++i)
        size += store.GetTextAt(i).size() + 24;
    std::string out;
    out.reserve(size);
    for (int i = 0; i < store.GetCount(); ++i) {
        out += '"';
        out += store.GetDateAt(i).Format(0);
        out += "\";\"";
        AppendEscapedText(out, store.GetTextAt(i));
        out += "\"\r\n";
    }
    return out;
}

bool CCsvReader::ReadRecord() {
    while (next < bytes.size()) {
        const std::size_t start = next;
        bool quoted = false;
        std::size_t end = start;
        for (; end < bytes.size(); ++end) {
            const char c = bytes[end];
            if (c == '"')
                quoted = !quoted;
            else if (c == '\r' || (c == '\n' && !quoted))
                break;
        }
        record = bytes.substr(start, end - start);
        next = end < bytes.size() ? end + 1 : end;
        if (!record.empty())
            return true;
    }
    record = {};
    return false;
}

void CCsvReader::GetField(int n, std::string& field) const {
    field.clear();
    int counter = 0;
    bool quoted = false;
    for (std::size_t k = 0; k < record.size(); ++k) {
        const char c = record[k];
        if (c == '"') {
            if (quoted && k + 1 < record.size() && record[k + 1] == '"') {
                if (counter == n)
                    field += '"';
                ++k;
            } else {
                quoted = !quoted;
            }
        } else if (!quoted) {
            if (c == ';' || c == ',') {
                if (++counter > n)
                    return;
            }
        } else if (counter == n) {
            // The field's bytes up to the next quote or LF in one go.
            std::size_t end = k;
            while (end < record.size() && record[end] != '"' && record[end] != '\n')
                ++end;
            field.append(record.data() + k, end - k);
            k = end - 1;
            if (end < record.size() && record[end] == '\n') {
                field += "\r\n";
                k = end;
            }
        }
    }
}

bool CCsvReader::HasUnquotedContent() const {
    bool quoted = false;
    for (std::size_t k = 0; k < record.size(); ++k) {
        const char c = record[k];
        if (c == '"')
            quoted = !quoted;
        else if (quoted)
            k = std::min(record.find('"', k), record.size()) - 1; // to the closing quote
        else if (c != ';' && c != ',' && c != ' ' && c != '\t')
            return true;
    }
    return false;
}

bool ParseCalendar(std::string_view bytes, EventStore& store, SkippedRecords* skipped) {
    CCsvReader reader(bytes);
    std::string date, text;
    while (reader.ReadRecord()) {
        reader.GetField(0, date);
        reader.GetField(1, text);
        // An empty day is written as a record with an empty text and read as
        // nothing; a record without a date, or with text outside quotes, is
        // one the reader cannot use and would drop without a word.
        if (skipped && (date.empty() || reader.HasUnquotedContent())) {
            if (skipped->count++ == 0)
                skipped->first = reader.Record();
        }
        if (date.empty() || text.empty())
            continue;
        if (!store.Append(Date(date.c_str()), text))
            return false;
    }
    return true;
}

namespace {

// Records end at every CR, and a record's quotes come in pairs unless it
// was cut: the quotes after the last CR tell.
bool EndsInsideQuotes(std::string_view bytes) {
    const std::size_t lastBreak = bytes.find_last_of('\r');
    const std::size_t start = lastBreak == std::string_view::npos ? 0 : lastBreak + 1;
    std::size_t quotes = 0;
    for (std::size_t k = start; k < bytes.size(); ++k)
        quotes += bytes[k] == '"';
    return quotes % 2 != 0;
}

} // namespace

LoadOutcome ReadCalendarFile(const std::string& path, EventStore& store,
                             const LegacyToUtf8& legacyToUtf8, CalendarReadReport* report) {
    std::string bytes;
    const LoadOutcome read = ReadFileBytes(path, bytes);
    if (read != LoadOutcome::Loaded)
        return read;
    // A diary that does not fit in memory is refused whole: a part of it,
    // saved later, would lose the rest.
    try {
        CalendarReadReport found;
        found.endsInsideQuotes = EndsInsideQuotes(bytes);
        found.endsWithLineBreak = !bytes.empty() && (bytes.back() == '\n' || bytes.back() == '\r');
        const std::string decoded = DecodeCalendarBytes(std::move(bytes), legacyToUtf8);
        EventStore parsed;
        if (!ParseCalendar(decoded, parsed, &found.skipped))
            return LoadOutcome::OutOfMemory;
        store.ReplaceWith(std::move(parsed));
        if (report)
            *report = std::move(found);
        return LoadOutcome::Loaded;
    } catch (const std::bad_alloc&) {
        return LoadOutcome::OutOfMemory;
    }
}
