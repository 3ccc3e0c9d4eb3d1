#include "storage/ICalendarText.h"

#include "core/Utf8.h"

#include <algorithm>

namespace {

const std::size_t kMaxLineOctets = 75;

bool IsNameCharacter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-';
}

std::string UpperCase(std::string_view text) {
    std::string upper(text);
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    return upper;
}

// The octets of the piece that must stay on one line: an escape pair or a
// whole UTF-8 character.
std::size_t UnitLength(std::string_view line, std::size_t at) {
    if (line[at] == '\\' && at + 1 < line.size())
        return 2;
    return DecodeUtf8(line, at).length;
}

std::string LineError(int lineNumber, const char* what) {
    return "Line " + std::to_string(lineNumber) + " of the file " + what;
}

// NAME *(;PARAM=value *(,value)) :value; false when the line is not of that form.
bool ParseContentLine(std::string_view text, ContentLine& line) {
    std::size_t at = 0;
    while (at < text.size() && IsNameCharacter(text[at]))
        ++at;
    if (at == 0)
        return false;
    line.name = UpperCase(text.substr(0, at));
    while (at < text.size() && text[at] == ';') {
        const std::size_t nameStart = ++at;
        while (at < text.size() && IsNameCharacter(text[at]))
            ++at;
        if (at == nameStart || at >= text.size() || text[at] != '=')
            return false;
        std::string name = UpperCase(text.substr(nameStart, at - nameStart));
        ++at; // past the "="
        std::string value;
        for (;;) {
            if (at < text.size() && text[at] == '"') {
                const std::size_t close = text.find('"', at + 1);
                if (close == std::string_view::npos)
                    return false;
                value.append(text.substr(at + 1, close - at - 1));
                at = close + 1;
            } else {
                const std::size_t end = std::min(text.find_first_of(";:,\"", at), text.size());
                value.append(text.substr(at, end - at));
                at = end;
            }
            if (at >= text.size() || text[at] != ',')
                break;
            value += ',';
            ++at;
        }
        if (name == "VALUE")
            value = UpperCase(value);
        line.parameters.emplace_back(std::move(name), std::move(value));
    }
    if (at >= text.size() || text[at] != ':')
        return false;
    line.value = std::string(text.substr(at + 1));
    if (line.name == "BEGIN" || line.name == "END")
        line.value = UpperCase(line.value);
    return true;
}

} // namespace

std::string EscapeText(std::string_view text) {
    std::string escaped;
    escaped.reserve(text.size() + text.size() / 8);
    for (const char c : text) {
        switch (c) {
        case '\\':
        case ';':
        case ',':
            escaped += '\\';
            escaped += c;
            break;
        case '\n':
            escaped += "\\n";
            break;
        default:
            if (static_cast<unsigned char>(c) >= 0x20 && c != 0x7F)
                escaped += c;
            else if (c == '\t')
                escaped += c;
        }
    }
    return escaped;
}

std::string UnescapeText(std::string_view value) {
    std::string text;
    text.reserve(value.size());
    for (std::size_t k = 0; k < value.size(); ++k) {
        if (value[k] != '\\' || k + 1 == value.size()) {
            text += value[k];
            continue;
        }
        const char next = value[++k];
        if (next == 'n' || next == 'N')
            text += '\n';
        else if (next == '\\' || next == ';' || next == ',')
            text += next;
        else {
            text += '\\';
            text += next;
        }
    }
    return text;
}

void AppendFolded(std::string& out, std::string_view contentLine) {
    std::size_t start = 0; // of the current physical line's content
    std::size_t used = 0;  // its octets, the leading blank of a continuation included
    for (std::size_t at = 0; at < contentLine.size();) {
        const std::size_t length = UnitLength(contentLine, at);
        if (used + length > kMaxLineOctets) {
            out.append(contentLine, start, at - start);
            out += "\r\n ";
            start = at;
            used = 1;
        }
        used += length;
        at += length;
    }
    out.append(contentLine, start, contentLine.size() - start);
    out += "\r\n";
}

std::string ContentLine::Parameter(std::string_view parameterName) const {
    for (const auto& parameter : parameters) {
        if (parameter.first == parameterName)
            return parameter.second;
    }
    return std::string();
}

ContentLines ReadContentLines(std::string_view bytes) {
    ContentLines result;
    std::string text;
    int textLine = 0;
    int physicalLine = 0;
    // Ends the content line gathered so far; false (with the error set) when it is not one.
    const auto finish = [&]() {
        if (text.empty())
            return true;
        if (!IsValidUtf8(text)) {
            result.error = LineError(textLine, "is not UTF-8 text.");
            return false;
        }
        ContentLine line;
        line.lineNumber = textLine;
        if (!ParseContentLine(text, line)) {
            result.error = LineError(textLine, "is not an iCalendar line (NAME:value).");
            return false;
        }
        result.lines.push_back(std::move(line));
        text.clear();
        return true;
    };
    for (std::size_t start = 0; start < bytes.size();) {
        std::size_t end = bytes.find('\n', start);
        const std::size_t next = end == std::string_view::npos ? bytes.size() : end + 1;
        end = end == std::string_view::npos ? bytes.size() : end;
        if (end > start && bytes[end - 1] == '\r')
            --end;
        const std::string_view physical = bytes.substr(start, end - start);
        ++physicalLine;
        start = next;
        if (!physical.empty() && (physical[0] == ' ' || physical[0] == '\t')) {
            if (textLine == 0) {
                result.error = LineError(physicalLine, "continues a line that is not there.");
                return result;
            }
            text.append(physical.substr(1));
            continue;
        }
        if (!finish())
            return result;
        text.assign(physical);
        textLine = physicalLine;
    }
    finish();
    return result;
}
