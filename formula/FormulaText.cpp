#include "formula/FormulaText.h"

#include "platform/questionnaire/TextEncoding.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace {

// The characters Windows-1252 places at 0x80 to 0x9F; 0 where it leaves the byte undefined, and
// there the control character of the same value stands for it.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

// The character's place in the order: its Windows-1252 code, else 256 plus its code point.
std::uint32_t OrderKey(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return c;
    for (std::size_t i = 0; i < kHighControls.size(); ++i)
        if (kHighControls[i] == c || (kHighControls[i] == 0 && c == 0x80 + i))
            return static_cast<std::uint32_t>(0x80 + i);
    return 0x100 + static_cast<std::uint32_t>(c);
}

bool IsAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

} // namespace

std::size_t FormulaText::CharacterCount(std::string_view text) {
    return CharactersBefore(text, text.size());
}

std::size_t FormulaText::CharactersBefore(std::string_view text, std::size_t bytes) {
    bytes = std::min(bytes, text.size());
    std::size_t count = 0;
    for (std::size_t position = 0; position < bytes; ++count)
        TextEncoding::DecodeUtf8(text, position);
    return count;
}

int FormulaText::Compare(std::string_view left, std::string_view right) {
    if (IsAscii(left) && IsAscii(right)) {
        const int order = left.compare(right);
        return order < 0 ? -1 : (order > 0 ? 1 : 0);
    }
    std::size_t l = 0;
    std::size_t r = 0;
    while (l < left.size() && r < right.size()) {
        const std::uint32_t a = OrderKey(TextEncoding::DecodeUtf8(left, l));
        const std::uint32_t b = OrderKey(TextEncoding::DecodeUtf8(right, r));
        if (a != b)
            return a < b ? -1 : 1;
    }
    if (l < left.size())
        return 1;
    return r < right.size() ? -1 : 0;
}
