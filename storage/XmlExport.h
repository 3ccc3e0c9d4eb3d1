#pragma once

#include "core/Date.h"

#include <string>
#include <vector>

struct GridDay {
    Date date;
    std::string text; // as the day cell shows it, line breaks CR LF
};

// What the export of one month needs to know.
struct MonthExport {
    Date displayedDate;
    std::vector<GridDay> days; // the grid's days, row by row, left to right
    Date today;
    std::string xslTemplate; // the stylesheet reference, as the setting holds it
    bool sundayFirst = false;
    std::string encoding = "windows-1252"; // the name of the texts' code page
};

// The month as an XML document that names the stylesheet, lines ending in
// CR LF; the bytes are meant for a binary write. Each line of a day text
// becomes one <line> element (an empty text one empty element), cut to its
// first 1,000 bytes without splitting a character of the encoding. Bytes
// that are no character of the encoding are left out (in UTF-8 each becomes
// U+FFFD), so any texts give a well-formed document.
std::string ExportXml(const MonthExport& month);

// The name under which XML knows a Windows ANSI code page.
std::string EncodingNameForCodePage(unsigned codePage);

// Appends one byte of text as XML character data: markup characters as
// entities, a double quote too where the text stands in quotes.
void AppendEscapedByte(std::string& out, char c, bool inQuotes);
