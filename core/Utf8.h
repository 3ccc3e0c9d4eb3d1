#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The length of the well-formed UTF-8 character at `at` (1 to 4 bytes), or 0
// when the bytes there are not one (a stray trail byte, a cut or overlong
// sequence, a surrogate, a value above U+10FFFF).
std::size_t Utf8CharacterLength(std::string_view text, std::size_t at);

bool IsUtf8(std::string_view text);

// The text with every byte that is not part of a UTF-8 character replaced by
// U+FFFD, for a format that must be UTF-8 whatever the diary holds.
std::string ToValidUtf8(std::string_view text);
