#pragma once

#include <functional>
#include <string>
#include <string_view>

// The program's texts are UTF-8. Calendar files of older versions and other
// programs hold the texts in the user's legacy ANSI code page instead.

// Converts a whole text from the legacy code page to UTF-8, every byte to a
// character, so that nothing is lost.
using LegacyToUtf8 = std::function<std::string(std::string_view)>;

// Windows-1252, the legacy code page of Western Windows. The five bytes it
// leaves undefined become the C1 controls of the same number, as Windows
// maps them.
std::string Windows1252ToUtf8(std::string_view legacy);

// The text of a calendar file: its bytes without a leading UTF-8 byte-order
// mark, as they are when they are valid UTF-8, and otherwise (a legacy file,
// also one that mixes in UTF-8) the whole of them converted by legacyToUtf8.
// Without a converter the bytes are the text as they are: where the program
// runs in the legacy code page itself, its texts are in that code page too.
std::string DecodeCalendarBytes(std::string bytes, const LegacyToUtf8& legacyToUtf8);
