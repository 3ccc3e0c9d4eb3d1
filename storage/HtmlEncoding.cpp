#include "storage/HtmlEncoding.h"

#include <algorithm>
#include <cctype>

namespace {

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

bool IsCharsetCharacter(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_';
}

// Replaces the name that starts at `start` (after an optional quote).
void RenameEncodingAt(std::string& html, std::size_t start) {
    if (start < html.size() && (html[start] == '"' || html[start] == '\''))
        ++start;
    std::size_t end = start;
    while (end < html.size() && IsCharsetCharacter(html[end]))
        ++end;
    html.replace(start, end - start, "UTF-8");
}

} // namespace

std::string DeclareUtf8(std::string html) {
    // A page written as XML names its encoding in its declaration.
    if (html.compare(0, 5, "<?xml") == 0) {
        const std::size_t end = html.find("?>");
        const std::size_t encoding = html.find("encoding=");
        if (encoding != std::string::npos && encoding < end)
            RenameEncodingAt(html, encoding + 9);
    }
    const std::string lower = Lower(html);
    // Only the head declares: "charset=" in the text of the page is text.
    std::size_t headLimit = lower.find("</head>");
    if (headLimit == std::string::npos)
        headLimit = lower.find("<body");
    const std::size_t charset = lower.find("charset=");
    if (charset != std::string::npos && headLimit != std::string::npos && charset < headLimit) {
        RenameEncodingAt(html, charset + 8);
        return html;
    }
    const std::string declaration = "<meta charset=\"UTF-8\">";
    const std::size_t head = lower.find("<head");
    const std::size_t headEnd = head == std::string::npos ? head : lower.find('>', head);
    if (headEnd != std::string::npos)
        return html.insert(headEnd + 1, declaration);
    return declaration + html;
}
