#include "export/RtfText.h"

#include <charconv>

#include "export/Utf8.h"

namespace RtfText {

namespace {

void AppendUnicodeUnit(std::string& out, unsigned unit) {
    // RTF reads N as a signed 16-bit number: units from 0x8000 on are written negative.
    const int signedUnit = unit >= 0x8000 ? static_cast<int>(unit) - 0x10000 : static_cast<int>(unit);
    char digits[8];
    const auto end = std::to_chars(digits, digits + sizeof digits, signedUnit).ptr;
    out += "\\u";
    out.append(digits, end);
    out += '?';
}

void AppendCharacter(std::string& out, char32_t c) {
    if (c >= 0x10000) {
        const char32_t offset = c - 0x10000;
        AppendUnicodeUnit(out, 0xD800 + static_cast<unsigned>(offset >> 10));
        AppendUnicodeUnit(out, 0xDC00 + static_cast<unsigned>(offset & 0x3FF));
    } else {
        AppendUnicodeUnit(out, static_cast<unsigned>(c));
    }
}

} // namespace

void AppendEscaped(std::string& out, std::string_view text, std::string_view lineBreak) {
    out.reserve(out.size() + text.size());
    std::size_t position = 0;
    while (position < text.size()) {
        const char byte = text[position];
        if (static_cast<unsigned char>(byte) >= 0x80) {
            AppendCharacter(out, Utf8::Next(text, position));
            continue;
        }
        ++position;
        switch (byte) {
        case '\\':
        case '{':
        case '}':
            out += '\\';
            out += byte;
            break;
        case '\t':
            out += "\\tab ";
            break;
        case '\r':
            if (position < text.size() && text[position] == '\n')
                ++position;
            out += lineBreak;
            break;
        case '\n':
            out += lineBreak;
            break;
        default:
            if (static_cast<unsigned char>(byte) >= 0x20 && byte != 0x7F)
                out += byte;
            break;
        }
    }
}

} // namespace RtfText
