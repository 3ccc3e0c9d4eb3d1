#pragma once

#include <string>
#include <vector>

// Day texts keep their line breaks as CR LF. This removes every CR and then
// turns every LF into CR LF, so no lone CR or LF is left.
std::string NormalizeLineBreaks(const std::string& text);

// The lines of a day text, cut at every CR LF; CR and LF left inside a piece
// are dropped. The empty text has no lines; a trailing CR LF gives a last,
// empty line.
std::vector<std::string> SplitLines(const std::string& text);
