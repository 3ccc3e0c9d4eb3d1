#include "core/DayText.h"

// Both functions work byte by byte: in every ANSI code page the trail byte of
// a double-byte character is 0x40 or above, so it is never taken for CR or LF.

std::string NormalizeLineBreaks(const std::string& text) {
    std::string result;
    result.reserve(text.size() + text.size() / 16);
    for (const char c : text) {
        if (c == '\r')
            continue;
        if (c == '\n')
            result += '\r';
        result += c;
    }
    return result;
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    if (text.empty())
        return lines;
    std::size_t start = 0;
    for (;;) {
        const std::size_t breakAt = text.find("\r\n", start);
        const std::size_t end = breakAt == std::string::npos ? text.size() : breakAt;
        std::string line;
        for (std::size_t k = start; k < end; ++k) {
            if (text[k] != '\r' && text[k] != '\n')
                line += text[k];
        }
        lines.push_back(std::move(line));
        if (breakAt == std::string::npos)
            return lines;
        start = breakAt + 2;
    }
}
