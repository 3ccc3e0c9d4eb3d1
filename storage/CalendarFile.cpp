#include "storage/CalendarFile.h"

#include "storage/FileBytes.h"

#include <cstdint>
#include <cstring>
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

// Where the next quote, CR or LF is, at `from` or after; the size if none.
// Eight bytes at a time: a byte equal to c leaves a zero byte in the word
// XOR eight c's, and hasZeroByte tells whether a word has one.
std::size_t NextQuoteOrLineBreak(std::string_view bytes, std::size_t from) {
    const std::uint64_t ones = 0x0101010101010101;
    const auto hasZeroByte = [ones](std::uint64_t word) {
        return ((word - ones) & ~word & (ones << 7)) != 0;
    };
    std::size_t k = from;
    for (; k + 8 <= bytes.size(); k += 8) {
        std::uint64_t word;
        std::memcpy(&word, bytes.data() + k, sizeof word);
        if (hasZeroByte(word ^ (ones * '"')) || hasZeroByte(word ^ (ones * '\r')) ||
            hasZeroByte(word ^ (ones * '\n')))
            break;
    }
    while (k < bytes.size() && bytes[k] != '"' && bytes[k] != '\r' && bytes[k] != '\n')
        ++k;
    return k;
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
        const std::size_t end = CutFields(start);
        record = bytes.substr(start, end - start);
        next = end < bytes.size() ? end + 1 : end;
        if (!record.empty())
            return true;
    }
    record = {};
    fieldCount = 0;
    unquotedContent = false;
    return false;
}

const std::string& CCsvReader::Field(int n) const {
    static const std::string kMissing;
    return n >= 0 && n < fieldCount ? fields[static_cast<std::size_t>(n)] : kMissing;
}

std::string& CCsvReader::NextField() {
    if (static_cast<std::size_t>(fieldCount) == fields.size())
        fields.emplace_back();
    std::string& field = fields[static_cast<std::size_t>(fieldCount++)];
    field.clear();
    return field;
}

std::size_t CCsvReader::CutFields(std::size_t k) {
    fieldCount = 0;
    unquotedContent = false;
    std::string* field = &NextField();
    bool quoted = false;
    const std::size_t size = bytes.size();
    while (k < size) {
        const char c = bytes[k];
        if (c == '\r')
            break;
        if (!quoted) {
            if (c == '\n')
                break;
            if (c == '"')
                quoted = true;
            else if (c == ';' || c == ',')
                field = &NextField();
            else if (c != ' ' && c != '\t')
                unquotedContent = true;
            ++k;
        } else if (c == '"') {
            // A doubled quote inside quotes is one quote of the text.
            if (k + 1 < size && bytes[k + 1] == '"') {
                *field += '"';
                k += 2;
            } else {
                quoted = false;
                ++k;
            }
        } else if (c == '\n') {
            *field += "\r\n";
            ++k;
        } else {
            // The text up to the next quote or line break in one go.
            const std::size_t end = NextQuoteOrLineBreak(bytes, k + 1);
            field->append(bytes.data() + k, end - k);
            k = end;
        }
    }
    return k;
}

bool ParseCalendar(std::string_view bytes, EventStore& store, SkippedRecords* skipped) {
    CCsvReader reader(bytes);
    while (reader.ReadRecord()) {
        const std::string& date = reader.Field(0);
        const std::string& text = reader.Field(1);
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
