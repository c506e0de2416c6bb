#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The single-byte code page of the lexical cache files and of answers that are not valid UTF-8:
// conversions between its bytes and code points.
class Windows1252 {
public:
    // The code point of a byte. The five bytes the code page leaves undefined map to the control
    // characters of the same value.
    static char32_t CodePoint(std::uint8_t byte);
    // The byte of a code point; false when the code page has none.
    static bool Byte(char32_t codePoint, std::uint8_t& byte);
    // The UTF-8 text as bytes of the code page; false (out unspecified) when a character of the
    // text has no byte or the text is not valid UTF-8.
    static bool FromUtf8(std::string_view text, std::string& out);
};
