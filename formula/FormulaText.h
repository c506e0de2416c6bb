#pragma once

#include <cstddef>
#include <string_view>

// Texts of the formula language are UTF-8; the language counts and orders them by characters, as
// the single-byte texts of the questionnaire's own code page were: a character is one code point
// (an ill-formed byte sequence counts as one character), and strings order character by
// character by their Windows-1252 code, the characters outside that code page after all of them,
// by code point.
class FormulaText {
public:
    // The number of characters of the text.
    static std::size_t CharacterCount(std::string_view text);
    // The number of characters in the text's first `bytes` bytes.
    static std::size_t CharactersBefore(std::string_view text, std::size_t bytes);
    // Below 0, 0 or above 0 as the first text orders before, equal to or after the second.
    static int Compare(std::string_view left, std::string_view right);
};
