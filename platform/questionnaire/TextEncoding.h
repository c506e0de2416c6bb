#pragma once

#include <string>
#include <string_view>

// Conversions between the core's UTF-8 text and the encodings found in archives. No conversion
// ever fails: an invalid sequence becomes U+FFFD (the replacement character), so text coming
// from a damaged file or a careless caller is kept readable and never crashes a reader.
class TextEncoding {
public:
    // Each ill-formed UTF-8 sequence (stray continuation byte, overlong form, encoded surrogate,
    // value above U+10FFFF, cut sequence) becomes one U+FFFD per maximal bad subpart.
    static std::u16string Utf8ToUtf16(std::string_view text);
    // Each unpaired surrogate becomes U+FFFD.
    static std::string Utf16ToUtf8(std::u16string_view text);
    // Windows-1252 (the single-byte text of older files) to UTF-8. The five bytes the code page
    // leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the control characters of the same
    // value, as Windows itself converts them, so nothing is lost.
    static std::string Windows1252ToUtf8(std::string_view text);
    // Appends the UTF-8 form of one code point.
    static void AppendUtf8(std::string& out, char32_t codePoint);
    // Decodes the code point that starts at position, moves position past it; U+FFFD (and a
    // move past the bad part) for an ill-formed sequence. Position must be below text.size().
    static char32_t DecodeUtf8(std::string_view text, std::size_t& position);

    static constexpr char32_t kReplacementCharacter = 0xFFFD;
};
