#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Reading our UTF-8 texts one character at a time, for the writers whose formats need each
// character (RTF's "\uN?") or valid text only (the workbook's XML).
namespace Utf8 {

constexpr char32_t kReplacement = 0xFFFD;

// The character that starts at `position`, and moves `position` past it. A byte that does not
// start a valid sequence (a stray continuation byte, an overlong form, a surrogate, a value
// beyond U+10FFFF, a cut sequence) gives U+FFFD and moves one byte on.
char32_t Next(std::string_view text, std::size_t& position);

void Append(std::string& out, char32_t character);

// The text with every invalid byte replaced by U+FFFD.
std::string Valid(std::string_view text);

// The number of characters.
std::size_t Length(std::string_view text);

// The first `count` characters (a character is never cut in two).
std::string_view FirstCharacters(std::string_view text, std::size_t count);

} // namespace Utf8
