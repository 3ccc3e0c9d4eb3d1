#include "storage/XmlExport.h"

#include "core/DayText.h"
#include "core/Utf8.h"

namespace {

const std::size_t kMaxLineBytes = 1000;

// The lead bytes of the double-byte code pages that Windows uses as ANSI
// code pages; a cut must not separate a lead byte from its trail byte.
bool IsLeadByte(unsigned char c, const std::string& encoding) {
    if (encoding == "Shift_JIS")
        return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
    if (encoding == "GBK" || encoding == "EUC-KR" || encoding == "Big5")
        return c >= 0x81 && c <= 0xFE;
    return false;
}

bool IsUtf8(const std::string& encoding) {
    return encoding == "UTF-8";
}

std::size_t CutLength(const std::string& line, const std::string& encoding) {
    if (line.size() <= kMaxLineBytes)
        return line.size();
    if (IsUtf8(encoding))
        return Utf8CutLength(line, kMaxLineBytes);
    std::size_t cut = 0;
    for (;;) {
        const std::size_t step =
            IsLeadByte(static_cast<unsigned char>(line[cut]), encoding) ? 2 : 1;
        if (cut + step > kMaxLineBytes)
            return cut;
        cut += step;
    }
}

// Appends the character of a UTF-8 text that starts at `at` and gives its
// length. XML takes only whole characters: a byte outside any well-formed
// sequence becomes U+FFFD, and the two noncharacters XML 1.0 forbids are
// dropped.
std::size_t AppendUtf8Character(std::string& out, const std::string& text, std::size_t at) {
    const Utf8Char c = DecodeUtf8(text, at);
    if (c.value >= kInvalidByte)
        AppendUtf8(out, 0xFFFD);
    else if (c.value != 0xFFFE && c.value != 0xFFFF)
        out.append(text, at, c.length);
    return c.length;
}

// Bytes that XML 1.0 forbids outright (controls other than TAB, CR and LF)
// are dropped, as no reference can stand for them either. Markup characters
// become references, so no day text can break the document; in the
// stylesheet reference also the quote that would end it, and ">" so that a
// "?>" cannot end the instruction early.
void AppendEscaped(std::string& out, const std::string& text, std::size_t length, bool inQuotes,
                   bool utf8) {
    for (std::size_t k = 0; k < length; ++k) {
        const char c = text[k];
        if (utf8 && static_cast<unsigned char>(c) >= 0x80) {
            k += AppendUtf8Character(out, text, k) - 1;
            continue;
        }
        if (static_cast<unsigned char>(c) < 0x20 && c != '\t')
            continue;
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += inQuotes ? "&quot;" : "\"";
            break;
        default:
            out += c;
        }
    }
}

void AppendElement(std::string& out, const char* indent, const char* name, long value) {
    out += indent;
    out += '<';
    out += name;
    out += '>';
    out += std::to_string(value);
    out += "</";
    out += name;
    out += ">\r\n";
}

void AppendDay(std::string& out, const GridDay& day, const std::string& encoding) {
    const Date& date = day.date;
    out += "\t<event>\r\n";
    AppendElement(out, "\t\t", "year", date.year);
    AppendElement(out, "\t\t", "moy", date.month);
    AppendElement(out, "\t\t", "dom", date.day);
    AppendElement(out, "\t\t", "doy", date.DayOfYear());
    AppendElement(out, "\t\t", "dow", date.weekday);
    std::vector<std::string> lines = SplitLines(day.text);
    // A day without text still has its one (empty) line.
    if (lines.empty())
        lines.emplace_back();
    for (const std::string& line : lines) {
        out += "\t\t<line>";
        AppendEscaped(out, line, CutLength(line, encoding), false, IsUtf8(encoding));
        out += "</line>\r\n";
    }
    out += "\t</event>\r\n";
}

} // namespace

std::string ExportXml(const MonthExport& month) {
    // The Monday of the week that holds the first; a first on a Sunday gives
    // the Monday after it.
    Date weekReference(month.displayedDate.month, month.displayedDate.year);
    weekReference.SubtractDays(weekReference.weekday - 2);

    std::string out = "<?xml version=\"1.0\" encoding=\"" + month.encoding + "\" ?>\r\n";
    out += "<?xml-stylesheet type=\"text/xsl\" href=\"";
    AppendEscaped(out, month.xslTemplate, month.xslTemplate.size(), true, IsUtf8(month.encoding));
    out += "\"?>\r\n<OrvikCalendar>\r\n";
    AppendElement(out, "\t", "year", month.displayedDate.year);
    AppendElement(out, "\t", "moy", month.displayedDate.month);
    out += "\t<monthname>" + month.displayedDate.Format(2) + "</monthname>\r\n";
    AppendElement(out, "\t", "doy", month.today.DayOfYear());
    AppendElement(out, "\t", "woy", weekReference.WeekOfYear());
    AppendElement(out, "\t", "sundayfirst", month.sundayFirst ? 1 : 0);
    for (const GridDay& day : month.days)
        AppendDay(out, day, month.encoding);
    out += "</OrvikCalendar>\r\n";
    return out;
}

std::string EncodingNameForCodePage(unsigned codePage) {
    switch (codePage) {
    case 932:
        return "Shift_JIS";
    case 936:
        return "GBK";
    case 949:
        return "EUC-KR";
    case 950:
        return "Big5";
    case 65001:
        return "UTF-8";
    case 28591:
        return "ISO-8859-1";
    default:
        // 874 and 1250 to 1258 carry these very names.
        return "windows-" + std::to_string(codePage);
    }
}
