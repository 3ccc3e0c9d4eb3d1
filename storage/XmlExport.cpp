#include "storage/XmlExport.h"

#include "core/DayText.h"
#include "core/Utf8.h"

namespace {

const std::size_t kMaxLineBytes = 1000;

// How the bytes of the texts' code page make characters.
enum class CharacterForm { SingleByte, Utf8, ShiftJis, OtherDoubleByte };

CharacterForm FormOf(const std::string& encoding) {
    if (encoding == "UTF-8")
        return CharacterForm::Utf8;
    if (encoding == "Shift_JIS")
        return CharacterForm::ShiftJis;
    if (encoding == "GBK" || encoding == "EUC-KR" || encoding == "Big5")
        return CharacterForm::OtherDoubleByte;
    return CharacterForm::SingleByte;
}

// The lead bytes of the double-byte code pages that Windows uses as ANSI
// code pages; a cut must not separate a lead byte from its trail byte.
bool IsLeadByte(unsigned char c, CharacterForm form) {
    if (form == CharacterForm::ShiftJis)
        return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
    if (form == CharacterForm::OtherDoubleByte)
        return c >= 0x81 && c <= 0xFE;
    return false;
}

// The length of the character of a double-byte code page that starts at
// `at`, or 0 when the bytes there are none: a lead byte whose trail byte is
// missing or below 0x40 (a reader would take the markup after it for the rest
// of the character).
std::size_t DoubleByteLength(const std::string& text, std::size_t at, CharacterForm form) {
    if (!IsLeadByte(static_cast<unsigned char>(text[at]), form))
        return 1;
    return at + 1 < text.size() && static_cast<unsigned char>(text[at + 1]) >= 0x40 ? 2 : 0;
}

// Appends the UTF-8 character at `at` and gives its length. A byte outside
// any well-formed sequence becomes U+FFFD, as the program shows it; U+FFFE and
// U+FFFF, which XML 1.0 forbids, are dropped.
void AppendUtf8Character(std::string& out, const Utf8Char& c, const std::string& text,
                         std::size_t at) {
    if (c.value >= kInvalidByte)
        AppendUtf8(out, 0xFFFD);
    else if (c.value != 0xFFFE && c.value != 0xFFFF)
        out.append(text, at, c.length);
}

// Appends the characters that lie within the first `maxBytes` bytes of the
// text, never a part of one. What XML 1.0 cannot hold is dropped, as no
// reference can stand for it either: a lead byte without its trail byte,
// controls other than TAB (CR and LF among them), U+FFFE and U+FFFF. Markup
// characters become references, so no text can break the document; in the
// stylesheet reference also the quote that would end it, and ">" so that a
// "?>" cannot end the instruction early.
void AppendText(std::string& out, const std::string& text, CharacterForm form, std::size_t maxBytes,
                bool inQuotes) {
    for (std::size_t at = 0; at < text.size();) {
        const char c = text[at];
        if (form == CharacterForm::Utf8 && static_cast<unsigned char>(c) >= 0x80) {
            const Utf8Char character = DecodeUtf8(text, at);
            if (at + character.length > maxBytes)
                return;
            AppendUtf8Character(out, character, text, at);
            at += character.length;
            continue;
        }
        const std::size_t length = DoubleByteLength(text, at, form);
        if (length == 0) {
            ++at;
            continue;
        }
        if (at + length > maxBytes)
            return;
        if (length == 2)
            out.append(text, at, 2);
        else if (static_cast<unsigned char>(c) >= 0x20 || c == '\t')
            AppendEscapedByte(out, c, inQuotes);
        at += length;
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

void AppendDay(std::string& out, const GridDay& day, CharacterForm form) {
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
        AppendText(out, line, form, kMaxLineBytes, false);
        out += "</line>\r\n";
    }
    out += "\t</event>\r\n";
}

} // namespace

void AppendEscapedByte(std::string& out, char c, bool inQuotes) {
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

std::string ExportXml(const MonthExport& month) {
    // The Monday of the week that holds the first; a first on a Sunday gives
    // the Monday after it.
    Date weekReference(month.displayedDate.month, month.displayedDate.year);
    weekReference.SubtractDays(weekReference.weekday - 2);

    std::string out = "<?xml version=\"1.0\" encoding=\"" + month.encoding + "\" ?>\r\n";
    out += "<?xml-stylesheet type=\"text/xsl\" href=\"";
    const CharacterForm form = FormOf(month.encoding);
    AppendText(out, month.xslTemplate, form, std::string::npos, true);
    out += "\"?>\r\n<OrvikCalendar>\r\n";
    AppendElement(out, "\t", "year", month.displayedDate.year);
    AppendElement(out, "\t", "moy", month.displayedDate.month);
    out += "\t<monthname>" + month.displayedDate.Format(2) + "</monthname>\r\n";
    AppendElement(out, "\t", "doy", month.today.DayOfYear());
    AppendElement(out, "\t", "woy", weekReference.WeekOfYear());
    AppendElement(out, "\t", "sundayfirst", month.sundayFirst ? 1 : 0);
    for (const GridDay& day : month.days)
        AppendDay(out, day, form);
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
