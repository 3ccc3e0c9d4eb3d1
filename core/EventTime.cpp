#include "core/EventTime.h"

#include <cstring>

namespace {

// The conversions the time patterns need, with the C library's scanning rules
// but without the differences between its runtimes.
class Scanner {
  public:
    explicit Scanner(const std::string& text) : text(text) {}

    // "%2d": skips white space, then reads an optional sign and digits, the
    // sign counting towards the width of two.
    bool Number(int& value) {
        while (position < text.size() && IsSpace(text[position]))
            ++position;
        std::size_t end = position;
        const std::size_t limit = position + 2;
        const bool negative = end < text.size() && text[end] == '-';
        if (end < text.size() && (text[end] == '+' || text[end] == '-'))
            ++end;
        const std::size_t firstDigit = end;
        int magnitude = 0;
        while (end < limit && end < text.size() && IsDigit(text[end]))
            magnitude = magnitude * 10 + (text[end++] - '0');
        if (end == firstDigit)
            return false;
        position = end;
        value = negative ? -magnitude : magnitude;
        return true;
    }

    // "%[set]" (up to maxLength characters): at least one character of the
    // set, no white space skipped.
    bool Span(const char* set, std::size_t maxLength, std::string* read = nullptr) {
        std::size_t end = position;
        while (end - position < maxLength && end < text.size() && text[end] != '\0' &&
               std::strchr(set, text[end]) != nullptr)
            ++end;
        if (end == position)
            return false;
        if (read != nullptr)
            read->assign(text, position, end - position);
        position = end;
        return true;
    }

    std::size_t Position() const { return position; }

  private:
    static bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
    static bool IsDigit(char c) { return c >= '0' && c <= '9'; }

    const std::string& text;
    std::size_t position = 0;
};

const char kSeparators[] = ":.";
const char kAfternoonLetters[] = "pmPM";
const std::size_t kAnyLength = std::string::npos;

// Each pattern returns the number of fields it read, as sscanf does; what it
// read before falling short stays in the variables, and `end` is where it
// stopped (only asked of a pattern that read a minute, or of the last one).

// "%2d%*[:.]%2d%2[pmPM]"
int ScanSeparated(const std::string& line, int& hour, int& minute, std::string& letters,
                  std::size_t& end) {
    Scanner scan(line);
    int fields = 0;
    if (scan.Number(hour)) {
        fields = 1;
        if (scan.Span(kSeparators, kAnyLength) && scan.Number(minute))
            fields = scan.Span(kAfternoonLetters, 2, &letters) ? 3 : 2;
    }
    end = scan.Position();
    return fields;
}

// "%2d%2d%2[pmPM]"
int ScanRunTogether(const std::string& line, int& hour, int& minute, std::string& letters,
                    std::size_t& end) {
    Scanner scan(line);
    int fields = 0;
    if (scan.Number(hour)) {
        fields = 1;
        if (scan.Number(minute))
            fields = scan.Span(kAfternoonLetters, 2, &letters) ? 3 : 2;
    }
    end = scan.Position();
    return fields;
}

// "%2d%2[pmPM]"
int ScanHourOnly(const std::string& line, int& hour, std::string& letters, std::size_t& end) {
    Scanner scan(line);
    int fields = 0;
    if (scan.Number(hour))
        fields = scan.Span(kAfternoonLetters, 2, &letters) ? 2 : 1;
    end = scan.Position();
    return fields;
}

// The time at the start of the line and the length of its text.
std::optional<TimeOfDay> ParseTimePrefix(const std::string& line, std::size_t& end) {
    int hour = 0;
    int minute = 0;
    std::string letters;
    int fields = ScanSeparated(line, hour, minute, letters, end);
    if (fields < 2)
        fields = ScanRunTogether(line, hour, minute, letters, end);
    if (fields < 2)
        fields = ScanHourOnly(line, hour, letters, end);
    // Without a number at its start a line is plain text, not an event at 00:00.
    if (fields == 0)
        return std::nullopt;
    if (!letters.empty() && hour < 12)
        hour += 12;
    return TimeOfDay{hour, minute};
}

} // namespace

std::optional<TimeOfDay> ParseEventTime(const std::string& line) {
    std::size_t end = 0;
    return ParseTimePrefix(line, end);
}

std::optional<TimedLine> ReadTimedLine(const std::string& line) {
    std::size_t end = 0;
    const std::optional<TimeOfDay> time = ParseTimePrefix(line, end);
    if (!time || time->hour < 0 || time->hour > 23 || time->minute < 0 || time->minute > 59)
        return std::nullopt;
    while (end < line.size() && (line[end] == ' ' || line[end] == '\t'))
        ++end;
    return TimedLine{*time, line.substr(end)};
}
