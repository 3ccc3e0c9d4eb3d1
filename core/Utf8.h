#pragma once

#include <cstddef>
#include <string>

// The text cut to at most maxBytes, never inside a UTF-8 character.
std::string CutUtf8(const std::string& text, std::size_t maxBytes);
