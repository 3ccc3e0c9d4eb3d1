#pragma once

// Character properties from the Unicode Character Database, for Find. Values
// that are no code point (above U+10FFFF) have none of them.

// The simple case folding: characters that differ only in case fold to the
// same one ("A" and "a", "Ж" and "ж", "Σ", "σ" and "ς"). Characters without
// a folding stay as they are.
char32_t FoldCase(char32_t c);

// Letters and decimal digits of any script: what a whole word is made of.
bool IsLetterOrDigit(char32_t c);
