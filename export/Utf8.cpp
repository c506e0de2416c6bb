#include "export/Utf8.h"

namespace Utf8 {

namespace {

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

} // namespace

char32_t Next(std::string_view text, std::size_t& position) {
    const auto lead = static_cast<unsigned char>(text[position]);
    if (lead < 0x80) {
        ++position;
        return lead;
    }
    std::size_t length = 0;
    char32_t value = 0;
    char32_t smallest = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2;
        value = lead & 0x1F;
        smallest = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        value = lead & 0x0F;
        smallest = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        value = lead & 0x07;
        smallest = 0x10000;
    } else {
        ++position;
        return kReplacement;
    }
    if (position + length > text.size()) {
        ++position;
        return kReplacement;
    }
    for (std::size_t i = 1; i < length; ++i) {
        const auto byte = static_cast<unsigned char>(text[position + i]);
        if (!IsContinuation(byte)) {
            ++position;
            return kReplacement;
        }
        value = (value << 6) | (byte & 0x3F);
    }
    if (value < smallest || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
        ++position;
        return kReplacement;
    }
    position += length;
    return value;
}

void Append(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

std::string Valid(std::string_view text) {
    std::size_t position = 0;
    // Most texts are valid: they are copied as they are.
    bool valid = true;
    while (valid && position < text.size())
        valid = Next(text, position) != kReplacement;
    if (valid)
        return std::string(text);
    std::string out;
    out.reserve(text.size() + 8);
    position = 0;
    while (position < text.size())
        Append(out, Next(text, position));
    return out;
}

std::size_t Length(std::string_view text) {
    std::size_t count = 0;
    for (std::size_t position = 0; position < text.size(); ++count)
        Next(text, position);
    return count;
}

std::string_view FirstCharacters(std::string_view text, std::size_t count) {
    std::size_t position = 0;
    for (std::size_t characters = 0; characters < count && position < text.size(); ++characters)
        Next(text, position);
    return text.substr(0, position);
}

} // namespace Utf8
