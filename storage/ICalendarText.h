#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The text layer of iCalendar (RFC 5545): escaped values and folded content lines.

// A TEXT value: backslash, semicolon and comma escaped, a line break as \n;
// other control characters but the tab are dropped, as the format bans them.
std::string EscapeText(std::string_view text);
// The reverse; \n and \N give LF, an unknown escape stays as written.
std::string UnescapeText(std::string_view value);

// Appends a content line and its CR LF, folded so that no line exceeds 75
// octets and no fold splits a UTF-8 character or a backslash escape.
void AppendFolded(std::string& out, std::string_view contentLine);

// One content line: NAME;PARAM=value:value, names in upper case (the
// component names of BEGIN and END and the value types of VALUE too).
struct ContentLine {
    std::string name;
    std::vector<std::pair<std::string, std::string>> parameters; // values without their quotes
    std::string value;
    int lineNumber = 0; // of its first physical line, from 1

    // The value of a parameter, or the empty text.
    std::string Parameter(std::string_view parameterName) const;
};

struct ContentLines {
    std::vector<ContentLine> lines;
    std::string error; // for the user; empty when every line was read
};

// Unfolds (a line break, CR LF or LF, followed by a blank or tab joins the
// lines) and cuts into content lines; empty lines are passed over. Every
// line must be UTF-8 and of the form above.
ContentLines ReadContentLines(std::string_view bytes);
